#include "gui/print/PrintDailyW.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <memory>

#include "core/common/Holidays.h"
#include "core/common/Routines.h"
#include "core/store/Settings.h"
#include "core/timecard/MonthCalc.h"
#include "core/timecard/SummaryGrid.h"
#include "core/timecard/WorkPattern.h"
#include "gui/controls/Pbutton.h"
#include "gui/print/PrintGrid.h"
#include "gui/print/PrintQueue.h"
#include "gui/shared/Images.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

constexpr int kRowHeight = 24;
constexpr int kDialogHeight = 560;
constexpr int kBarHeight = 44;
constexpr int kTitleX = 100;
// The printer choice stands between 中止 and the title.
constexpr int kChoiceX = 92;
constexpr int kChoiceWidth = 170;
// Cell texts on paper: the grid's face at a size that puts a 31-day month with
// its summary on one B5 page.
constexpr int kPaperPoints = 9;
constexpr int kTitlePoints = 16;

// A name as part of a file name: no folder separators, no characters that
// other systems refuse, no leading dot.
QString FileNamePart(QString text) {
    for (QChar& ch : text)
        if (ch.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(ch))
            ch = u'_';
    text = text.trimmed();
    while (text.startsWith(u'.'))
        text[0] = u'_';
    return text;
}

}  // namespace

MonthReport MakeMonthReport(const MonthInput& input, const MonthResult& result) {
    MonthReport report;
    report.Scheme = result.payScheme;
    report.Holiday = report.Scheme == PayScheme::Daily && input.daily.Holiday != 0;
    report.Days.reserve(result.days.size());
    report.Marks.reserve(result.days.size());
    for (const DayRow& day : result.days) {
        report.Days.push_back(day.cells);
        report.Marks.push_back({day.holiday, std::string(NationalHolidayName(
                                                 day.date.year, day.date.month, day.date.day))});
    }
    // No current row: the report shows none of the rows that depend on it.
    report.Summary = SummaryRows(input, result, 0);
    report.WorkDays = result.totals.WorkDays;
    report.HolidayWorkDays = result.totals.HolidayWorkDays;
    report.TotalOverMinutes = result.totals.TotalOverMinutes;
    report.TotalOverPay = result.totals.TotalOverPay;
    return report;
}

TPrintD::TPrintD(const MonthInput& input, const MonthResult& result, const ReportSubject& subject,
                 QWidget* parent)
    : TPrintD(MakeMonthReport(input, result), subject, parent) {}

TPrintD::TPrintD(const MonthReport& report, const ReportSubject& subject, QWidget* parent,
                 PrinterMemory memory)
    : TPrintD(std::vector<ReportPage>{{report, subject}}, parent, memory) {}

TPrintD::TPrintD(const std::vector<ReportPage>& pages, QWidget* parent, PrinterMemory memory)
    : QDialog(parent), pages_(pages), memory_(memory) {
    if (!pages_.empty()) {
        report_ = pages_.front().report;
        subject_ = pages_.front().subject;
    }
    FormCreate();
}

TPrintD::~TPrintD() = default;

QString TPrintD::ReportTitle(const ReportSubject& subject) {
    return Q(subject.Name) + " 殿分　" + QString::number(subject.Year) + " 年　" +
           Q(PadNumber(subject.Month, 2)) + " 月分 勤務時間";
}

QString TPrintD::BatchPdfFileName(std::int32_t year, std::int32_t month) {
    return "勤務時間_" + QString::number(year) + "_" + Q(PadNumber(month, 2)) + ".pdf";
}

QString TPrintD::PdfFileName(const ReportSubject& subject) {
    QStringList parts = {FileNamePart(Q(subject.ID))};
    const QString name = FileNamePart(Q(subject.Name));
    if (!name.isEmpty())
        parts << name;
    parts << QString::number(subject.Year) + "_" + Q(PadNumber(subject.Month, 2));
    return parts.join(u'_') + ".pdf";
}

