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
    ThisMonthRB = new QRadioButton(QStringLiteral("入力画面の月(&M)"), what);
    Name(ThisMonthRB, QStringLiteral("ThisMonthRB"));
    ThisMonthLabel = new QLabel(what);
    Name(ThisMonthLabel, QStringLiteral("ThisMonthLabel"));
    EmployeeYearRB = new QRadioButton(QStringLiteral("従業員の1年分(&Y)"), what);
    Name(EmployeeYearRB, QStringLiteral("EmployeeYearRB"));
    SchemeMonthRB = new QRadioButton(QStringLiteral("給与体系の1か月分・全従業員(&S)"), what);
    Name(SchemeMonthRB, QStringLiteral("SchemeMonthRB"));
    kinds_->addButton(ThisMonthRB, static_cast<int>(Kind::ThisMonth));
    kinds_->addButton(EmployeeYearRB, static_cast<int>(Kind::EmployeeYear));
    kinds_->addButton(SchemeMonthRB, static_cast<int>(Kind::SchemeMonth));

    EmployeeCB = new QComboBox(what);
    Name(EmployeeCB, QStringLiteral("EmployeeCB"));
    SchemeCB = new QComboBox(what);
    Name(SchemeCB, QStringLiteral("SchemeCB"));
    SchemeCB->addItems({QStringLiteral("日給制"), QStringLiteral("時給制")});
    SchemeCB->setCurrentIndex(start_.scheme == 2 ? 1 : 0);
    YearCB = new QComboBox(what);
    Name(YearCB, QStringLiteral("YearCB"));
    QStringList years = start_.years;
    if (start_.year > 0 && !years.contains(QString::number(start_.year)))
        years << QString::number(start_.year);
    years.sort();
    YearCB->addItems(years);
    YearCB->setCurrentText(QString::number(start_.year));
    MonthCB = new QComboBox(what);
    Name(MonthCB, QStringLiteral("MonthCB"));
    for (int month = 1; month <= 12; ++month)
        MonthCB->addItem(QStringLiteral("%1月").arg(month, 2, 10, QLatin1Char(' ')));
    MonthCB->setCurrentIndex(std::clamp(start_.month, 1, 12) - 1);
    // Every employee of both schemes, by ID.
    Guarded(this, [&] {
        std::vector<std::string> ids;
        ListEmployeeIDs(context_.files, ids, 1);
        ListEmployeeIDs(context_.files, ids, 2);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        for (const std::string& id : ids)
            EmployeeCB->addItem(Q(id + " " + FindEmployeeName(context_.files, id, 0)), Q(id));
    });
    EmployeeCB->setCurrentIndex(std::max(0, EmployeeCB->findData(Q(start_.id))));

    auto* fields = new QGridLayout(what);
    fields->addWidget(ThisMonthRB, 0, 0);
    fields->addWidget(ThisMonthLabel, 0, 1, 1, 3);
    fields->addWidget(EmployeeYearRB, 1, 0);
    fields->addWidget(SchemeMonthRB, 2, 0);
    auto label = [&](const QString& text, QWidget* buddy, int row, int column) {
        auto* caption = new QLabel(text, what);
        caption->setBuddy(buddy);
        fields->addWidget(caption, row, column, Qt::AlignRight);
        fields->addWidget(buddy, row, column + 1);
        NameAfter(buddy, {text.left(text.indexOf(QLatin1Char('(')))});
    };
    label(QStringLiteral("従業員(&E)"), EmployeeCB, 1, 1);
    label(QStringLiteral("給与体系(&P)"), SchemeCB, 2, 1);
    label(QStringLiteral("年(&N)"), YearCB, 3, 1);
    label(QStringLiteral("月(&T)"), MonthCB, 4, 1);
    fields->setColumnStretch(2, 1);

    // How it is written.
    auto* format = new QGroupBox(QStringLiteral("形式"), this);
    Name(format, QStringLiteral("FormatGroup"));
    CsvRB = new QRadioButton(QStringLiteral("CSV"), format);
    Name(CsvRB, QStringLiteral("CsvRB"));
    JsonRB = new QRadioButton(QStringLiteral("JSON"), format);
    Name(JsonRB, QStringLiteral("JsonRB"));
    TraceCheck = new QCheckBox(QStringLiteral("計算の説明を含める"), format);
    Name(TraceCheck, QStringLiteral("TraceCheck"));
    CsvRB->setChecked(true);
    auto* formats = new QVBoxLayout(format);
    formats->addWidget(CsvRB);
    formats->addWidget(JsonRB);
    formats->addWidget(TraceCheck);

    auto* encoding = new QGroupBox(QStringLiteral("CSV の文字コード"), this);
    Name(encoding, QStringLiteral("EncodingGroup"));
    Utf8RB = new QRadioButton(QStringLiteral("UTF-8（BOM 付き）"), encoding);
    Name(Utf8RB, QStringLiteral("Utf8RB"));
    SjisRB = new QRadioButton(QStringLiteral("シフト JIS"), encoding);
    Name(SjisRB, QStringLiteral("SjisRB"));
    Utf8RB->setChecked(true);
    auto* encodings = new QVBoxLayout(encoding);
    encodings->addWidget(Utf8RB);
    encodings->addWidget(SjisRB);
    encodings->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    ExportPB = buttons->addButton(QStringLiteral("書き出し(&W)..."), QDialogButtonBox::AcceptRole);
    Name(ExportPB, QStringLiteral("ExportPB"));
    CancelPB = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    Name(CancelPB, QStringLiteral("CancelPB"));
    ExportPB->setDefault(true);
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
    ThisMonthRB->setEnabled(entry);
    ThisMonthLabel->setText(entry ? start_.entryTitle
                                  : QStringLiteral("（入力画面が開いていません）"));
    ThisMonthLabel->setEnabled(entry);
    for (QAbstractButton* button : kinds_->buttons())
        connect(button, &QAbstractButton::toggled, this, &TExportD::KindChange);
    connect(JsonRB, &QAbstractButton::toggled, this, &TExportD::KindChange);
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
    EmployeeCB->setEnabled(kind == Kind::EmployeeYear);
    SchemeCB->setEnabled(kind == Kind::SchemeMonth);
    YearCB->setEnabled(kind != Kind::ThisMonth);
    MonthCB->setEnabled(kind == Kind::SchemeMonth);
    JsonRB->setEnabled(kind == Kind::ThisMonth);
    if (kind != Kind::ThisMonth && JsonRB->isChecked())
        CsvRB->setChecked(true);
    const bool json = JsonRB->isChecked();
    TraceCheck->setEnabled(json);
    Utf8RB->setEnabled(!json);
    SjisRB->setEnabled(!json);
}

