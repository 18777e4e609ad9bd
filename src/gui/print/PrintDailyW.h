#pragma once
// The monthly report: a preview of one employee's month as it will stand on
// paper (the day table, a summary block, a totals line and a title) that
// prints itself on JIS B5 portrait.

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/model/PayScheme.h"

class QComboBox;
class QLabel;
class QPrinter;
class QPainter;

namespace pb {

class FileSystem;
class TPanelButton;
class PrintGrid;
struct Settings;
struct MonthInput;
struct MonthResult;

// What the report shows, as the entry window holds it.
struct MonthReport {
    // A row by grid column: [0] the day label or row caption, then columns 1 … 8.
    using Row = std::array<std::string, 9>;

    pb::PayScheme Scheme = pb::PayScheme::Daily;
    bool Holiday = false;   // daily wage: weekday and holiday figures apart
    std::vector<Row> Days;  // one per day of the pay period
    // Per day, beside `Days`: the marks of its date. The national holiday is a
    // mark for the reader only; the figures know the weekly holidays alone.
    struct DayMark {
        bool WeeklyHoliday = false;   // daily wage: paid at the holiday rates
        std::string NationalHoliday;  // its name, "" for none
    };
    std::vector<DayMark> Marks;
    // The summary grid's rows, 時間区分 first (4 rows, or 7 with `Holiday`).
    std::vector<Row> Summary;
    std::int32_t WorkDays = 0;
    std::int32_t HolidayWorkDays = 0;
    std::int32_t TotalOverMinutes = 0;
    std::int32_t TotalOverPay = 0;
};

// Whose month it is.
struct ReportSubject {
    std::string ID;
    std::string Name;
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    // Where the PDF goes when the system has no printer; empty for the
    // program's own folder.
    std::string ProgramFolder;
};

// Where the preview remembers the printer last printed on: the settings record
// and the file system its file is written through. Without them the preview
// offers the system's default printer and remembers nothing.
struct PrinterMemory {
    Settings* settings = nullptr;
    FileSystem* fs = nullptr;
};

// One report of a print job of several months.
struct ReportPage {
    MonthReport report;
    ReportSubject subject;
};

// The operator stopped a print job of several reports before it was done.
class TPrintCancelled : public std::runtime_error {
  public:
    TPrintCancelled() : std::runtime_error("the print job was cancelled") {}
};

// The report of a calculated month: the day rows and summary rows as the entry
// window shows them. Run the calculation after invalid cells were emptied, so
// the report holds what the month record keeps.
MonthReport MakeMonthReport(const MonthInput& input, const MonthResult& result);

class TPrintD : public QDialog {
    Q_OBJECT

  public:
    TPrintD(const MonthReport& report, const ReportSubject& subject, QWidget* parent = nullptr,
            PrinterMemory memory = {});
    // The entry window's 印刷: the month as last calculated.
    TPrintD(const MonthInput& input, const MonthResult& result, const ReportSubject& subject,
            QWidget* parent = nullptr);
    // Several months in one print job, each report on a page of its own in
    // the order given; the preview pages through them (前へ, 次へ). All of one
    // pay scheme.
    TPrintD(const std::vector<ReportPage>& pages, QWidget* parent = nullptr,
            PrinterMemory memory = {});
    ~TPrintD() override;

    // The title line: name, " 殿分　", year, " 年　", month as two digits,
    // " 月分 勤務時間".
    static QString ReportTitle(const ReportSubject& subject);
    // The file the report goes to when the system has no printer.
    static QString PdfFileName(const ReportSubject& subject);
    // The file of several employees' reports of one month: "勤務時間_2000_02.pdf".
    static QString BatchPdfFileName(std::int32_t year, std::int32_t month);

    PrintGrid* PrintGrid1() const { return grid_; }
    // The printer choice beside 開始; null when the system has no printer.
    QComboBox* PrinterCB() const { return printerCB_; }

    // Prints every report on `printer` set to JIS B5 portrait, one job;
    // returns the pages. Throws TPrintError when the printer refuses, and
    // TPrintCancelled when the operator stops a job of several reports in its
    // progress box.
    int PrintOn(QPrinter& printer);

    // The reports as one PDF file at `path`, written whole through `target`
    // (an existing file is replaced only by a finished one); the operator is
    // told of a failure. False when nothing was written (failed or cancelled).
    bool SavePdf(const QString& path, FileSystem& target);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    int CurrentPage() const { return current_; }  // 0-based
    // Shows report `index` (0-based) in the preview.
    void ShowPage(int index);

  public slots:
    void StartClicked();   // 開始
    void CancelClicked();  // 中止
    void PrevPBClick();    // 前へ
    void NextPBClick();    // 次へ

  private:
    void FormCreate();
    void BuildGrid();
    void PrintGrid1DrawCell(QObject* Sender, QPainter* Canvas, int ACol, int ARow,
                            const QRect& Rect);
    void PrintGrid1ReportStart(QObject* Sender, int& Page, int Width, int& Top);
    void PrintGrid1Header(QObject* Sender, int& Page, int Width, int& Top);
    void PrintGrid1PrintCell(QObject* Sender, QPainter* WCanvas, const QRect& Rect, int ACol,
                             int ARow, const QString& Text);
    // The date cell of a weekly or national holiday, drawn in red.
    bool IsHolidayDate(int ACol, int ARow) const;
    void AddPrinterChoice(QWidget* bar);
    void AddPaging(QWidget* bar);
    // Renders every report into `printer`, a progress box beside a job of
    // several; throws as PrintOn.
    int RenderPages(QPrinter& printer);
    // Prints on the chosen printer, or into a PDF when the system has none, and
    // tells the operator what went wrong or where the file is; false when
    // nothing was printed.
    bool PrintReport();
    bool PrintOnPrinter(const QString& name);
    bool PrintIntoPdf();
    void RememberPrinter(const QString& name);

    std::vector<ReportPage> pages_;
    int current_ = 0;
    MonthReport report_;
    ReportSubject subject_;
    PrinterMemory memory_;
    QString title_;
    TPanelButton* start_ = nullptr;
    TPanelButton* cancel_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QComboBox* printerCB_ = nullptr;
    PrintGrid* grid_ = nullptr;
    TPanelButton* prev_ = nullptr;
    TPanelButton* next_ = nullptr;
    QLabel* pageLabel_ = nullptr;
};

}  // namespace pb
