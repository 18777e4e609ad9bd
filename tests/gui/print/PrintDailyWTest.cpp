// The monthly report: its grid in the three layouts, the title, the page it
// prints on, what 開始 and 中止 do without a printer, and the report on the
// queues of a print system of the test's own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "core/store/Settings.h"
#include "core/timecard/MonthCalc.h"
#include "core/timecard/PayPeriod.h"
#include "gui/print/PrintDailyW.h"
#include "gui/print/PrintGrid.h"
#include "gui/print/PrintQueue.h"
#include "support/GuiTestSupport.h"
#include "support/PrivateCups.h"

namespace pb {
namespace {

using test::Find;

MonthReport MakeReport(PayScheme payScheme, bool holiday, int days) {
    MonthReport report;
    report.Scheme = payScheme;
    report.Holiday = holiday;
    for (int d = 0; d < days; ++d) {
        MonthReport::Row row;
        row[0] = "03/" + std::to_string(10 + d % 20) + "(月)";
        for (int c = 1; c < 9; ++c)
            row[c] = "d" + std::to_string(d + 1) + "c" + std::to_string(c);
        report.Days.push_back(row);
    }
    const int summaryRows = holiday && payScheme == PayScheme::Daily ? 7 : 4;
    for (int i = 0; i < summaryRows; ++i) {
        MonthReport::Row row;
        for (int c = 1; c < 9; ++c)
            row[c] = "s" + std::to_string(i) + "c" + std::to_string(c);
        report.Summary.push_back(row);
    }
    report.WorkDays = 5;
    report.HolidayWorkDays = 1;
    report.TotalOverMinutes = 630;
    report.TotalOverPay = 10750;
    return report;
}

ReportSubject Subject(const QString& folder = {}) {
    return {"001", "山田　太郎", 1999, 3, folder.toStdString()};
}

std::vector<QString> RowTexts(PrintGrid* grid, int row) {
    std::vector<QString> out;
    for (int c = 0; c < grid->ColCount(); ++c)
        out.push_back(grid->Cells(c, row));
    return out;
}

TEST(PrintDailyWTest, ReportGridInItsThreeLayouts) {
    struct Case {
        const char* name;
        PayScheme payScheme;
        bool holiday;
        int days;
        int rows;
        int cols;
        int colWidth;
        // Column 0 of the summary rows, from R − 6 (A) or R − 4 (B, C).
        std::vector<QString> captions;
        int summaryFirstCol;
        int firstSummaryIndex;  // summary grid row shown first
        std::vector<QString> totals;
    };
    const std::vector<Case> cases = {
        {"A: daily with holidays",
         PayScheme::Daily,
         true,
         28,
         36,
         8,
         80,
         {"平日残業", "休日残業", "平日賃金", "休日賃金"},
         3,
         3,
         {"勤務日数", "05日", "休日勤務", "01日", "残業時間", "10:30", "残業賃金", "¥10,750"}},
        {"B: daily without holidays",
         PayScheme::Daily,
         false,
         28,
         34,
         8,
         80,
         {"残業時間", "残業賃金"},
         3,
         2,
         {"勤務日数", "05日", "", "", "残業時間", "10:30", "残業賃金", "¥10,750"}},
        {"B: 31 days",
         PayScheme::Daily,
         false,
         31,
         37,
         8,
         80,
         {"残業時間", "残業賃金"},
         3,
         2,
         {"勤務日数", "05日", "", "", "残業時間", "10:30", "残業賃金", "¥10,750"}},
        // The hourly flag is ignored: hourly months have no holiday figures.
        {"C: hourly",
         PayScheme::Hourly,
         true,
         30,
         36,
         9,
         78,
         {"残業時間", "残業賃金"},
         5,
         2,
         {"勤務日数", "05日", "", "", "", "残業時間", "10:30", "残業賃金", "¥10,750"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPrintD dialog(MakeReport(c.payScheme, c.holiday, c.days), Subject());
        PrintGrid* grid = dialog.findChild<PrintGrid*>("PrintGrid1");
        ASSERT_NE(grid, nullptr);
        const int width = c.payScheme == PayScheme::Daily ? 660 : 723;
        EXPECT_EQ(dialog.minimumWidth(), width);
        EXPECT_EQ(dialog.maximumWidth(), width);
        ASSERT_EQ(grid->RowCount(), c.rows);
        ASSERT_EQ(grid->ColCount(), c.cols);
        EXPECT_EQ(grid->ColWidths(c.cols - 1), c.colWidth);

        EXPECT_EQ(grid->Cells(1, 0), "出社時間");
        EXPECT_EQ(grid->Cells(7, 0), c.payScheme == PayScheme::Daily ? "合　　計" : "区 分 ３");
        EXPECT_EQ(grid->Cells(c.payScheme == PayScheme::Daily ? 2 : 4, 0), "退社時間");
        EXPECT_EQ(grid->Cells(0, 1), "03/10(月)");
        EXPECT_EQ(grid->Cells(3, c.days), QString("d%1c3").arg(c.days));

        const int R = c.rows;
        const int firstSummaryRow = R - 2 - static_cast<int>(c.captions.size());
        EXPECT_EQ(RowTexts(grid, firstSummaryRow - 1), std::vector<QString>(c.cols))
            << "empty row after the days";
        EXPECT_EQ(RowTexts(grid, R - 2), std::vector<QString>(c.cols)) << "empty row before totals";
        for (size_t i = 0; i < c.captions.size(); ++i) {
            const int row = firstSummaryRow + static_cast<int>(i);
            const int index = c.firstSummaryIndex + static_cast<int>(i);
            EXPECT_EQ(grid->Cells(0, row), c.captions[i]);
            EXPECT_EQ(grid->Cells(c.summaryFirstCol - 1, row), "");
            for (int col = c.summaryFirstCol; col < c.cols; ++col)
                EXPECT_EQ(grid->Cells(col, row), QString("s%1c%2").arg(index).arg(col));
        }
        EXPECT_EQ(RowTexts(grid, R - 1), c.totals);
    }
}

// Work pattern 7, 08:00 – 17:00, late night from 22:00, early morning until
// 05:00, unit 15 rounded to nearest per day: 04:10 – 23:40 on one weekday
// gives 00:45, 03:00, 05:00, 01:45, 10:30 and ¥10,750 for the month.
MonthInput OneLongDay() {
    MonthInput input;
    input.payScheme = PayScheme::Daily;
    input.daily.WorkType = 7;
    input.daily.ClosingDay = 20;
    input.daily.Holiday = 1;
    input.daily.TimeToStartWork = 8 / 24.0;
    input.daily.TimeToFinishWork = 17 / 24.0;
    input.daily.TimeToStartNight = 22 / 24.0;
    input.daily.TimeToFinishMorning = 5 / 24.0;
    input.daily.TimeToFinishWorkHH = 12 / 24.0;
    input.daily.WeekdayEarMornPay = 1100;
    input.daily.WeekdayMorningPay = 1000;
    input.daily.WeekdayOverPay = 1000;
    input.daily.WeekdayNightPay = 1100;
    input.rules = {15, 0, 0, 0};
    input.period = MakePayPeriod(1999, 3, 20, 0);
    input.cells.resize(input.period.size());
    input.cells[1][1] = "04:10";  // Monday 22 February
    input.cells[1][2] = "23:40";
    return input;
}

TEST(PrintDailyWTest, ReportOfACalculatedMonthShowsItsFigures) {
    const MonthInput input = OneLongDay();
    TPrintD dialog(input, CalcMonth(input), Subject());
    PrintGrid* grid = dialog.PrintGrid1();
    ASSERT_EQ(grid->RowCount(), 36);
    EXPECT_EQ(RowTexts(grid, 2), (std::vector<QString>{"02/22(月)", "04:10", "23:40", "00:45",
                                                       "03:00", "05:00", "01:45", "10:30"}));
    EXPECT_EQ(grid->Cells(0, 30), "平日残業");
    EXPECT_EQ(grid->Cells(7, 30), "10:30");
    EXPECT_EQ(grid->Cells(7, 32), "¥10,750");
    EXPECT_EQ(RowTexts(grid, 35),
              (std::vector<QString>{"勤務日数", "01日", "休日勤務", "00日", "残業時間", "10:30",
                                    "残業賃金", "¥10,750"}));
}

// 21 March 1999 is 春分の日 on a Sunday (the weekly holiday), so the Monday
// after is 振替休日: marked and named, but paid at the weekday rates.
TEST(PrintDailyWTest, NationalHolidaysAreMarkedButPaidAsWeekdays) {
    MonthInput input = OneLongDay();
    input.daily.Holiday1 = 1;  // Sunday
    input.period = MakePayPeriod(1999, 4, 20, 0);
    const MonthReport report = MakeMonthReport(input, CalcMonth(input));
    ASSERT_GE(report.Marks.size(), 3u);
    EXPECT_TRUE(report.Marks[0].WeeklyHoliday);
    EXPECT_EQ(report.Marks[0].NationalHoliday, "春分の日");
    EXPECT_FALSE(report.Marks[1].WeeklyHoliday);
    EXPECT_EQ(report.Marks[1].NationalHoliday, "振替休日");
    EXPECT_EQ(report.Marks[2].NationalHoliday, "");
    EXPECT_EQ(report.Days[1][7], "10:30");
    EXPECT_EQ(report.Summary[3][7], "10:30");  // 平日残業

    TPrintD dialog(report, Subject());
    QAbstractItemModel* cells = dialog.PrintGrid1()->model();
    EXPECT_EQ(cells->headerData(2, Qt::Vertical, Qt::ToolTipRole).toString(), "振替休日");
    EXPECT_EQ(cells->headerData(3, Qt::Vertical, Qt::ToolTipRole).toString(), "");
}

TEST(PrintDailyWTest, TitleAndFileName) {
    EXPECT_EQ(TPrintD::ReportTitle(Subject()), "山田　太郎 殿分　1999 年　03 月分 勤務時間");
    TPrintD dialog(MakeReport(PayScheme::Daily, false, 28), Subject());
    EXPECT_EQ(dialog.windowTitle(), "印刷プレビュー");
    EXPECT_EQ(Find<QWidget>(dialog, "Label1")->property("text").toString(),
              TPrintD::ReportTitle(Subject()));

    EXPECT_EQ(TPrintD::PdfFileName(Subject()), "001_山田　太郎_1999_03.pdf");
    // A name must not lead the file out of the program folder.
    ReportSubject odd = {"002", "../a/b\\c", 2000, 12, ""};
    EXPECT_EQ(TPrintD::PdfFileName(odd), "002__._a_b_c_2000_12.pdf");
}

// Page size and count of a PDF from pdfinfo, in millimetres.
struct PdfPage {
    double widthMm = 0;
    double heightMm = 0;
    int pages = 0;
};

PdfPage ReadPdfInfo(const QString& file) {
    QProcess info;
    info.start("pdfinfo", {file});
    info.waitForFinished(10000);
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    PdfPage page;
    const auto size = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(out);
    if (size.hasMatch()) {
        page.widthMm = size.captured(1).toDouble() * 25.4 / 72;
        page.heightMm = size.captured(2).toDouble() * 25.4 / 72;
    }
    const auto pages = QRegularExpression(R"(Pages:\s+(\d+))").match(out);
    if (pages.hasMatch())
        page.pages = pages.captured(1).toInt();
    return page;
}

TEST(PrintDailyWTest, PrintsOnOneB5PortraitPageWhateverThePrinterHad) {
    QTemporaryDir dir;
    for (bool holiday : {false, true}) {
        TPrintD dialog(MakeReport(PayScheme::Daily, holiday, 31), Subject());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString file = dir.filePath(holiday ? "a.pdf" : "b.pdf");
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(QPageSize::A3));
        printer.setPageOrientation(QPageLayout::Landscape);
        EXPECT_EQ(dialog.PrintOn(printer), 1);
        const PdfPage page = ReadPdfInfo(file);
        EXPECT_NEAR(page.widthMm, 182, 0.5);
        EXPECT_NEAR(page.heightMm, 257, 0.5);
        EXPECT_EQ(page.pages, 1);

        // The table is centred afresh on every job, not shifted by the last one.
        const int centred = dialog.PrintGrid1()->LeftMargin();
        EXPECT_GT(centred, 0);
        QPrinter again(QPrinter::HighResolution);
        again.setOutputFormat(QPrinter::PdfFormat);
        again.setOutputFileName(dir.filePath("again.pdf"));
        dialog.PrintOn(again);
        EXPECT_EQ(dialog.PrintGrid1()->LeftMargin(), centred);
    }
}

// The box 開始 showed, answered with OK; empty when none appeared.
struct Box {
    QString title;
    QString text;
};

Box PressStart(TPrintD& dialog) {
    Box box;
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box = {shown->windowTitle(), shown->text()};
            test::ClickButton(shown, "OK");
        }
    });
    answer.start();
    dialog.StartClicked();
    return box;
}

