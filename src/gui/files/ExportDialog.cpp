#include "gui/files/ExportDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/common/Routines.h"
#include "core/export/CsvText.h"
#include "core/export/MonthExport.h"
#include "core/export/SummaryExport.h"
#include "core/month/MonthLoader.h"
#include "core/store/EmployeeFiles.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/SchemeBox.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

// Lines of a list shown in a message box before the rest is only counted.
constexpr int kListedLines = 10;

QString Listed(const std::vector<std::string>& lines) {
    QStringList shown;
    for (std::size_t i = 0; i < lines.size() && i < kListedLines; ++i)
        shown << Q(lines[i]);
    if (lines.size() > kListedLines)
        shown << QStringLiteral("ほか %1 件").arg(lines.size() - kListedLines);
    return shown.join(QLatin1Char('\n'));
}

QString TwoDigits(int number) {
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

}  // namespace

TExportD::TExportD(const ExportContext& context, const ExportStart& start, QWidget* parent)
    : QDialog(parent), context_(context), start_(start) {
    Name(this, QStringLiteral("TExportD"));
    setWindowTitle(QStringLiteral("エクスポート"));
    setProperty("HelpContext", 13);

    // What is written.
    auto* what = new QGroupBox(QStringLiteral("書き出す内容"), this);
    Name(what, QStringLiteral("KindGroup"));
    kinds_ = new QButtonGroup(this);
    thisMonthRB_ = new QRadioButton(QStringLiteral("入力画面の月(&M)"), what);
    Name(thisMonthRB_, QStringLiteral("ThisMonthRB"));
    thisMonthLabel_ = new QLabel(what);
    Name(thisMonthLabel_, QStringLiteral("ThisMonthLabel"));
    employeeYearRB_ = new QRadioButton(QStringLiteral("従業員の1年分(&Y)"), what);
    Name(employeeYearRB_, QStringLiteral("EmployeeYearRB"));
    schemeMonthRB_ = new QRadioButton(QStringLiteral("給与体系の1か月分・全従業員(&S)"), what);
    Name(schemeMonthRB_, QStringLiteral("SchemeMonthRB"));
    kinds_->addButton(thisMonthRB_, static_cast<int>(Kind::ThisMonth));
    kinds_->addButton(employeeYearRB_, static_cast<int>(Kind::EmployeeYear));
    kinds_->addButton(schemeMonthRB_, static_cast<int>(Kind::SchemeMonth));

    employeeCB_ = new QComboBox(what);
    Name(employeeCB_, QStringLiteral("EmployeeCB"));
    schemeCB_ = new QComboBox(what);
    Name(schemeCB_, QStringLiteral("SchemeCB"));
    schemeCB_->addItems({QStringLiteral("日給制"), QStringLiteral("時給制")});
    schemeCB_->setCurrentIndex(IndexOfScheme(start_.scheme));
    yearCB_ = new QComboBox(what);
    Name(yearCB_, QStringLiteral("YearCB"));
    QStringList years = start_.years;
    if (start_.year > 0 && !years.contains(QString::number(start_.year)))
        years << QString::number(start_.year);
    years.sort();
    yearCB_->addItems(years);
    yearCB_->setCurrentText(QString::number(start_.year));
    monthCB_ = new QComboBox(what);
    Name(monthCB_, QStringLiteral("MonthCB"));
    for (int month = 1; month <= 12; ++month)
        monthCB_->addItem(QStringLiteral("%1月").arg(month, 2, 10, QLatin1Char(' ')));
    monthCB_->setCurrentIndex(std::clamp(start_.month, 1, 12) - 1);
    // Every employee of both schemes, by ID.
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
    employeeCB_->setCurrentIndex(std::max(0, employeeCB_->findData(Q(start_.id))));

    auto* fields = new QGridLayout(what);
    fields->addWidget(thisMonthRB_, 0, 0);
    fields->addWidget(thisMonthLabel_, 0, 1, 1, 3);
    fields->addWidget(employeeYearRB_, 1, 0);
    fields->addWidget(schemeMonthRB_, 2, 0);
    auto label = [&](const QString& text, QWidget* buddy, int row, int column) {
        auto* caption = new QLabel(text, what);
        caption->setBuddy(buddy);
        fields->addWidget(caption, row, column, Qt::AlignRight);
        fields->addWidget(buddy, row, column + 1);
        NameAfter(buddy, {text.left(text.indexOf(QLatin1Char('(')))});
    };
    label(QStringLiteral("従業員(&E)"), employeeCB_, 1, 1);
    label(QStringLiteral("給与体系(&P)"), schemeCB_, 2, 1);
    label(QStringLiteral("年(&N)"), yearCB_, 3, 1);
    label(QStringLiteral("月(&T)"), monthCB_, 4, 1);
    fields->setColumnStretch(2, 1);

    // How it is written.
    auto* format = new QGroupBox(QStringLiteral("形式"), this);
    Name(format, QStringLiteral("FormatGroup"));
    csvRB_ = new QRadioButton(QStringLiteral("CSV"), format);
    Name(csvRB_, QStringLiteral("CsvRB"));
    jsonRB_ = new QRadioButton(QStringLiteral("JSON"), format);
    Name(jsonRB_, QStringLiteral("JsonRB"));
    traceCheck_ = new QCheckBox(QStringLiteral("計算の説明を含める"), format);
    Name(traceCheck_, QStringLiteral("TraceCheck"));
    csvRB_->setChecked(true);
    auto* formats = new QVBoxLayout(format);
    formats->addWidget(csvRB_);
    formats->addWidget(jsonRB_);
    formats->addWidget(traceCheck_);

    auto* encoding = new QGroupBox(QStringLiteral("CSV の文字コード"), this);
    Name(encoding, QStringLiteral("EncodingGroup"));
    utf8RB_ = new QRadioButton(QStringLiteral("UTF-8（BOM 付き）"), encoding);
    Name(utf8RB_, QStringLiteral("Utf8RB"));
    sjisRB_ = new QRadioButton(QStringLiteral("シフト JIS"), encoding);
    Name(sjisRB_, QStringLiteral("SjisRB"));
    utf8RB_->setChecked(true);
    auto* encodings = new QVBoxLayout(encoding);
    encodings->addWidget(utf8RB_);
    encodings->addWidget(sjisRB_);
    encodings->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    exportPB_ = buttons->addButton(QStringLiteral("書き出し(&W)..."), QDialogButtonBox::AcceptRole);
    Name(exportPB_, QStringLiteral("ExportPB"));
    cancelPB_ = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    Name(cancelPB_, QStringLiteral("CancelPB"));
    exportPB_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (ExportPBClick())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(what);
    auto* row = new QHBoxLayout;
    row->addWidget(format, 1);
    row->addWidget(encoding, 1);
    column->addLayout(row);
    column->addWidget(buttons);

    // The month of the entry window in use, when there is one.
    const bool entry = !start_.entryId.empty();
    thisMonthRB_->setEnabled(entry);
    thisMonthLabel_->setText(entry ? start_.entryTitle
                                   : QStringLiteral("（入力画面が開いていません）"));
    thisMonthLabel_->setEnabled(entry);
    for (QAbstractButton* button : kinds_->buttons())
        connect(button, &QAbstractButton::toggled, this, &TExportD::KindChange);
    connect(jsonRB_, &QAbstractButton::toggled, this, &TExportD::KindChange);
    SetKind(entry ? Kind::ThisMonth : start_.id.empty() ? Kind::SchemeMonth : Kind::EmployeeYear);
    KindChange();
}

