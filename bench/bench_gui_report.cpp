// The monthly report from a calculated month to a B5 PDF: building the
// preview dialog, asking for the default printer as 印刷 does, and printing
// (target 150 ms).
#include <benchmark/benchmark.h>

#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "core/timecard/MonthCalc.h"
#include "core/timecard/PayPeriod.h"
#include "gui/print/PrintDailyW.h"

namespace {

pb::MonthInput DailyMonth() {
    pb::MonthInput input;
    input.payScheme = pb::PayScheme::Daily;
    input.daily.WorkType = 7;
    input.daily.ClosingDay = 0;
    input.daily.Holiday = 1;
    input.daily.Holiday1 = 1;
    input.daily.HalfHoliday = 7;
    input.daily.TimeToStartWork = 8 / 24.0;
    input.daily.TimeToFinishWork = 17 / 24.0;
    input.daily.TimeToStartNight = 22 / 24.0;
    input.daily.TimeToFinishMorning = 5 / 24.0;
    input.daily.TimeToFinishWorkHH = 12 / 24.0;
    input.daily.WeekdayEarMornPay = input.daily.WeekdayNightPay = 1100;
    input.daily.WeekdayMorningPay = input.daily.WeekdayOverPay = 1000;
    input.daily.HolidayEarMornPay = input.daily.HolidayNightPay = 1400;
    input.daily.HolidayMorningPay = input.daily.HolidayOverPay = 1300;
    input.rules = {15, 0, 0, 1};
    input.period = pb::MakePayPeriod(1999, 3, 0, 1);  // 31 days
    input.cells.resize(input.period.size());
    for (auto& row : input.cells) {
        row[1] = "04:10";
        row[2] = "23:40";
    }
    return input;
}

pb::MonthInput HourlyMonth() {
    pb::MonthInput input;
    input.payScheme = pb::PayScheme::Hourly;
    input.hourly.WorkType = 19;
    input.hourly.ChargeDivideTime1 = 96;   // 08:00
    input.hourly.ChargeDivideTime2 = 204;  // 17:00
    input.hourly.ChargeDivideTime3 = 244;  // 20:20
    input.hourly.Band1Pays.fill(1200);
    input.hourly.Band2Pays.fill(1000);
    input.hourly.Band3Pays.fill(1100);
    input.rules = {1, 0, 0, 1};
    input.period = pb::MakePayPeriod(1999, 3, 0, 1);
    input.cells.resize(input.period.size());
    for (auto& row : input.cells)
        row = {"", "07:00", "12:00", "13:00", "21:00"};
    return input;
}

void ReportToPdf(benchmark::State& state, const pb::MonthInput& input) {
    const pb::MonthResult result = pb::CalcMonth(input);
    const pb::ReportSubject subject{"001", "山田　太郎", 1999, 3, ""};
    QTemporaryDir dir;
    const QString file = dir.filePath("report.pdf");
    for (auto _ : state) {
        pb::TPrintD dialog(input, result, subject);
        benchmark::DoNotOptimize(QPrinterInfo::defaultPrinter());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        benchmark::DoNotOptimize(dialog.PrintOn(printer));
    }
}

void BM_DailyReportToPdf(benchmark::State& state) {
    ReportToPdf(state, DailyMonth());
}
void BM_HourlyReportToPdf(benchmark::State& state) {
    ReportToPdf(state, HourlyMonth());
}

}  // namespace

BENCHMARK(BM_DailyReportToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HourlyReportToPdf)->Unit(benchmark::kMillisecond);