void TPrintD::FormCreate() {
    Name(this, "PrintD");
    setWindowTitle("印刷プレビュー");
    setProperty("HelpContext", 9);
    QFont formFont("ＭＳ Ｐゴシック");
    formFont.setPixelSize(12);
    setFont(formFont);
    const int width = report_.Scheme == PayScheme::Hourly ? 723 : 660;
    setFixedWidth(width);  // only the height can be changed
    resize(width, kDialogHeight);
    title_ = ReportTitle(subject_);

    auto* bar = new QWidget(this);
    Name(bar, "Panel1");
    bar->setFixedHeight(kBarHeight);
    auto button = [bar](const char* name, const char* caption, const char* hint, const char* glyph,
                        int x) {
        TPanelButton* b =
            MakePanelButton(bar, QString::fromLatin1(name), QString::fromUtf8(caption),
                            Glyph(QString::fromLatin1(glyph)), QString::fromUtf8(hint));
        b->setGeometry(x, 2, 40, 40);
        return b;
    };
    start_ = button("PanelButton1", "開始", "印刷開始", "Start", 2);
    cancel_ = button("PanelButton2", "中止", "印刷中止", "Exit", 44);
    titleLabel_ = new QLabel(title_, bar);
    Name(titleLabel_, "Label1");
    QFont titleFont("ＭＳ Ｐゴシック");
    titleFont.setPixelSize(15);
    titleLabel_->setFont(titleFont);
    titleLabel_->setGeometry(kTitleX, 0, width - kTitleX - 4, kBarHeight);
    AddPrinterChoice(bar);
    AddPaging(bar);
    connect(start_, &TPanelButton::clicked, this, &TPrintD::StartClicked);
    connect(cancel_, &TPanelButton::clicked, this, &TPrintD::CancelClicked);
    // From the keyboard: the preview opens on 開始, so Enter or Space prints;
    // Tab reaches 中止, the printer and the report, Esc closes.
    for (TPanelButton* b : {start_, cancel_})
        b->setFocusPolicy(Qt::TabFocus);
    start_->setFocus();

    grid_ = new PrintGrid(this);
    Name(grid_, "PrintGrid1");
    grid_->setProperty("HelpContext", 9);
    QFont gridFont("ＭＳ 明朝");
    gridFont.setPixelSize(15);
    grid_->setFont(gridFont);
    grid_->SetDefaultRowHeight(kRowHeight);
    grid_->SetLineHeight(kRowHeight);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    // Nothing to move between: Tab leaves the report for the buttons.
    grid_->setTabKeyNavigation(false);
    grid_->OnDrawCell = [this](QObject* sender, QPainter* canvas, int col, int row,
                               const QRect& rect, TGridDrawState) {
        PrintGrid1DrawCell(sender, canvas, col, row, rect);
    };
    grid_->OnReportStart = [this](QObject* sender, int& page, int w, int& top) {
        PrintGrid1ReportStart(sender, page, w, top);
    };
    grid_->OnHeader = [this](QObject* sender, int& page, int w, int& top) {
        PrintGrid1Header(sender, page, w, top);
    };
    grid_->OnPrintCell = [this](QObject* sender, QPainter* canvas, const QRect& rect, int col,
                                int row, const QString& text) {
        PrintGrid1PrintCell(sender, canvas, rect, col, row, text);
    };
    BuildGrid();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(grid_, 1);
}

void TPrintD::BuildGrid() {
    const bool hourly = report_.Scheme == PayScheme::Hourly;
    const bool split = !hourly && report_.Holiday;
    const int cols = hourly ? 9 : 8;
    const int days = static_cast<int>(report_.Days.size());
    const int rows = days + 1 + (split ? 7 : 5);
    grid_->SetColCount(cols);
    grid_->SetRowCount(rows);
    grid_->SetDefaultRowHeight(kRowHeight);
    grid_->SetDefaultColWidth(hourly ? 78 : 80);

    // The entry grid's captions, without the work pattern it shows in (0, 0).
    const std::vector<std::string> captions = ColumnCaptions(report_.Scheme, 0);
    for (int col = 1; col < cols && col < static_cast<int>(captions.size()); ++col)
        grid_->SetCells(col, 0, Q(captions[col]));
    for (int day = 0; day < days; ++day) {
        for (int col = 0; col < cols; ++col)
            grid_->SetCells(col, day + 1, Q(report_.Days[day][col]));
        if (day < static_cast<int>(report_.Marks.size()))
            if (QTableWidgetItem* date = grid_->item(day + 1, 0))
                date->setToolTip(Q(report_.Marks[day].NationalHoliday));
    }

    // Summary rows: captions in column 0, the summary grid's figures beside them.
    auto summary = [&](int gridRow, const char* caption, int summaryRow, int firstCol,
                       int lastCol) {
        grid_->SetCells(0, gridRow, caption);
        if (summaryRow >= static_cast<int>(report_.Summary.size()))
            return;
        for (int col = firstCol; col <= lastCol; ++col)
            grid_->SetCells(col, gridRow, Q(report_.Summary[summaryRow][col]));
    };
    const int r = rows;
    if (split) {
        summary(r - 6, "平日残業", 3, 3, 7);
        summary(r - 5, "休日残業", 4, 3, 7);
        summary(r - 4, "平日賃金", 5, 3, 7);
        summary(r - 3, "休日賃金", 6, 3, 7);
    } else {
        const int first = hourly ? 5 : 3;
        summary(r - 4, "残業時間", 2, first, cols - 1);
        summary(r - 3, "残業賃金", 3, first, cols - 1);
    }

    const int total = r - 1;
    const int shift = hourly ? 1 : 0;  // the hourly table has one column more before its totals
    grid_->SetCells(0, total, "勤務日数");
    grid_->SetCells(1, total, Q(PadNumber(report_.WorkDays, 2)) + "日");
    if (split) {
        grid_->SetCells(2, total, "休日勤務");
        grid_->SetCells(3, total, Q(PadNumber(report_.HolidayWorkDays, 2)) + "日");
    }
    grid_->SetCells(4 + shift, total, "残業時間");
    grid_->SetCells(5 + shift, total, Q(MinutesToText(report_.TotalOverMinutes)));
    grid_->SetCells(6 + shift, total, "残業賃金");
    grid_->SetCells(7 + shift, total, Q(FormatYen(report_.TotalOverPay)));
}