void TExportD::SetKind(Kind kind) {
    kinds_->button(static_cast<int>(kind))->setChecked(true);
}

TExportD::Kind TExportD::CurrentKind() const {
    return static_cast<Kind>(kinds_->checkedId());
}

// Each kind uses its own fields; JSON is the format of one month only.
void TExportD::KindChange() {
    const Kind kind = CurrentKind();
    employeeCB_->setEnabled(kind == Kind::EmployeeYear);
    schemeCB_->setEnabled(kind == Kind::SchemeMonth);
    yearCB_->setEnabled(kind != Kind::ThisMonth);
    monthCB_->setEnabled(kind == Kind::SchemeMonth);
    jsonRB_->setEnabled(kind == Kind::ThisMonth);
    if (kind != Kind::ThisMonth && jsonRB_->isChecked())
        csvRB_->setChecked(true);
    const bool json = jsonRB_->isChecked();
    traceCheck_->setEnabled(json);
    utf8RB_->setEnabled(!json);
    sjisRB_->setEnabled(!json);
}

bool TExportD::Collect(std::string& bytes, QString& name, QStringList& notes) {
    const bool shiftJis = sjisRB_->isChecked();
    const int year = yearCB_->currentText().toInt();
    switch (CurrentKind()) {
        case Kind::ThisMonth: {
            if (start_.entryModified &&
                !Messages::Confirm(this, QStringLiteral("入力画面の変更はまだ記録されていません。\n"
                                                        "記録されている内容を書き出しますか？")))
                return false;
            const OpenedMonth month = OpenMonth(context_.files, context_.rules, start_.entryId,
                                                start_.entryYear, start_.entryMonth, true);
            if (month.status != OpenMonthStatus::Opened) {
                Messages::Warning(this, Q(RefusalText(month, context_.files)));
                return false;
            }
            MonthFileFormat format;
            format.json = jsonRB_->isChecked();
            format.trace = format.json && traceCheck_->isChecked();
            format.shiftJis = shiftJis;
            bytes = MonthFileBytes(month, format);
            name = Q(start_.entryId) +
                   QStringLiteral("_%1-%2").arg(start_.entryYear).arg(TwoDigits(start_.entryMonth));
            name += format.json ? QStringLiteral(".json") : QStringLiteral(".csv");
            return true;
        }
        case Kind::EmployeeYear: {
            const std::string id = S(employeeCB_->currentData().toString());
            if (id.empty()) {
                Messages::Information(this, QStringLiteral("従業員が登録されていません。"));
                return false;
            }
            const SummaryTable table =
                CollectEmployeeYear(context_.files, context_.rules, id, year);
            if (table.rows.empty()) {
                Messages::Information(this,
                                      QStringLiteral("%1 の %2 年のデータは記録されていません。")
                                          .arg(employeeCB_->currentText())
                                          .arg(year));
                return false;
            }
            bytes = CsvFileBytes(SummaryCsv(table), shiftJis);
            name = Q(id) + QStringLiteral("_%1.csv").arg(year);
            notes << QStringLiteral("%1 か月分").arg(table.rows.size());
            if (!table.missing.empty())
                notes << Listed(table.missing);
            return true;
        }
        case Kind::SchemeMonth: {
            const PayScheme scheme = SchemeOfIndex(schemeCB_->currentIndex());
            const int month = monthCB_->currentIndex() + 1;
            const SummaryTable table =
                CollectSchemeMonth(context_.files, context_.rules, scheme, year, month);
            if (table.rows.empty()) {
                Messages::Information(
                    this, QStringLiteral("%1 年 %2 月分の%3のデータは記録されていません。")
                              .arg(year)
                              .arg(month)
                              .arg(schemeCB_->currentText()));
                return false;
            }
            bytes = CsvFileBytes(SummaryCsv(table), shiftJis);
            name = schemeCB_->currentText() +
                   QStringLiteral("_%1-%2.csv").arg(year).arg(TwoDigits(month));
            notes << QStringLiteral("%1 人分").arg(table.rows.size());
            // Someone left out of a payroll table is what the operator must hear about.
            if (!table.missing.empty())
                notes << QStringLiteral("書き出されていない従業員:\n") + Listed(table.missing);
            return true;
        }
    }
    return false;
}

