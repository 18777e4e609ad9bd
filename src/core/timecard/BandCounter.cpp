#include "core/timecard/BandCounter.h"

#include <algorithm>
#include <vector>

#include "core/common/Routines.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

BandMinutes Sum(BandMinutes a, const BandMinutes& b) {
    for (int d = 0; d < 3; ++d) {
        a[d] += b[d];
    }
    return a;
}

BandMinutes Difference(BandMinutes a, const BandMinutes& b) {
    for (int d = 0; d < 3; ++d) {
        a[d] -= b[d];
    }
    return a;
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

BandCounter::BandCounter(BandBounds bounds) {
    // Each test of ClassifyMinute flips only where t′ passes a bound, so the
    // band is constant between 0, b + 1 for each bound, and 1440.
    std::vector<std::int32_t> cuts{0, 1440};
    for (const std::int32_t b : {bounds.b1, bounds.b2, bounds.b3}) {
        if (b + 1 > 0 && b + 1 < 1440) {
            cuts.push_back(b + 1);
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    segmentCount_ = static_cast<int>(cuts.size()) - 1;
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
    BandMinutes counts = before_[i];
    counts[segmentBand_[i] - 1] += rest - segmentStart_[i];
    for (int d = 0; d < 3; ++d) {
        counts[d] += days * perDay_[d];
    }
    return counts;
}

BandMinutes BandCounter::CountRange(std::int32_t first, std::int32_t last) const {
    first = std::max(first, 0);
    if (last < first) {
        return {};
    }
    return Difference(CountBefore(last + 1), CountBefore(first));
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