void TPrintD::PrintGrid1DrawCell(QObject*, QPainter* Canvas, int ACol, int ARow,
                                 const QRect& Rect) {
    const bool fixed = grid_->IsFixedCell(ACol, ARow);
    Canvas->fillRect(Rect, fixed ? palette().button() : palette().base());
    Canvas->setPen(IsHolidayDate(ACol, ARow) ? QColor(Qt::red)
                   : fixed                   ? palette().buttonText().color()
                                             : palette().text().color());
    Canvas->setFont(grid_->font());
    Canvas->drawText(Rect, Qt::AlignCenter, grid_->Cells(ACol, ARow));
}

void TPrintD::PrintGrid1ReportStart(QObject*, int&, int Width, int& Top) {
    QPainter* canvas = grid_->PrintCanvas();
    const QFont kept = canvas->font();
    Top += 4 * grid_->DefaultRowHeight();
    // Centred on the table's own width, so title and table share one axis.
    int tableWidth = 0;
    for (int col = 0; col < grid_->ColCount(); ++col)
        tableWidth += grid_->ColWidths(col) + 1;
    const int x = (Width - tableWidth) / 2;
    QFont titleFont = kept;
    titleFont.setPointSize(kTitlePoints);
    canvas->setFont(titleFont);
    grid_->PrintText(x, Top, title_);
    canvas->setFont(kept);
    grid_->SetLeftMargin(x);
}

void TPrintD::PrintGrid1Header(QObject*, int&, int, int& Top) {
    Top += 6 * grid_->DefaultRowHeight();
}

void TPrintD::PrintGrid1PrintCell(QObject*, QPainter* WCanvas, const QRect& Rect, int ACol,
                                  int ARow, const QString&) {
    const QPen kept = WCanvas->pen();
    if (IsHolidayDate(ACol, ARow))
        WCanvas->setPen(Qt::red);
    WCanvas->drawText(Rect, Qt::AlignCenter, grid_->Cells(ACol, ARow));
    WCanvas->setPen(kept);
}

bool TPrintD::IsHolidayDate(int ACol, int ARow) const {
    const int day = ARow - 1;
    if (ACol != 0 || day < 0 || day >= static_cast<int>(report_.Marks.size()))
        return false;
    const MonthReport::DayMark& mark = report_.Marks[day];
    return mark.WeeklyHoliday || !mark.NationalHoliday.empty();
}

int TPrintD::PrintOn(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::JisB5));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(title_);
    QFont paperFont = grid_->font();
    paperFont.setPointSize(kPaperPoints);
    grid_->SetPrinterFont(paperFont);
    const int shown = current_;
    struct ShowAgain {
        TPrintD* dialog;
        int page;
        ~ShowAgain() { dialog->ShowPage(page); }
    } showAgain{this, shown};
    return RenderPages(printer);
}