TEST(PrintDailyWTest, StartWithoutPrinterWritesPdfAndNamesIt) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is configured";
    QTemporaryDir dir;
    const QString pdf = QDir(dir.path()).filePath(TPrintD::PdfFileName(Subject()));

    TPrintD dialog(MakeReport(PayScheme::Hourly, false, 28), Subject(dir.path() + "/"));
    EXPECT_EQ(dialog.PrinterCB(), nullptr) << "no printer to choose";
    const Box box = PressStart(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(box.title, "情報");
    EXPECT_TRUE(box.text.contains(pdf)) << box.text.toStdString();
    EXPECT_NEAR(ReadPdfInfo(pdf).heightMm, 257, 0.5);
}

TEST(PrintDailyWTest, StartIntoAMissingFolderReportsTheFailureAndStaysOpen) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is configured";
    QTemporaryDir dir;
    TPrintD dialog(MakeReport(PayScheme::Daily, true, 28), Subject(dir.filePath("gone")));
    dialog.show();
    const Box box = PressStart(dialog);
    EXPECT_EQ(box.title, "ｴﾗｰ");
    EXPECT_TRUE(box.text.startsWith("印刷できませんでした。")) << box.text.toStdString();
    EXPECT_TRUE(dialog.isVisible());
}

TEST(PrintDailyWTest, CancelPrintsNothing) {
    QTemporaryDir dir;
    TPrintD dialog(MakeReport(PayScheme::Daily, false, 28), Subject(dir.path()));
    QMetaObject::invokeMethod(&dialog, &TPrintD::CancelClicked, Qt::QueuedConnection);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// Without its spaces: a page's text comes back with its own spacing.
QString Squeezed(QString text) {
    text.removeIf([](QChar ch) { return ch.isSpace(); });
    return text;
}

// Text of a PDF as pdftotext reads it, without spaces.
QString PdfText(const QString& file) {
    QProcess text;
    text.start("pdftotext", {"-layout", file, "-"});
    text.waitForFinished(10000);
    return Squeezed(QString::fromUtf8(text.readAllStandardOutput()));
}

// Two PDF queues on a print system of the test's own; "PunchbookPDF" is the
// default.
class PrintQueueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (geteuid() != 0)
            GTEST_SKIP() << "a print system of the test's own needs root";
        ASSERT_TRUE(cups.Error().isEmpty()) << cups.Error().toStdString();
        ASSERT_TRUE(cups.AddPdfQueue("Office", false));
        ASSERT_TRUE(cups.AddPdfQueue("PunchbookPDF", true));
    }

    test::PrivateCups cups;
};

