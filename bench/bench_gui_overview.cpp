// The month overview window of 999 employees: opened and refreshed (the
// table read, the model reset, the columns sized); and the reports of all 999
// months as one PDF beside 999 single-report PDFs made one after another, as
// 印刷 of each entry window would make them.
#include <benchmark/benchmark.h>

#include <QPrinter>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "bench/LargeFolder.h"
#include "core/store/Settings.h"
#include "gui/overview/MonthOverviewW.h"
#include "gui/print/PrintDailyW.h"

namespace {

constexpr int kEmployees = 999;
constexpr int kYear = 1999;
constexpr int kMonth = 12;

struct Folder {
    std::string path = bench::MakeTempFolder("pbbench-overview-gui");
    pb::DataFiles files;
    pb::Settings settings;
    Folder() {
        bench::WriteLargeFolder(path, kEmployees, 1, kYear);
        files = pb::AssignDataFiles(path);
        settings.ProgramFolder = path;
    }
    ~Folder() { std::filesystem::remove_all(path); }
    pb::OverviewContext Context() {
        return {files, settings, *files.fs, pb::RealFileSystem(),
                [](QWidget*, const QString&, const QString&) { return QString(); }};
    }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

void BM_OverviewWindowOpened(benchmark::State& state) {
    Folder& f = TheFolder();
    for (auto _ : state) {
        f.files = pb::AssignDataFiles(f.path);  // no index yet
        pb::TMonthOverview window(f.Context(), pb::PayScheme::Daily, kYear, kMonth);
        benchmark::DoNotOptimize(window.Overview().rows.size());
    }
}
BENCHMARK(BM_OverviewWindowOpened)->Unit(benchmark::kMillisecond);

void BM_OverviewWindowRefreshed(benchmark::State& state) {
    Folder& f = TheFolder();
    pb::TMonthOverview window(f.Context(), pb::PayScheme::Daily, kYear, kMonth);
    for (auto _ : state)
        window.Refresh();
    if (window.Overview().rows.size() != static_cast<std::size_t>(kEmployees))
        state.SkipWithError("a row is missing");
}
BENCHMARK(BM_OverviewWindowRefreshed)->Unit(benchmark::kMillisecond);

std::vector<pb::ReportPage> AllPages() {
    Folder& f = TheFolder();
    pb::TMonthOverview window(f.Context(), pb::PayScheme::Daily, kYear, kMonth);
    QStringList left;
    return window.ReportPages(left);
}

void BM_AllReportsToOnePdf(benchmark::State& state) {
    const std::vector<pb::ReportPage> pages = AllPages();
    QTemporaryDir out;
    int printed = 0;
    for (auto _ : state) {
        pb::TPrintD reports(pages);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath("all.pdf"));
        printed = reports.PrintOn(printer);
    }
    if (printed != kEmployees)
        state.SkipWithError("not one page per employee");
}
BENCHMARK(BM_AllReportsToOnePdf)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SingleReportPdfsOneAfterAnother(benchmark::State& state) {
    const std::vector<pb::ReportPage> pages = AllPages();
    QTemporaryDir out;
    int printed = 0;
    for (auto _ : state) {
        printed = 0;
        for (const pb::ReportPage& page : pages) {
            pb::TPrintD report(page.report, page.subject);
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out.filePath(pb::TPrintD::PdfFileName(page.subject)));
            printed += report.PrintOn(printer);
        }
    }
    if (printed != kEmployees)
        state.SkipWithError("not one page per employee");
}
BENCHMARK(BM_SingleReportPdfsOneAfterAnother)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