int TPrintD::RenderPages(QPrinter& printer) {
    const int count = PageCount();
    std::unique_ptr<QProgressDialog> progress;
    if (count > 1) {
        progress = std::make_unique<QProgressDialog>("印刷しています…", "中止", 0, count, this);
        Name(progress.get(), "PrintProgress");
        progress->setWindowTitle("印刷");
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(500);
    }
    QPainter canvas;
    if (!canvas.begin(&printer))
        throw TPrintError("the printer did not accept the print job");
    int printed = 0;
    for (int page = 0; page < count; ++page) {
        if (progress) {
            progress->setValue(page);
            if (progress->wasCanceled()) {
                printer.abort();
                throw TPrintCancelled();
            }
        }
        if (page > 0 && !printer.newPage())
            throw TPrintError("the printer did not accept a new page");
        ShowPage(page);
        grid_->SetLeftMargin(0);  // the report start centres the table afresh
        printed += grid_->Print(canvas, printer);
    }
    if (!canvas.end())
        throw TPrintError("the printer did not finish the print job");
    if (progress)
        progress->setValue(count);
    return printed;
}

bool TPrintD::SavePdf(const QString& path, FileSystem& target) {
    QTemporaryDir folder;
    const QString file = folder.filePath("reports.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    const QString failed =
        "PDFファイルを保存できませんでした。\n\nファイル「" + QDir::toNativeSeparators(path) + "」";
    try {
        if (!folder.isValid())
            throw TPrintError("no folder for the PDF");
        PrintOn(printer);
        if (printer.printerState() == QPrinter::Error)
            throw TPrintError("the PDF was not written");
    } catch (const TPrintCancelled&) {
        return false;
    } catch (const std::exception&) {
        Messages::Error(this, failed);
        return false;
    }
    QFile made(file);
    if (!made.open(QIODevice::ReadOnly)) {
        Messages::Error(this, failed);
        return false;
    }
    const QByteArray bytes = made.readAll();
    try {
        target.Replace(S(path), Bytes(bytes.begin(), bytes.end()));
    } catch (const FileError& e) {
        Messages::Failure(this, e);
        return false;
    }
    return true;
}

void TPrintD::ShowPage(int index) {
    if (index < 0 || index >= PageCount() || (index == current_ && grid_->RowCount() > 1))
        return;
    current_ = index;
    report_ = pages_[static_cast<std::size_t>(index)].report;
    subject_ = pages_[static_cast<std::size_t>(index)].subject;
    title_ = ReportTitle(subject_);
    titleLabel_->setText(title_);
    BuildGrid();
    if (pageLabel_ != nullptr)
        pageLabel_->setText(QString("%1 / %2").arg(index + 1).arg(PageCount()));
    if (prev_ != nullptr) {
        prev_->setEnabled(index > 0);
        next_->setEnabled(index + 1 < PageCount());
    }
}

void TPrintD::AddPaging(QWidget* bar) {
    if (PageCount() < 2)
        return;
    const auto button = [this, bar](const char* name, const char* caption, const char* hint,
                                    int x) {
        TPanelButton* b =
            MakePanelButton(bar, QString::fromLatin1(name), QString::fromUtf8(caption), QPixmap(),
                            QString::fromUtf8(hint));
        b->setGeometry(x, 2, 40, 40);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    // The paging stands where the title began; the title moves right of it.
    const int x = titleLabel_->geometry().x();
    prev_ = button("PrevPB", "前へ", "前の従業員", x);
    next_ = button("NextPB", "次へ", "次の従業員", x + 42);
    pageLabel_ = new QLabel(bar);
    Name(pageLabel_, "PageLabel");
    pageLabel_->setGeometry(x + 86, 0, 70, kBarHeight);
    pageLabel_->setAlignment(Qt::AlignCenter);
    const int titleX = x + 160;
    titleLabel_->setGeometry(titleX, 0, width() - titleX - 4, kBarHeight);
    titleLabel_->setWordWrap(true);  // beside a printer choice it takes two lines
    connect(prev_, &TPanelButton::clicked, this, &TPrintD::PrevPBClick);
    connect(next_, &TPanelButton::clicked, this, &TPrintD::NextPBClick);
    pageLabel_->setText(QString("1 / %1").arg(PageCount()));
    prev_->setEnabled(false);
    GivePanelKey(prev_, QKeySequence(Qt::Key_PageUp));
    GivePanelKey(next_, QKeySequence(Qt::Key_PageDown));
}

void TPrintD::PrevPBClick() {
    ShowPage(current_ - 1);
}

void TPrintD::NextPBClick() {
    ShowPage(current_ + 1);
}

void TPrintD::AddPrinterChoice(QWidget* bar) {
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    if (printers.isEmpty())
        return;  // 開始 writes a PDF instead
    auto* caption = new QLabel("プリンター", bar);
    Name(caption, "Label2");
    caption->setGeometry(kChoiceX, 1, kChoiceWidth, 14);
    printerCB_ = new QComboBox(bar);
    Name(printerCB_, "PrinterCB");
    printerCB_->setToolTip("印刷するプリンター");
    printerCB_->addItems(printers);
    // The printer last printed on while it is there, else the system's default.
    int chosen = -1;
    if (memory_.settings != nullptr && !memory_.settings->Print.Printer.empty())
        chosen = printerCB_->findText(Q(memory_.settings->Print.Printer));
    if (chosen < 0)
        chosen = printerCB_->findText(QPrinterInfo::defaultPrinterName());
    printerCB_->setCurrentIndex(chosen >= 0 ? chosen : 0);
    printerCB_->setGeometry(kChoiceX, 16, kChoiceWidth, 26);
    const int titleX = kChoiceX + kChoiceWidth + 8;
    titleLabel_->setGeometry(titleX, 0, width() - titleX - 4, kBarHeight);
}

bool TPrintD::PrintReport() {
    return printerCB_ != nullptr ? PrintOnPrinter(printerCB_->currentText()) : PrintIntoPdf();
}

bool TPrintD::PrintOnPrinter(const QString& name) {
    const QString failed = "印刷できませんでした。\n\n";
    const QString printerName = "プリンター「" + name + "」";
    const QueueRefusal refusal = CheckQueue(name);
    if (refusal != QueueRefusal::None) {
        Messages::Error(this, failed + RefusalText(name, refusal));
        return false;
    }
    // The job is rendered into a file and handed to the queue as a whole, so a
    // queue that refuses it is noticed. Any name but "*.pdf" keeps the printer's
    // own page geometry; the file is PDF all the same.
    QTemporaryDir folder;
    const QString job = folder.filePath("report.job");
    QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    printer.setOutputFileName(job);
    try {
        if (!folder.isValid())
            throw TPrintError("no folder for the print job");
        PrintOn(printer);
        if (printer.printerState() == QPrinter::Error)
            throw TPrintError("the print job failed");
    } catch (const TPrintCancelled&) {
        return false;  // nothing went to the queue
    } catch (const std::exception&) {
        Messages::Error(this, failed + printerName);
        return false;
    }
    try {
        SubmitPdf(name, job, title_, printer.pageLayout().pageSize().key());
    } catch (const TPrintError& e) {
        Messages::Error(this, failed + printerName + "が印刷を受け付けませんでした。\n" +
                                  QString::fromUtf8(e.what()));
        return false;
    }
    RememberPrinter(name);
    return true;
}

void TPrintD::RememberPrinter(const QString& name) {
    if (memory_.settings == nullptr || memory_.fs == nullptr ||
        Q(memory_.settings->Print.Printer) == name)
        return;
    memory_.settings->Print.Printer = S(name);
    try {
        WriteSettings(*memory_.fs, *memory_.settings);
    } catch (const FileError& e) {
        // The report is printed; only the choice is not kept for next time.
        Messages::Failure(this, e);
    }
}

bool TPrintD::PrintIntoPdf() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString folder = subject_.ProgramFolder.empty() ? QCoreApplication::applicationDirPath()
                                                          : Q(subject_.ProgramFolder);
    const QString name =
        PageCount() > 1 ? BatchPdfFileName(subject_.Year, subject_.Month) : PdfFileName(subject_);
    const QString pdf = QDir::cleanPath(QDir(folder).filePath(name));
    printer.setOutputFileName(pdf);
    bool printed = false;
    try {
        PrintOn(printer);
        printed = printer.printerState() != QPrinter::Error;
    } catch (const TPrintCancelled&) {
        QFile::remove(pdf);  // half a job is no report
        return false;
    } catch (const std::exception&) {
        printed = false;
    }
    if (!printed) {
        Messages::Error(
            this, "印刷できませんでした。\n\nファイル「" + QDir::toNativeSeparators(pdf) + "」");
        return false;
    }
    Messages::Information(
        this, "プリンターが設定されていないため、印刷内容をPDFファイルに保存しました。\n\n" +
                  QDir::toNativeSeparators(pdf));
    return true;
}

void TPrintD::StartClicked() {
    // A report that could not be printed stays on screen, so the operator can
    // choose another printer or try again.
    if (PrintReport())
        accept();
}

void TPrintD::CancelClicked() {
    reject();
}

}  // namespace pb
