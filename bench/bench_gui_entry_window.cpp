// The month entry window against a large year file: 999 employees with twelve
// months each. Opening the last employee's December scans the whole file, the
// way the window reads it; a recalculation after one edited cell runs the
// month's calculation and puts its figures into the grids.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QWindow>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/common/Routines.h"
#include "core/store/DataFiles.h"
#include "core/store/Records.h"
#include "core/store/Settings.h"
#include "core/store/WorkDataFiles.h"
#include "gui/print/StringGridS.h"
#include "gui/timecard/InputWork.h"

namespace {

using namespace pb;

constexpr int kEmployees = 999;

struct LargeFolder {
    QTemporaryDir dir;
    std::string path;
    DataFiles files;
    Settings settings;

    LargeFolder() {
        path = dir.path().toStdString() + "/";
        std::ofstream names(path + "Name.dat", std::ios::binary);
        std::ofstream wages(path + "DailyWages.dat", std::ios::binary);
        std::ofstream year(path + "1999_fv2.pbk", std::ios::binary);
        auto put = [](std::ofstream& out, const Bytes& bytes) {
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        };
        for (int e = 1; e <= kEmployees; ++e) {
            const std::string id = PadNumber(e, 3);
            put(names, ToBytes(NameRecord{id, "社員 " + id, 0, 1001}));
            DailyWagesRecord wage;
            wage.ID = id;
            wage.Current = 1;
            wage.Generation = 1;
            wage.WorkType = 7;
            wage.ClosingDay = 20;
            wage.HalfHoliday = 7;
            wage.Holiday = 1;
            wage.Holiday1 = 1;
            wage.WeekdayMorningPay = wage.WeekdayOverPay = 1000;
            wage.WeekdayEarMornPay = wage.WeekdayNightPay = 1100;
            wage.HolidayMorningPay = wage.HolidayOverPay = 1100;
            wage.HolidayEarMornPay = wage.HolidayNightPay = 1200;
            wage.TimeToStartWork = TextToTime("08:00");
            wage.TimeToFinishWork = TextToTime("17:00");
            wage.TimeToStartNight = TextToTime("22:00");
            wage.TimeToFinishMorning = TextToTime("05:00");
            wage.TimeToFinishWorkHH = TextToTime("12:00");
            put(wages, ToBytes(wage));
        }
        // Months in the order they would be saved: month by month, everyone.
        for (int m = 1; m <= 12; ++m) {
            for (int e = 1; e <= kEmployees; ++e) {
                MonthRecord month;
                month.ID = PadNumber(e, 3);
                month.PayScheme = 1;
                month.Month = static_cast<std::uint16_t>(m);
                month.DayCount = 31;
                for (int r = 0; r < 28; ++r) {
                    month.Cells[0][r] = r % 7 == 0 ? "" : "07:40";
                    month.Cells[1][r] = r % 3 == 0 ? "23:10" : "18:25";
                }
                put(year, ToBytes(month));
            }
        }
        files = AssignDataFiles(path);
        settings.ProgramFolder = path;
        ReadSettings(*files.fs, settings, 0x808080);
        settings.Calc_Set.OvertimeWorkFigure = 15;
    }

    std::unique_ptr<TInputW> Open() {
        return std::make_unique<TInputW>(EntrySelection{"999", 1999, 12, false}, files, settings,
                                         nullptr);
    }
};

// Runs the event loop until the window is on screen and painted.
bool WaitUntilExposed(QWidget& window) {
    for (int i = 0; i < 1000; ++i) {
        QApplication::processEvents();
        if (window.windowHandle() != nullptr && window.windowHandle()->isExposed()) {
            QApplication::processEvents();
            return true;
        }
    }
    return false;
}

LargeFolder& Folder() {
    static LargeFolder folder;
    return folder;
}

void BM_OpenStoredMonthUntilShown(benchmark::State& state) {
    LargeFolder& folder = Folder();
    for (auto _ : state) {
        auto window = folder.Open();
        window->resize(700, 600);
        window->show();
        if (!WaitUntilExposed(*window))
            state.SkipWithError("not shown");
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenStoredMonthUntilShown)->Unit(benchmark::kMillisecond);

void BM_RecalculateAfterOneEditedCell(benchmark::State& state) {
    LargeFolder& folder = Folder();
    auto window = folder.Open();
    window->show();
    WaitUntilExposed(*window);
    auto* grid = window->findChild<TStringGridS*>(QStringLiteral("InputGrid"));
    bool late = false;
    for (auto _ : state) {
        late = !late;
        grid->SetCells(2, 10, late ? QStringLiteral("23:55") : QStringLiteral("18:00"));
        window->CalcPBClick();
    }
}
BENCHMARK(BM_RecalculateAfterOneEditedCell)->Unit(benchmark::kMicrosecond);

// The shares of the opening: the store's read of the month (a scan of the whole
// year file), a plain read of the same bytes, and the window alone (a month
// with nothing stored reads no year file).
void BM_ReadStoredMonthOnly(benchmark::State& state) {
    LargeFolder& folder = Folder();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadMonthRecord(folder.files, "999", 1999, 12));
}
BENCHMARK(BM_ReadStoredMonthOnly)->Unit(benchmark::kMillisecond);

void BM_RawReadOfTheYearFile(benchmark::State& state) {
    LargeFolder& folder = Folder();
    for (auto _ : state) {
        std::ifstream in(folder.path + "1999_fv2.pbk", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_RawReadOfTheYearFile)->Unit(benchmark::kMillisecond);

void BM_OpenNewMonthUntilShown(benchmark::State& state) {
    LargeFolder& folder = Folder();
    for (auto _ : state) {
        auto window = std::make_unique<TInputW>(EntrySelection{"999", 2000, 1, true}, folder.files,
                                                folder.settings, nullptr);
        window->resize(700, 600);
        window->show();
        if (!WaitUntilExposed(*window))
            state.SkipWithError("not shown");
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenNewMonthUntilShown)->Unit(benchmark::kMillisecond);

}  // namespace
