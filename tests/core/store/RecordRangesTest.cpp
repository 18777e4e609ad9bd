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
        EXPECT_TRUE(WageFieldsOutOfRange(PayScheme::Daily, ToBytes(record)).empty());
        record.*rate = kMaxHourlyRate + 1;
        EXPECT_EQ(WageFieldsOutOfRange(PayScheme::Daily, ToBytes(record)),
                  std::vector<std::string>{"時給 32001"});
    }
    for (int field = 0; field < 1 + 3 * 7; ++field) {
        TimeWagesRecord record = testing::HourlyWages(19);
        TimeWagesRecord::WeekPays* bands[] = {&record.Band1Pays, &record.Band2Pays,
                                              &record.Band3Pays};
        std::int32_t& rate =
            field == 0 ? record.TimePay : (*bands[(field - 1) / 7])[(field - 1) % 7];
        rate = kMaxHourlyRate;
        EXPECT_TRUE(WageFieldsOutOfRange(PayScheme::Hourly, ToBytes(record)).empty()) << field;
        rate = kMaxHourlyRate + 1;
        EXPECT_EQ(WageFieldsOutOfRange(PayScheme::Hourly, ToBytes(record)),
                  std::vector<std::string>{"時給 32001"})
            << field;
    }
}

// Bands out of order would pay some minutes twice and others not at all: only
// the bands the pattern uses are held to rising ends.
TEST(RecordRanges, BandEndsMustRiseOverTheBandsThePatternUses) {
    struct Case {
        int bandCount;
        std::int32_t ends[3];
        std::vector<std::string> wrong;
    };
    const Case cases[] = {
        {1, {120, 0, 0}, {}},
        {2, {120, 204, 0}, {}},
        {2, {120, 120, 0}, {"区分時間の順序 10:00, 10:00"}},
        {3, {96, 204, 264}, {}},
        {3, {96, 264, 204}, {"区分時間の順序 08:00, 22:00, 17:00"}},
    };
    for (const Case& c : cases) {
        TimeWagesRecord record = testing::HourlyWages(19);
        record.ChargeDivideTime1 = c.ends[0];
        record.ChargeDivideTime2 = c.ends[1];
        record.ChargeDivideTime3 = c.ends[2];
        EXPECT_EQ(BandOrderOutOfRange(record, c.bandCount), c.wrong) << c.bandCount;
    }
}

}  // namespace
}  // namespace pb