bool TExportD::Collect(std::string& bytes, QString& name, QStringList& notes) {
    const bool shiftJis = SjisRB->isChecked();
    const int year = YearCB->currentText().toInt();
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
            format.json = JsonRB->isChecked();
            format.trace = format.json && TraceCheck->isChecked();
            format.shiftJis = shiftJis;
            bytes = MonthFileBytes(month, format);
            name = Q(start_.entryId) +
                   QStringLiteral("_%1-%2").arg(start_.entryYear).arg(TwoDigits(start_.entryMonth));
            name += format.json ? QStringLiteral(".json") : QStringLiteral(".csv");
            return true;
        }
        case Kind::EmployeeYear: {
            const std::string id = S(EmployeeCB->currentData().toString());
            if (id.empty()) {
                Messages::Information(this, QStringLiteral("従業員が登録されていません。"));
                return false;
            }
            const SummaryTable table =
                CollectEmployeeYear(context_.files, context_.rules, id, year);
            if (table.rows.empty()) {
                Messages::Information(this,
                                      QStringLiteral("%1 の %2 年のデータは記録されていません。")
                                          .arg(EmployeeCB->currentText())
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
            const int scheme = SchemeCB->currentIndex() + 1;
            const int month = MonthCB->currentIndex() + 1;
            const SummaryTable table =
                CollectSchemeMonth(context_.files, context_.rules, scheme, year, month);
            if (table.rows.empty()) {
                Messages::Information(
                    this, QStringLiteral("%1 年 %2 月分の%3のデータは記録されていません。")
                              .arg(year)
                              .arg(month)
                              .arg(SchemeCB->currentText()));
                return false;
            }
            bytes = CsvFileBytes(SummaryCsv(table), shiftJis);
            name = SchemeCB->currentText() +
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
    const QString name = file.fileName();
    for (const char* fixed : {"Name.dat", "DailyWages.dat", "TimeWages.dat", "NextCell.dat",
                              "PBOOK2.INI", "Punchbook.jnl", "Punchbook.lock"})
        if (name.compare(QString::fromLatin1(fixed), Qt::CaseInsensitive) == 0)
            return true;
    return name.endsWith(QStringLiteral("_fv2.pbk"), Qt::CaseInsensitive);
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