// The data folder's own files are never written over by an export.
bool TExportD::IsProgramFile(const QString& path) const {
    const QFileInfo file(path);
    if (QFileInfo(file.absolutePath()).canonicalFilePath() !=
        QFileInfo(Q(context_.files.Folder)).canonicalFilePath())
        return false;
    return IsProgramFileName(S(file.fileName()));
}

bool TExportD::ExportPBClick() {
    std::string bytes;
    QString name;
    QStringList notes;
    bool collected = false;
    if (!Guarded(this, [&] { collected = Collect(bytes, name, notes); }) || !collected)
        return false;

    QString folder = context_.folder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString filter = name.endsWith(QStringLiteral(".json"))
                               ? QStringLiteral("JSON ファイル (*.json)")
                               : QStringLiteral("CSV ファイル (*.csv)");
    const QString path = context_.chooseFile(this, QDir(folder).filePath(name), filter);
    if (path.isEmpty())
        return false;
    if (IsProgramFile(path)) {
        Messages::Warning(this, QStringLiteral("%1 はこのプログラムのデータのファイルです。\n"
                                               "別の名前か別のフォルダを選んで下さい。")
                                    .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (!Guarded(this,
                 [&] { context_.target.Replace(S(path), Bytes(bytes.begin(), bytes.end())); }))
        return false;
    written_ = path;
    context_.folder = QFileInfo(path).absolutePath();
    notes.prepend(QStringLiteral("書き出しました。\n%1").arg(QDir::toNativeSeparators(path)));
    Messages::Information(this, notes.join(QStringLiteral("\n\n")));
    return true;
}

QString TExportD::ChooseFile(QWidget* parent, const QString& suggested, const QString& filter) {
    QFileDialog dialog(parent, QStringLiteral("エクスポート先"), suggested, filter);
    dialog.setObjectName(QStringLiteral("ExportFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace pb
