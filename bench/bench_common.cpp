// Costs of the pieces every record and every recalculation goes through: the
// Shift-JIS codec on a short name, the clock-text conversions of one month, and
// the national holidays of a year that the day rows are marked with.
#include <benchmark/benchmark.h>

#include <string>

#include "core/common/Holidays.h"
#include "core/common/Routines.h"
#include "core/common/ShiftJis.h"

namespace {

void BM_DecodeShortName(benchmark::State& state) {
    const std::string sjis = pb::EncodeSjis("山田太郎ｴﾗｰ");
    for (auto _ : state)
        benchmark::DoNotOptimize(pb::DecodeSjis(sjis));
}
BENCHMARK(BM_DecodeShortName);

void BM_EncodeShortName(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(pb::EncodeSjis("山田太郎ｴﾗｰ"));
}
BENCHMARK(BM_EncodeShortName);

// A month of 31 days with four clock texts each, as the calculation reads them.
void BM_MonthOfClockTexts(benchmark::State& state) {
    for (auto _ : state) {
        std::int32_t sum = 0;
        for (int day = 0; day < 31 * 4; ++day) {
            const std::string text = pb::MinutesToText(day * 11 % 1440);
            if (pb::IsTimeText(text))
                sum += pb::TextToMinutes(text);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_MonthOfClockTexts);

// 2019 has the most rules at work: moved days, ceremonies, substitutes and
// citizens' holidays.
void BM_HolidaysOfAYear(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(pb::NationalHolidays(2019));
}
BENCHMARK(BM_HolidaysOfAYear)->Unit(benchmark::kMicrosecond);

}  // namespace
