#include <gtest/gtest.h>

#include "core/timecard/PayPeriod.h"

namespace pb {
namespace {

TEST(PayPeriod, FirstLastAndLengthByClosingDay) {
    struct Case {
        std::int32_t year, month, closingDay, endOfMonthPayment;
        const char* first;
        const char* last;
        std::size_t days;
    };
    const Case cases[] = {
        {1999, 3, 20, 0, "1999-02-21", "1999-03-20", 28},
        {1999, 3, 20, 1, "1999-02-21", "1999-03-20", 28},  // payment plays no part
        {2000, 2, 20, 0, "2000-01-21", "2000-02-20", 31},
        {2000, 3, 0, 0, "2000-02-01", "2000-02-29", 29},
        {1999, 3, 0, 0, "1999-02-01", "1999-02-28", 28},
        {1999, 3, 0, 1, "1999-03-01", "1999-03-31", 31},
        {1999, 1, 20, 0, "1998-12-21", "1999-01-20", 31},
        {1999, 1, 0, 0, "1998-12-01", "1998-12-31", 31},
        {1999, 12, 0, 1, "1999-12-01", "1999-12-31", 31},
        {1999, 3, 1, 0, "1999-02-02", "1999-03-01", 28},
        {1999, 3, 28, 0, "1999-03-01", "1999-03-28", 28},
        {1900, 3, 0, 0, "1900-02-01", "1900-02-28", 28},  // not a leap year
        // Hand-edited closing days past the 28th end at the month's last day.
        {1999, 3, 31, 0, "1999-03-01", "1999-03-31", 31},
        {1999, 4, 30, 0, "1999-03-31", "1999-04-30", 31},
        {1999, 3, 30, 0, "1999-03-01", "1999-03-30", 30},
        {1999, 3, -5, 1, "1999-03-01", "1999-03-31", 31},
    };
    for (const Case& c : cases) {
        const std::vector<PayDay> days =
            MakePayPeriod(c.year, c.month, c.closingDay, c.endOfMonthPayment);
        ASSERT_EQ(days.size(), c.days) << c.year << "/" << c.month << " closing " << c.closingDay;
        EXPECT_EQ(IsoDate(days.front()), c.first);
        EXPECT_EQ(IsoDate(days.back()), c.last);
        for (std::size_t i = 1; i < days.size(); ++i) {
            EXPECT_EQ(days[i].weekday, days[i - 1].weekday % 7 + 1);
        }
    }
    EXPECT_TRUE(MakePayPeriod(1999, 13, 20, 0).empty());
    EXPECT_TRUE(MakePayPeriod(1999, 0, 0, 0).empty());
}

TEST(PayPeriod, WeekdaysAndLabels) {
    struct Case {
        PayDay day;
        std::int32_t weekday;
        const char* label;
    };
    const Case cases[] = {
        {{1999, 3, 21, 0}, 1, "03/21(日)"},  {{1999, 2, 22, 0}, 2, "02/22(月)"},
        {{2000, 2, 29, 0}, 3, "02/29(火)"},  {{1970, 1, 1, 0}, 5, "01/01(木)"},
        {{1899, 12, 30, 0}, 7, "12/30(土)"}, {{2026, 12, 7, 0}, 2, "12/07(月)"},
        {{1999, 12, 31, 0}, 6, "12/31(金)"},
    };
    for (const Case& c : cases) {
        PayDay day = c.day;
        day.weekday = WeekdayOf(day.year, day.month, day.day);
        EXPECT_EQ(day.weekday, c.weekday) << IsoDate(day);
        EXPECT_EQ(DayLabel(day), c.label);
    }
}

}  // namespace
}  // namespace pb
