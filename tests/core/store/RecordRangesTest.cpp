#include <gtest/gtest.h>

#include "core/store/RecordRanges.h"
#include "core/store/Records.h"
#include "core/timecard/TimecardFixtures.h"

namespace pb {
namespace {

// Every rate a wage record pays by is held to the forms' highest: one left out
// would pay any figure a damaged file holds.
TEST(RecordRanges, EveryRateAboveTheFormsHighestIsRefused) {
    using Daily = DailyWagesRecord;
    for (std::int32_t Daily::*rate :
         {&Daily::WeekdayMorningPay, &Daily::WeekdayOverPay, &Daily::WeekdayEarMornPay,
          &Daily::WeekdayNightPay, &Daily::HolidayMorningPay, &Daily::HolidayOverPay,
          &Daily::HolidayEarMornPay, &Daily::HolidayNightPay}) {
        DailyWagesRecord record = testing::DailyWages();
        record.*rate = kMaxHourlyRate;
        EXPECT_TRUE(WageFieldsOutOfRange(1, ToBytes(record)).empty());
        record.*rate = kMaxHourlyRate + 1;
        EXPECT_EQ(WageFieldsOutOfRange(1, ToBytes(record)), std::vector<std::string>{"時給 32001"});
    }
    for (int field = 0; field < 1 + 3 * 7; ++field) {
        TimeWagesRecord record = testing::HourlyWages(19);
        TimeWagesRecord::WeekPays* bands[] = {&record.Band1Pays, &record.Band2Pays,
                                              &record.Band3Pays};
        std::int32_t& rate =
            field == 0 ? record.TimePay : (*bands[(field - 1) / 7])[(field - 1) % 7];
        rate = kMaxHourlyRate;
        EXPECT_TRUE(WageFieldsOutOfRange(2, ToBytes(record)).empty()) << field;
        rate = kMaxHourlyRate + 1;
        EXPECT_EQ(WageFieldsOutOfRange(2, ToBytes(record)), std::vector<std::string>{"時給 32001"})
            << field;
    }
}

}  // namespace
}  // namespace pb
