#include "gui/overview/MonthOverviewW.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <tuple>

#include "core/export/CsvText.h"
#include "core/export/MonthExport.h"
#include "core/month/MonthLoader.h"
#include "gui/controls/Pbutton.h"
#include "gui/overview/OverviewModel.h"
#include "gui/overview/YearTotalW.h"
#include "gui/print/PrintDailyW.h"
#include "gui/shared/ChildActivation.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Images.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/SchemeBox.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

// How often the window looks whether the files changed: a stat of four files.
constexpr int kFollowMilliseconds = 500;
// A table of many columns may use the screen's width, as the viewer does.
constexpr int kMainWidth = 2000;

}  // namespace

TMonthOverview::TMonthOverview(const OverviewContext& context, PayScheme scheme, int year,
                               int month, QWidget* parent)
    : QWidget(parent), context_(context) {
    overview_.scheme = scheme;
    overview_.year = year;
    overview_.month = month;
    FormCreate();
    Refresh();
}

TMonthOverview::~TMonthOverview() = default;

void TMonthOverview::FormCreate() {
    Name(this, "MonthOverview");
    setWindowTitle("月次一覧");
    setProperty("HelpContext", 16);

    auto* bar = new QWidget(this);
    Name(bar, "Panel1");
    bar->setFixedHeight(44);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(2, 2, 2, 2);
    barLayout->setSpacing(2);
    const auto button = [&](TPanelButton*& b, const char* name, const char* caption,
                            const char* glyph, const char* hint) {
        b = MakePanelButton(bar, QString::fromLatin1(name), QString::fromUtf8(caption),
                            Glyph(QString::fromLatin1(glyph)), QString::fromUtf8(hint));
        b->setFixedSize(56, 40);
        b->setFocusPolicy(Qt::TabFocus);
        barLayout->addWidget(b);
    };
    button(OpenPB, "OpenPB", "開く", "Input", "この従業員の月を入力画面で開く");
    button(PrintPB, "PrintPB", "印刷", "Print", "選んだ月（選ばなければ記録済みの全員）を印刷");
    button(PdfPB, "PdfPB", "PDF保存", "Save", "選んだ月の報告書を一つのPDFファイルに保存");
    button(YearPB, "YearPB", "年間集計", "Calc", "この従業員の一年の集計と上限の目安");
    button(CsvPB, "CsvPB", "CSV保存", "Save", "一覧をCSVファイルに保存");
    barLayout->addStretch(1);

    // The month shown and how many are stored, on a line of their own so the
    // count stays in view in a narrow main window.
    auto* choice = new QWidget(this);
    Name(choice, "Panel2");
    auto* choiceLayout = new QHBoxLayout(choice);
    choiceLayout->setContentsMargins(4, 2, 4, 2);
    SchemeCB = new QComboBox(choice);
    Name(SchemeCB, "SchemeCB");
    SchemeCB->addItems({"日給制", "時給制"});
    SchemeCB->setCurrentIndex(IndexOfScheme(overview_.scheme));
    NameAfter(SchemeCB, {"給与体系"});
    YearEdit = new QSpinBox(choice);
    Name(YearEdit, "YearEdit");
    YearEdit->setRange(1900, 2999);
    YearEdit->setSuffix(" 年");
    YearEdit->setValue(overview_.year);
    NameAfter(YearEdit, {"年"});
    MonthCB = new QComboBox(choice);
    Name(MonthCB, "MonthCB");
    for (int m = 1; m <= 12; ++m)
        MonthCB->addItem(QString::number(m) + " 月");
    MonthCB->setCurrentIndex(std::clamp(overview_.month, 1, 12) - 1);
    NameAfter(MonthCB, {"月"});
    for (QWidget* w : std::initializer_list<QWidget*>{SchemeCB, YearEdit, MonthCB})
        choiceLayout->addWidget(w);
    choiceLayout->addSpacing(12);
    CountLabel = new QLabel(choice);
    Name(CountLabel, "CountLabel");
    QFont countFont = CountLabel->font();
    countFont.setBold(true);
    CountLabel->setFont(countFont);
    choiceLayout->addWidget(CountLabel);
    choiceLayout->addStretch(1);

    OverviewGrid = new QTableView(this);
    Name(OverviewGrid, "OverviewGrid");
    model_ = new OverviewModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(OverviewModel::SortRole);
    OverviewGrid->setModel(sorted_);
    OverviewGrid->setSortingEnabled(true);
    OverviewGrid->sortByColumn(0, Qt::AscendingOrder);
    OverviewGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    OverviewGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    OverviewGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    OverviewGrid->verticalHeader()->hide();
    OverviewGrid->verticalHeader()->setDefaultSectionSize(OverviewGrid->fontMetrics().height() + 6);
    OverviewGrid->setWordWrap(false);
    OverviewGrid->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the first rows: measuring 999 rows at every refresh
    // would cost more than reading them.
    OverviewGrid->horizontalHeader()->setResizeContentsPrecision(64);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(choice);
    layout->addWidget(OverviewGrid, 1);

    connect(OpenPB, &TPanelButton::clicked, this, &TMonthOverview::OpenPBClick);
    connect(PrintPB, &TPanelButton::clicked, this, &TMonthOverview::PrintPBClick);
    connect(PdfPB, &TPanelButton::clicked, this, &TMonthOverview::PdfPBClick);
    connect(YearPB, &TPanelButton::clicked, this, &TMonthOverview::YearPBClick);
    connect(CsvPB, &TPanelButton::clicked, this, &TMonthOverview::CsvPBClick);
    // Enter and a double-click both activate a row.
    connect(OverviewGrid, &QAbstractItemView::activated, this, &TMonthOverview::OpenPBClick);
    connect(OverviewGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TMonthOverview::SelectionChange);
    connect(SchemeCB, &QComboBox::currentIndexChanged, this, &TMonthOverview::Refresh);
    connect(MonthCB, &QComboBox::currentIndexChanged, this, &TMonthOverview::Refresh);
    connect(YearEdit, &QSpinBox::valueChanged, this, &TMonthOverview::Refresh);

    connect(new ChildActivation(this), &ChildActivation::activated, this,
            [this] { emit mainWidthWanted(kMainWidth); });

    FollowTimer = new QTimer(this);
    FollowTimer->setObjectName("FollowTimer");
    FollowTimer->setInterval(kFollowMilliseconds);
    connect(FollowTimer, &QTimer::timeout, this, [this] {
        if (FilesChanged())
            Refresh();
    });
    FollowTimer->start();
}

