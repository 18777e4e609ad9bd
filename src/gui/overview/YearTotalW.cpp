#include "gui/overview/YearTotalW.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include "core/export/CsvText.h"
#include "gui/controls/Pbutton.h"
#include "gui/overview/OverviewModel.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Images.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/Text.h"

namespace pb {

TYearTotal::TYearTotal(const OverviewContext& context, const std::string& id, int year,
                       QWidget* parent)
    : QDialog(parent), context_(context), id_(id) {
    year_.year = year;
    FormCreate();
    Refresh();
}

void TYearTotal::FormCreate() {
    Name(this, "YearTotal");
    setWindowTitle("年間集計");
    setProperty("HelpContext", 17);
    resize(900, 600);

    auto* bar = new QWidget(this);
    Name(bar, "Panel1");
    bar->setFixedHeight(44);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(2, 2, 2, 2);
    CsvPB = MakePanelButton(bar, "CsvPB", "CSV保存", Glyph("Save"), "表をCSVファイルに保存");
    ClosePB = MakePanelButton(bar, "ClosePB", "閉じる", Glyph("Exit"), "年間集計を閉じる");
    for (TPanelButton* b : {CsvPB, ClosePB}) {
        b->setFixedSize(52, 40);
        b->setFocusPolicy(Qt::TabFocus);
        barLayout->addWidget(b);
    }
    NameLabel = new QLabel(bar);
    Name(NameLabel, "NameLabel");
    barLayout->addSpacing(12);
    barLayout->addWidget(NameLabel);
    YearEdit = new QSpinBox(bar);
    Name(YearEdit, "YearEdit");
    YearEdit->setRange(1900, 2999);
    YearEdit->setSuffix(" 年");
    YearEdit->setValue(year_.year);
    NameAfter(YearEdit, {"年"});
    barLayout->addWidget(YearEdit);
    barLayout->addStretch(1);

    YearGrid = new QTableView(this);
    Name(YearGrid, "YearGrid");
    model_ = new OverviewModel(this);
    YearGrid->setModel(model_);
    YearGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    YearGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    YearGrid->verticalHeader()->hide();
    YearGrid->verticalHeader()->setDefaultSectionSize(YearGrid->fontMetrics().height() + 6);
    YearGrid->setWordWrap(false);
    YearGrid->horizontalHeader()->setStretchLastSection(true);

    auto* hintCaption =
        new QLabel("上限の目安（36協定の上限規制。法的な助言ではありません）", this);
    Name(hintCaption, "HintCaption");
    HintList = new QListWidget(this);
    Name(HintList, "HintList");
    HintList->setMaximumHeight(110);
    NameAfter(HintList, {"上限の目安"});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(bar);
    layout->addWidget(YearGrid, 1);
    layout->addWidget(hintCaption);
    layout->addWidget(HintList);

    connect(CsvPB, &TPanelButton::clicked, this, &TYearTotal::CsvPBClick);
    connect(ClosePB, &TPanelButton::clicked, this, &QDialog::close);
    connect(YearEdit, &QSpinBox::valueChanged, this, [this](int value) {
        if (value != year_.year)
            Refresh();
    });
}

void TYearTotal::Refresh() {
    const bool read = Guarded(this, [&] {
        year_ = CollectEmployeeYearMonths(context_.files, context_.settings.Calc_Set, id_,
                                          YearEdit->value());
    });
    if (!read)
        year_.months.clear();  // no figures of another year under this one
    year_.year = YearEdit->value();
    NameLabel->setText(Q(id_ + " " + year_.name));
    std::vector<std::vector<OverviewCell>> rows;
    std::vector<std::string> ids;
    for (std::size_t m = 0; m < year_.months.size(); ++m) {
        rows.push_back(YearCells(year_, year_.months[m], static_cast<int>(m) + 1));
        ids.push_back(id_);
    }
    if (!year_.months.empty()) {
        rows.push_back(YearCells(year_, YearTotalRow(year_), 0));
        ids.push_back(id_);
    }
    const std::vector<std::string> captions = YearCaptions(year_.scheme);
    model_->SetTable(captions, std::move(rows), std::move(ids),
                     static_cast<int>(captions.size()) - 1);
    YearGrid->resizeColumnsToContents();
    HintList->clear();
    if (!year_.months.empty())
        for (const std::string& line :
             YearHintLines(year_, MakeYearHints(YearOvertimeMinutes(year_))))
            HintList->addItem(Q(line));
}

QStringList TYearTotal::HintLines() const {
    QStringList lines;
    for (int i = 0; i < HintList->count(); ++i)
        lines << HintList->item(i)->text();
    return lines;
}

void TYearTotal::CsvPBClick() {
    const QString name = Q(id_) + "_" + QString::number(year_.year) + "_年間集計.csv";
    SaveChosenFile(this, context_, name, "CSV ファイル (*.csv)",
                   CsvFileBytes(YearCsv(year_), false));
}

}  // namespace pb
