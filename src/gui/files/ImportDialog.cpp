#include "gui/files/ImportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/store/EmployeeFiles.h"
#include "core/store/Settings.h"
#include "core/timecard/PayPeriod.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

// Rows of the file shown while the layout is chosen.
constexpr int kShownRows = 5;

// The layout's fields in the order of the spin boxes, with their captions.
struct ColumnField {
    std::int32_t ClockLayout::*field;
    const char* name;
    const char* caption;
    bool needed;
};
constexpr ColumnField kColumnFields[] = {
    {&ClockLayout::IdColumn, "IdColumnSE", "従業員番号(&1)", true},
    {&ClockLayout::DateColumn, "DateColumnSE", "日付(&2)", true},
    {&ClockLayout::ClockInColumn, "ClockInColumnSE", "出社(&3)", false},
    {&ClockLayout::ClockOutColumn, "ClockOutColumnSE", "退社(&4)", false},
    {&ClockLayout::BreakStartColumn, "BreakStartColumnSE", "休憩開始(&5)", false},
    {&ClockLayout::BreakEndColumn, "BreakEndColumnSE", "休憩終了(&6)", false},
};

QString EncodingText(CsvEncoding encoding) {
    switch (encoding) {
        case CsvEncoding::Utf8:
            return QStringLiteral("UTF-8");
        case CsvEncoding::Utf8WithBom:
            return QStringLiteral("UTF-8（BOM 付き）");
        case CsvEncoding::ShiftJis:
            return QStringLiteral("シフト JIS");
    }
    return {};
}

// The typed times of a day in the order of the month's pattern.
QString Cells(const ImportMonth& month, const DayCells& cells) {
    QStringList shown;
    for (const int column : month.columns)
        shown << (cells[static_cast<std::size_t>(column)].empty()
                      ? QStringLiteral("--:--")
                      : Q(cells[static_cast<std::size_t>(column)]));
    return shown.join(QLatin1Char(' '));
}

}  // namespace