TEST_F(PrintQueueTest, MonthReachesTheDefaultQueueOnB5Portrait) {
    const MonthInput input = OneLongDay();
    TPrintD dialog(input, CalcMonth(input), Subject());
    ASSERT_NE(dialog.PrinterCB(), nullptr);
    EXPECT_EQ(dialog.PrinterCB()->count(), 2);
    EXPECT_EQ(dialog.PrinterCB()->currentText(), "PunchbookPDF");

    const Box box = PressStart(dialog);
    EXPECT_TRUE(box.text.isEmpty()) << box.text.toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const QStringList pdfs = cups.WaitForOutput();
    ASSERT_EQ(pdfs.size(), 1);
    const PdfPage page = ReadPdfInfo(pdfs[0]);
    EXPECT_EQ(page.pages, 1);
    EXPECT_NEAR(page.widthMm, 182, 1.0);
    EXPECT_NEAR(page.heightMm, 257, 1.0);
    const QString text = PdfText(pdfs[0]);
    // The title, a day, the weekday overtime and the totals line, in that order.
    const QStringList expected = {TPrintD::ReportTitle(Subject()),
                                  "02/22(月) 04:10 23:40 00:45 03:00 05:00 01:45 10:30",
                                  "平日賃金 ¥825 ¥3,000 ¥5,000 ¥1,925 ¥10,750",
                                  "勤務日数 01日 休日勤務 00日 残業時間 10:30 残業賃金 ¥10,750"};
    qsizetype from = 0;
    for (const QString& line : expected) {
        const qsizetype at = text.indexOf(Squeezed(line), from);
        EXPECT_GE(at, 0) << line.toStdString() << " in\n" << text.toStdString();
        from = std::max(at, from);
    }
}

