#include "core/timecard/BandCounter.h"

#include <algorithm>

#include "core/common/Routines.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

// Sums and differences band by band, written out element by element: a loop
// over an index leaves the array in memory, and handing it back then stalls on
// those stores (these run a few times for every day of every month).
BandMinutes Sum(const BandMinutes& a, const BandMinutes& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

BandMinutes Difference(const BandMinutes& a, const BandMinutes& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

}  // namespace

BandBounds MakeBandBounds(std::int32_t workType, std::int32_t chargeDivideTime1,
                          std::int32_t chargeDivideTime2, std::int32_t chargeDivideTime3) {
    BandBounds b{StepsToMinutes(chargeDivideTime1), StepsToMinutes(chargeDivideTime2),
                 StepsToMinutes(chargeDivideTime3)};
    switch (BandCount(workType)) {
        case 1:
            b.b1 = b.b2;
            b.b3 = b.b2;
            break;
        case 2:
            b.b3 = b.b2;
            break;
        default:
            break;
    }
    return b;
}

int ClassifyMinute(std::int32_t t, std::int32_t b1, std::int32_t b2, std::int32_t b3) {
    const std::int32_t time = t % 1440;
    if (time <= b1) {
        return 1;
    }
    if (time <= b2) {
        return 2;
    }
    if (time > b3) {
        return 1;
    }
    return 3;
}

BandCounter::BandCounter(BandBounds bounds, MinuteCounting counting)
    : bounds_(bounds), counting_(counting) {
    // Each test of ClassifyMinute flips only where t′ passes a bound, so the
    // band is constant between 0, b + 1 for each bound, and 1440.
    std::array<std::int32_t, 5> cuts{0, 1440};
    std::size_t count = 2;
    for (const std::int32_t b : {bounds.b1, bounds.b2, bounds.b3}) {
        if (b + 1 > 0 && b + 1 < 1440) {
            cuts[count++] = b + 1;
        }
    }
    // At most five points: sort them by insertion, dropping repeats.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t point = cuts[i];
        std::size_t at = 0;
        while (at < kept && cuts[at] < point) {
            ++at;
        }
        if (at < kept && cuts[at] == point) {
            continue;
        }
        for (std::size_t j = kept; j > at; --j) {
            cuts[j] = cuts[j - 1];
        }
        cuts[at] = point;
        ++kept;
    }
    count = kept;
    segmentCount_ = static_cast<int>(count) - 1;
    for (int i = 0; i < segmentCount_; ++i) {
        segmentStart_[i] = cuts[i];
        segmentBand_[i] = ClassifyMinute(cuts[i], bounds.b1, bounds.b2, bounds.b3);
        before_[i] = perDay_;
        perDay_[segmentBand_[i] - 1] += cuts[i + 1] - cuts[i];
    }
    segmentStart_[segmentCount_] = 1440;
}

BandMinutes BandCounter::CountBefore(std::int32_t end) const {
    const std::int32_t days = end / 1440;
    const std::int32_t rest = end % 1440;
    int i = 0;
    while (i + 1 < segmentCount_ && segmentStart_[i + 1] <= rest) {
        ++i;
    }
    const std::int32_t inSegment = rest - segmentStart_[i];
    const int band = segmentBand_[i];
    const BandMinutes partDay{band == 1 ? inSegment : 0, band == 2 ? inSegment : 0,
                              band == 3 ? inSegment : 0};
    const BandMinutes wholeDays{days * perDay_[0], days * perDay_[1], days * perDay_[2]};
    return Sum(Sum(before_[i], partDay), wholeDays);
}

BandMinutes BandCounter::CountEachMinute(std::int32_t first, std::int32_t last) const {
    BandMinutes counts{};
    for (std::int32_t t = first; t <= last; ++t) {
        ++counts[ClassifyMinute(t, bounds_.b1, bounds_.b2, bounds_.b3) - 1];
    }
    return counts;
}

BandMinutes BandCounter::CountRange(std::int32_t first, std::int32_t last) const {
    if (counting_ == MinuteCounting::PerMinute) {
        return CountEachMinute(first, last);
    }
    BandMinutes counts{};
    if (last < first) {
        return counts;
    }
    // Below zero t mod 1440 is negative and the day profile does not apply;
    // clock times never get there, but the count stays exact if they did.
    if (first < 0) {
        counts = CountEachMinute(first, std::min(last, -1));
        if (last < 0) {
            return counts;
        }
        first = 0;
    }
    return Sum(counts, Difference(CountBefore(last + 1), CountBefore(first)));
}

WorkedRanges WorkedMinutes(std::int32_t clockIn, std::int32_t breakStart, std::int32_t breakEnd,
                           std::int32_t clockOut, bool withBreak) {
    WorkedRanges worked;
    if (!withBreak) {
        if (clockOut <= clockIn) {
            clockOut += 1440;
        }
        worked.ranges[0] = {clockIn + 1, clockOut};
        worked.count = 1;
        return worked;
    }
    if (breakStart <= clockIn) {
        breakStart += 1440;
    }
    if (breakEnd <= breakStart) {
        breakEnd += 1440;
    }
    if (clockOut <= breakEnd) {
        clockOut += 1440;
    }
    worked.ranges[0] = {clockIn + 1, breakStart - 1};
    worked.ranges[1] = {breakEnd, clockOut};
    worked.count = 2;
    return worked;
}

BandMinutes BandCounter::CountDay(std::int32_t clockIn, std::int32_t breakStart,
                                  std::int32_t breakEnd, std::int32_t clockOut,
                                  bool withBreak) const {
    const WorkedRanges worked = WorkedMinutes(clockIn, breakStart, breakEnd, clockOut, withBreak);
    const BandMinutes first = CountRange(worked.ranges[0][0], worked.ranges[0][1]);
    return worked.count == 1 ? first
                             : Sum(first, CountRange(worked.ranges[1][0], worked.ranges[1][1]));
}

}  // namespace pb