TImportD::TImportD(const ImportContext& context, const ImportStart& start, QWidget* parent)
    : QDialog(parent), context_(context) {
    Name(this, QStringLiteral("TImportD"));
    setWindowTitle(QStringLiteral("勤務データの取り込み"));
    setProperty("HelpContext", 15);

    // The file.
    auto* fileLabel = new QLabel(QStringLiteral("ファイル(&F)"), this);
    fileEdit_ = new QLineEdit(this);
    Name(fileEdit_, QStringLiteral("FileEdit"));
    fileEdit_->setReadOnly(true);
    fileLabel->setBuddy(fileEdit_);
    NameAfter(fileEdit_, {QStringLiteral("ファイル")});
    browsePB_ = new QPushButton(QStringLiteral("参照(&B)..."), this);
    Name(browsePB_, QStringLiteral("BrowsePB"));
    connect(browsePB_, &QPushButton::clicked, this, &TImportD::BrowsePBClick);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(fileEdit_, 1);
    fileRow->addWidget(browsePB_);

    // Which column holds what, over the file's first rows.
    auto* layoutGroup =
        new QGroupBox(QStringLiteral("列の割り当て（左から 1, 2, 3 …、0 はなし）"), this);
    Name(layoutGroup, QStringLiteral("LayoutGroup"));
    auto* fields = new QGridLayout;
    int index = 0;
    for (const ColumnField& field : kColumnFields) {
        auto* spin = new QSpinBox(layoutGroup);
        Name(spin, QString::fromLatin1(field.name));
        spin->setRange(field.needed ? 1 : 0, 99);
        if (!field.needed)
            spin->setSpecialValueText(QStringLiteral("なし"));
        const QString caption = QString::fromUtf8(field.caption);
        auto* label = new QLabel(caption, layoutGroup);
        label->setBuddy(spin);
        NameAfter(spin, {caption.left(caption.indexOf(QLatin1Char('(')))});
        fields->addWidget(label, index / 3, (index % 3) * 2, Qt::AlignRight);
        fields->addWidget(spin, index / 3, (index % 3) * 2 + 1);
        connect(spin, &QSpinBox::valueChanged, this, [this] { ClearPlan(); });
        columns_.push_back(spin);
        ++index;
    }
    encodingLabel_ = new QLabel(layoutGroup);
    Name(encodingLabel_, QStringLiteral("EncodingLabel"));
    rowsGrid_ = new QTableWidget(layoutGroup);
    Name(rowsGrid_, QStringLiteral("RowsGrid"));
    rowsGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rowsGrid_->setSelectionMode(QAbstractItemView::NoSelection);
    rowsGrid_->setMinimumHeight(rowsGrid_->fontMetrics().height() * (kShownRows + 3));
    auto* layoutColumn = new QVBoxLayout(layoutGroup);
    layoutColumn->addLayout(fields);
    layoutColumn->addWidget(encodingLabel_);
    layoutColumn->addWidget(rowsGrid_);

    // A month CSV names no employee: the operator does.
    monthCsvGroup_ =
        new QGroupBox(QStringLiteral("月の CSV（従業員番号の列がないファイル）"), this);
    Name(monthCsvGroup_, QStringLiteral("MonthCsvGroup"));
    employeeCB_ = new QComboBox(monthCsvGroup_);
    Name(employeeCB_, QStringLiteral("EmployeeCB"));
    yearSE_ = new QSpinBox(monthCsvGroup_);
    Name(yearSE_, QStringLiteral("YearSE"));
    yearSE_->setRange(1000, 9999);
    yearSE_->setValue(start.year > 0 ? start.year : 2000);
    monthSE_ = new QSpinBox(monthCsvGroup_);
    Name(monthSE_, QStringLiteral("MonthSE"));
    monthSE_->setRange(1, 12);
    monthSE_->setValue(std::clamp(start.month, 1, 12));
    Guarded(this, [&] {
        std::vector<std::string> ids;
        ListEmployeeIDs(context_.files, ids, PayScheme::Daily);
        ListEmployeeIDs(context_.files, ids, PayScheme::Hourly);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        for (const std::string& id : ids)
            employeeCB_->addItem(Q(id + " " + FindEmployeeName(context_.files, id, kBothSchemes)),
                                 Q(id));
    });
    employeeCB_->setCurrentIndex(std::max(0, employeeCB_->findData(Q(start.id))));
    auto* monthRow = new QHBoxLayout(monthCsvGroup_);
    auto monthField = [&](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, monthCsvGroup_);
        label->setBuddy(field);
        NameAfter(field, {text.left(text.indexOf(QLatin1Char('(')))});
        monthRow->addWidget(label);
        monthRow->addWidget(field);
    };
    monthField(QStringLiteral("従業員(&E)"), employeeCB_);
    monthField(QStringLiteral("年のない日付の給与月(&Y)"), yearSE_);
    monthField(QStringLiteral("月(&M)"), monthSE_);
    monthRow->addStretch(1);
    monthCsvGroup_->setEnabled(false);
    for (QWidget* field : {static_cast<QWidget*>(yearSE_), static_cast<QWidget*>(monthSE_)})
        connect(qobject_cast<QSpinBox*>(field), &QSpinBox::valueChanged, this,
                [this] { ClearPlan(); });
    connect(employeeCB_, &QComboBox::currentIndexChanged, this, [this] { ClearPlan(); });

    previewPB_ = new QPushButton(QStringLiteral("プレビュー(&P)"), this);
    Name(previewPB_, QStringLiteral("PreviewPB"));
    connect(previewPB_, &QPushButton::clicked, this, &TImportD::PreviewPBClick);

    // What the import would do.
    auto* planGroup = new QGroupBox(QStringLiteral("取り込む内容"), this);
    Name(planGroup, QStringLiteral("PlanGroup"));
    planTree_ = new QTreeWidget(planGroup);
    Name(planTree_, QStringLiteral("PlanTree"));
    planTree_->setHeaderLabels({QStringLiteral("従業員・月 / 日付"), QStringLiteral("記録済み"),
                                QStringLiteral("取り込む時刻")});
    planTree_->setRootIsDecorated(true);
    planTree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* refusedLabel = new QLabel(QStringLiteral("取り込めない行(&L)"), planGroup);
    refusedList_ = new QListWidget(planGroup);
    Name(refusedList_, QStringLiteral("RefusedList"));
    refusedLabel->setBuddy(refusedList_);
    NameAfter(refusedList_, {QStringLiteral("取り込めない行")});
    summaryLabel_ = new QLabel(planGroup);
    Name(summaryLabel_, QStringLiteral("SummaryLabel"));
    summaryLabel_->setWordWrap(true);
    keepRB_ = new QRadioButton(QStringLiteral("違う日は記録済みの時刻を残す(&K)"), planGroup);
    Name(keepRB_, QStringLiteral("KeepRB"));
    replaceRB_ =
        new QRadioButton(QStringLiteral("違う日は取り込む時刻に置き換える(&R)"), planGroup);
    Name(replaceRB_, QStringLiteral("ReplaceRB"));
    keepRB_->setChecked(true);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(keepRB_);
    choiceRow->addWidget(replaceRB_);
    choiceRow->addStretch(1);
    auto* planColumn = new QVBoxLayout(planGroup);
    planColumn->addWidget(planTree_, 3);
    planColumn->addWidget(refusedLabel);
    planColumn->addWidget(refusedList_, 1);
    planColumn->addWidget(summaryLabel_);
    planColumn->addLayout(choiceRow);

    auto* buttons = new QDialogButtonBox(this);
    importPB_ = buttons->addButton(QStringLiteral("取り込み(&I)"), QDialogButtonBox::AcceptRole);
    Name(importPB_, QStringLiteral("ImportPB"));
    closePB_ = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    Name(closePB_, QStringLiteral("ClosePB"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (ImportPBClick())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addLayout(fileRow);
    column->addWidget(layoutGroup, 2);
    column->addWidget(monthCsvGroup_);
    auto* previewRow = new QHBoxLayout;
    previewRow->addStretch(1);
    previewRow->addWidget(previewPB_);
    column->addLayout(previewRow);
    column->addWidget(planGroup, 3);
    column->addWidget(buttons);

    ShowLayout(context_.settings.Import);
    ClearPlan();
    resize(760, 720);
}

ClockLayout TImportD::Layout() const {
    ClockLayout layout;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        layout.*kColumnFields[i].field = columns_[i]->value();
    return layout;
}

void TImportD::ShowLayout(const ClockLayout& layout) {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        columns_[i]->setValue(layout.*kColumnFields[i].field);
}

void TImportD::SetChoice(ImportChoice choice) {
    (choice == ImportChoice::Replace ? replaceRB_ : keepRB_)->setChecked(true);
}

ImportChoice TImportD::Choice() const {
    return replaceRB_->isChecked() ? ImportChoice::Replace : ImportChoice::Keep;
}

QString TImportD::ChooseFile(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("取り込むファイル"), folder,
                       QStringLiteral("CSV ファイル (*.csv *.txt);;すべてのファイル (*)"));
    dialog.setObjectName(QStringLiteral("ImportFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void TImportD::BrowsePBClick() {
    QString folder = path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString path = context_.chooseFile(this, folder);
    if (!path.isEmpty() && LoadFile(path))
        PreviewPBClick();
}

bool TImportD::LoadFile(const QString& path) {
    std::optional<CsvTable> table;
    bool refused = false;
    const bool read = Guarded(this, [&] {
        try {
            table = SplitCsv(ReadClockCsvBytes(context_.source, S(path)));
        } catch (const ClockCsvError& error) {
            refused = true;
            Messages::Warning(this, QStringLiteral("%1 は取り込めません。\n%2")
                                        .arg(QDir::toNativeSeparators(path), Q(error.what())));
        }
    });
    if (!read || refused)
        return false;
    path_ = path;
    table_ = std::move(table);
    fileEdit_->setText(QDir::toNativeSeparators(path));
    ShowRows();
    ClearPlan();
    return true;
}

void TImportD::ShowRows() {
    rowsGrid_->clear();
    if (!table_) {
        rowsGrid_->setRowCount(0);
        rowsGrid_->setColumnCount(0);
        encodingLabel_->setText(QStringLiteral("ファイルを選んで下さい。"));
        return;
    }
    const int rows = std::min<int>(kShownRows, static_cast<int>(table_->rows.size()));
    int width = 0;
    for (int row = 0; row < rows; ++row)
        width = std::max<int>(width, static_cast<int>(table_->rows[row].fields.size()));
    rowsGrid_->setRowCount(rows);
    rowsGrid_->setColumnCount(width);
    QStringList headings;
    for (int column = 1; column <= width; ++column)
        headings << QString::number(column);
    rowsGrid_->setHorizontalHeaderLabels(headings);
    QStringList lines;
    for (int row = 0; row < rows; ++row) {
        const CsvRow& csv = table_->rows[static_cast<std::size_t>(row)];
        lines << QStringLiteral("%1行目").arg(csv.line);
        for (std::size_t column = 0; column < csv.fields.size(); ++column)
            rowsGrid_->setItem(row, static_cast<int>(column),
                               new QTableWidgetItem(Q(csv.fields[column])));
    }
    rowsGrid_->setVerticalHeaderLabels(lines);
    rowsGrid_->resizeColumnsToContents();
    encodingLabel_->setText(QStringLiteral("文字コード: %1　全 %2 行（最初の %3 行を表示）")
                                .arg(EncodingText(table_->encoding))
                                .arg(table_->rows.size())
                                .arg(rows));
}

void TImportD::ClearPlan() {
    plan_.reset();
    planTree_->clear();
    refusedList_->clear();
    summaryLabel_->setText(table_ ? QStringLiteral("列を選んで「プレビュー」を押して下さい。")
                                  : QStringLiteral("取り込むファイルを選んで下さい。"));
    previewPB_->setEnabled(table_.has_value());
    importPB_->setEnabled(false);
}

bool TImportD::PreviewPBClick() {
    if (!table_)
        return false;
    const ClockLayout layout = Layout();
    std::optional<ImportPlan> plan;
    bool monthCsv = false;
    bool refused = false;
    const bool planned = Guarded(this, [&] {
        try {
            const ClockFile file = ReadClockTable(*table_, layout);
            monthCsv = file.monthCsv;
            ImportOptions options;
            if (monthCsv) {
                options.id = S(employeeCB_->currentData().toString());
                options.payYear = yearSE_->value();
                options.payMonth = monthSE_->value();
            }
            plan = PlanImport(context_.files, context_.settings.Calc_Set, file, options);
        } catch (const ClockCsvError& error) {
            refused = true;
            Messages::Warning(this, QStringLiteral("%1 は取り込めません。\n%2")
                                        .arg(QDir::toNativeSeparators(path_), Q(error.what())));
        }
    });
    {
        const QSignalBlocker block(employeeCB_);
        monthCsvGroup_->setEnabled(monthCsv);
    }
    if (!planned || refused) {
        ClearPlan();
        return false;
    }
    // The layout that read the file is the one the next import starts with.
    if (!monthCsv && !(layout == context_.settings.Import)) {
        context_.settings.Import = layout;
        Guarded(this, [&] { WriteSettings(context_.settingsFs, context_.settings); });
    }
    plan_ = std::move(plan);
    ShowPlan();
    return true;
}

void TImportD::ShowPlan() {
    planTree_->clear();
    refusedList_->clear();
    int filled = 0;
    int differing = 0;
    for (const ImportMonth& month : plan_->months) {
        filled += month.FilledDays();
        differing += month.DifferingDays();
        QString text = QStringLiteral("%1 %2　%3年%4月分")
                           .arg(Q(month.id), Q(month.name))
                           .arg(month.year)
                           .arg(month.month);
        if (!month.stored)
            text += QStringLiteral("（新規）");
        text += QStringLiteral("：%1日記入、%2日違い")
                    .arg(month.FilledDays())
                    .arg(month.DifferingDays());
        if (month.unchanged > 0)
            text += QStringLiteral("、%1日変わらず").arg(month.unchanged);
        auto* item = new QTreeWidgetItem(planTree_, {text});
        item->setFirstColumnSpanned(true);
        for (const ImportDay& day : month.days) {
            if (!day.differs)
                continue;
            new QTreeWidgetItem(item, {Q(DayLabel(day.date)), Cells(month, day.stored),
                                       Cells(month, day.incoming)});
        }
        item->setExpanded(true);
    }
    for (const RefusedRow& row : plan_->refused)
        refusedList_->addItem(QStringLiteral("%1行目: %2").arg(row.line).arg(Q(row.reason)));
    QString summary = QStringLiteral("%1 か月分、%2 日記入、%3 日は記録済みの時刻と違います。")
                          .arg(plan_->months.size())
                          .arg(filled)
                          .arg(differing);
    summary += plan_->refused.empty()
                   ? QStringLiteral("取り込めない行はありません。")
                   : QStringLiteral("取り込めない行が %1 行あります。").arg(plan_->refused.size());
    summaryLabel_->setText(summary);
    importPB_->setEnabled(!plan_->months.empty());
}

bool TImportD::ImportPBClick() {
    if (!plan_)
        return false;
    const ImportChoice choice = Choice();
    if (!plan_->Writes(choice)) {
        Messages::Information(this, QStringLiteral("記録する内容はありません。"));
        return false;
    }
    if (!plan_->refused.empty() &&
        !Messages::Confirm(this,
                           QStringLiteral("取り込めない行が %1 行あります。\n"
                                          "それらの行を除いて取り込みますか？")
                               .arg(plan_->refused.size()),
                           Messages::No))
        return false;
    if (context_.closeWindows && !context_.closeWindows(plan_->months))
        return false;

    ImportReport report;
    bool outdated = false;
    const bool written = Guarded(this, [&] {
        try {
            report = WriteImport(context_.files, *plan_, choice);
        } catch (const ImportOutdated& error) {
            outdated = true;
            Messages::Warning(
                this, Q(error.what()) + QStringLiteral("\n何も記録していません。取り込む内容を"
                                                       "読み直しますので、確かめて下さい。"));
        }
    });
    if (outdated) {
        PreviewPBClick();
        return false;
    }
    if (!written)
        return false;
    report_ = Q(report.Text());
    if (context_.written)
        context_.written(report);
    Messages::Information(this, QStringLiteral("取り込みました。\n\n") + report_);
    ClearPlan();
    return true;
}

}  // namespace pb