TEST_F(PrintQueueTest, RefusedJobNamesThePrinterAndKeepsThePreviewOpen) {
    struct Case {
        const char* name;
        QString stop;
        QStringList stopArgs;
        QString undo;
        QString reason;
    };
    const std::vector<Case> cases = {
        {"paused", "cupsdisable", {"PunchbookPDF"}, "cupsenable", "は一時停止しています。"},
        {"rejecting", "cupsreject", {"PunchbookPDF"}, "cupsaccept", "は印刷を受け付けていません。"},
        {"deleted", "lpadmin", {"-x", "PunchbookPDF"}, "", "が見つかりません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPrintD dialog(MakeReport(PayScheme::Daily, false, 28), Subject());
        dialog.show();
        ASSERT_EQ(dialog.PrinterCB()->currentText(), "PunchbookPDF");
        ASSERT_TRUE(cups.Run(c.stop, c.stopArgs));
        const Box box = PressStart(dialog);
        EXPECT_EQ(box.title, "ｴﾗｰ");
        EXPECT_EQ(box.text, "印刷できませんでした。\n\nプリンター「PunchbookPDF」" + c.reason);
        EXPECT_TRUE(dialog.isVisible());
        if (!c.undo.isEmpty()) {
            ASSERT_TRUE(cups.Run(c.undo, {"PunchbookPDF"}));
        }
    }
    // Handed over anyway, the job comes back refused instead of passing for printed.
    ASSERT_TRUE(cups.Run("cupsreject", {"Office"}));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(dir.filePath("job.pdf"));
    TPrintD(MakeReport(PayScheme::Daily, false, 28), Subject()).PrintOn(printer);
    EXPECT_THROW(SubmitPdf("Office", dir.filePath("job.pdf"), "title", "JISB5"), TPrintError);
    EXPECT_TRUE(QDir(cups.OutputFolder()).isEmpty());
}

TEST_F(PrintQueueTest, PrinterPrintedOnIsOfferedFirstWhileItIsThere) {
    QTemporaryDir dir;
    Settings settings;
    settings.ProgramFolder = (dir.path() + "/").toStdString();
    const PrinterMemory memory{&settings, &RealFileSystem()};
    const auto offered = [&] {
        return TPrintD(MakeReport(PayScheme::Daily, false, 28), Subject(), nullptr, memory)
            .PrinterCB()
            ->currentText();
    };
    {
        TPrintD dialog(MakeReport(PayScheme::Daily, false, 28), Subject(), nullptr, memory);
        EXPECT_EQ(dialog.PrinterCB()->currentText(), "PunchbookPDF");
        dialog.PrinterCB()->setCurrentIndex(dialog.PrinterCB()->findText("Office"));
        EXPECT_EQ(PressStart(dialog).text, "");
    }
    Settings reread;
    reread.ProgramFolder = settings.ProgramFolder;
    ReadSettings(RealFileSystem(), reread, 0);
    EXPECT_EQ(reread.Print.Printer, "Office");
    EXPECT_EQ(offered(), "Office");

    ASSERT_TRUE(cups.Run("lpadmin", {"-x", "Office"}));
    EXPECT_EQ(offered(), "PunchbookPDF");
}

}  // namespace
}  // namespace pb