std::vector<std::optional<FileStamp>> TMonthOverview::Stamps() const {
    const DataFiles& files = context_.files;
    std::vector<std::optional<FileStamp>> stamps;
    for (const std::string& path : {files.WorkFile(YearEdit->value()), files.NameFile,
                                    files.DailyWagesFile, files.TimeWagesFile}) {
        try {
            stamps.push_back(files.fs->Stamp(path));
        } catch (const FileError&) {
            stamps.push_back(std::nullopt);  // the next reading tells what is wrong
        }
    }
    return stamps;
}

bool TMonthOverview::FilesChanged() {
    return Stamps() != stamps_ || !(context_.settings.Calc_Set == readWith_);
}

void TMonthOverview::Refresh() {
    const std::vector<std::string> chosen = ChosenIds();
    const QString current = CurrentId();
    overview_.scheme = SchemeOfIndex(SchemeCB->currentIndex());
    overview_.year = YearEdit->value();
    overview_.month = MonthCB->currentIndex() + 1;
    // Stamps first: a change while reading is seen at the next look.
    stamps_ = Stamps();
    readWith_ = context_.settings.Calc_Set;
    MonthOverview read;
    const bool ok = Guarded(this, [&] {
        read = CollectMonthOverview(context_.files, readWith_, overview_.scheme, overview_.year,
                                    overview_.month);
    });
    if (!ok) {
        read.scheme = overview_.scheme;
        read.year = overview_.year;
        read.month = overview_.month;
    }
    overview_ = std::move(read);

    std::vector<std::vector<OverviewCell>> rows;
    std::vector<std::string> ids;
    for (const OverviewRow& row : overview_.rows) {
        rows.push_back(OverviewCells(row, overview_.scheme));
        ids.push_back(row.id);
    }
    const std::vector<std::string> captions = OverviewCaptions(overview_.scheme);
    model_->SetTable(captions, std::move(rows), std::move(ids),
                     static_cast<int>(captions.size()) - 1);
    CountLabel->setText(ok ? Q(StoredCountText(overview_)) : QString("読めません"));
    setWindowTitle("月次一覧 " + QString::number(overview_.year) + "年" +
                   QString::number(overview_.month) + "月 " + SchemeCB->currentText());

    // The rows chosen before stay chosen, the current one current.
    const std::set<std::string> keep(chosen.begin(), chosen.end());
    QItemSelection selection;
    for (int r = 0; r < sorted_->rowCount(); ++r) {
        const QModelIndex index = sorted_->index(r, 0);
        const QString id = index.data(OverviewModel::IdRole).toString();
        if (keep.count(S(id)) != 0)
            selection.select(index, sorted_->index(r, sorted_->columnCount() - 1));
        if (id == current)
            OverviewGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    OverviewGrid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    // Sized for each month chosen; the refreshes that follow the files keep
    // the widths the operator may have changed.
    const std::tuple shown{overview_.scheme, overview_.year, overview_.month};
    if (sizedFor_ != shown) {
        OverviewGrid->resizeColumnsToContents();
        sizedFor_ = shown;
    }
    SelectionChange();
}

std::vector<std::string> TMonthOverview::ChosenIds() const {
    std::vector<std::string> ids;
    for (const QModelIndex& index : OverviewGrid->selectionModel()->selectedRows())
        ids.push_back(S(index.data(OverviewModel::IdRole).toString()));
    std::sort(ids.begin(), ids.end());
    return ids;
}

QString TMonthOverview::CurrentId() const {
    const QModelIndex index = OverviewGrid->currentIndex();
    return index.isValid() ? index.data(OverviewModel::IdRole).toString() : QString();
}

void TMonthOverview::SelectionChange() {
    const bool row = !CurrentId().isEmpty();
    OpenPB->setEnabled(row);
    YearPB->setEnabled(row);
}

void TMonthOverview::OpenPBClick() {
    const QString id = CurrentId();
    if (!id.isEmpty())
        emit monthWanted(overview_.scheme, id, overview_.year, overview_.month);
}

std::vector<ReportPage> TMonthOverview::ReportPages(QStringList& left) const {
    std::vector<std::string> ids = ChosenIds();
    const bool chosen = !ids.empty();
    if (!chosen)
        for (const OverviewRow& row : overview_.rows)
            if (row.state != OverviewState::NotStored)
                ids.push_back(row.id);
    std::vector<ReportPage> pages;
    for (const std::string& id : ids) {
        const auto row = std::find_if(overview_.rows.begin(), overview_.rows.end(),
                                      [&](const OverviewRow& r) { return r.id == id; });
        const std::string who = id + " " + (row != overview_.rows.end() ? row->name : "");
        try {
            const OpenedMonth opened =
                OpenMonth(context_.files, readWith_, id, overview_.year, overview_.month, true);
            if (opened.status != OpenMonthStatus::Opened) {
                left << Q(who + ": " + RefusalText(opened, context_.files));
                continue;
            }
            const MonthInput input = ExportInput(opened);
            const ReportSubject subject{opened.id, opened.name, opened.year, opened.month,
                                        context_.settings.ProgramFolder};
            pages.push_back({MakeMonthReport(input, CalcMonth(input)), subject});
        } catch (const RecordOutOfRange& e) {
            left << Q(who + ": " + e.what());
        }
    }
    return pages;
}

namespace {

// Tells the operator which months have no report, before anything is printed.
bool TellLeftOut(QWidget* parent, const QStringList& left, std::size_t pages) {
    if (pages == 0) {
        Messages::Information(parent, left.isEmpty()
                                          ? QString("印刷する記録済みの月がありません。")
                                          : "印刷できる月がありません。\n\n" + left.join("\n"));
        return false;
    }
    if (!left.isEmpty())
        Messages::Information(parent, "次の月は報告書に入りません。\n\n" + left.join("\n"));
    return true;
}

}  // namespace

void TMonthOverview::PrintPBClick() {
    QStringList left;
    std::vector<ReportPage> pages;
    if (!Guarded(this, [&] { pages = ReportPages(left); }) ||
        !TellLeftOut(this, left, pages.size()))
        return;
    TPrintD preview(pages, this, {&context_.settings, &context_.fs});
    preview.exec();
}

void TMonthOverview::PdfPBClick() {
    QStringList left;
    std::vector<ReportPage> pages;
    if (!Guarded(this, [&] { pages = ReportPages(left); }) ||
        !TellLeftOut(this, left, pages.size()))
        return;
    const QString path = context_.chooseFile(
        this, DocumentsPath(TPrintD::BatchPdfFileName(overview_.year, overview_.month)),
        "PDF ファイル (*.pdf)");
    if (path.isEmpty())
        return;
    TPrintD reports(pages, this);
    if (reports.SavePdf(path, context_.target))
        Messages::Information(this, QString("%1 人分の報告書を保存しました。\n").arg(pages.size()) +
                                        QDir::toNativeSeparators(path));
}

void TMonthOverview::YearPBClick() {
    const QString id = CurrentId();
    if (id.isEmpty())
        return;
    auto* year = new TYearTotal(context_, S(id), overview_.year, this);
    year->setAttribute(Qt::WA_DeleteOnClose);
    year->show();
}

void TMonthOverview::CsvPBClick() {
    const QString name = QString("月次一覧_%1_%2_%3.csv")
                             .arg(overview_.year)
                             .arg(overview_.month, 2, 10, QLatin1Char('0'))
                             .arg(SchemeCB->currentText());
    SaveChosenFile(this, context_, name, "CSV ファイル (*.csv)",
                   CsvFileBytes(OverviewCsv(overview_), false));
}

}  // namespace pb
