#include "core/timecard/BandCounter.h"

#include <algorithm>
#include <vector>

#include "core/common/Routines.h"
#include "core/timecard/WorkPattern.h"

namespace pb {

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
        perDay_[segmentBand_[i] - 1] += cuts[i + 1] - cuts[i];
    }
    segmentStart_[segmentCount_] = 1440;
}

BandMinutes BandCounter::CountBefore(std::int64_t end) const {
    const std::int64_t days = end / 1440;
    const std::int32_t rest = static_cast<std::int32_t>(end % 1440);
    BandMinutes counts{};
    for (int d = 0; d < 3; ++d) {
        counts[d] = static_cast<std::int32_t>(days * perDay_[d]);
    }
    for (int i = 0; i < segmentCount_ && segmentStart_[i] < rest; ++i) {
        counts[segmentBand_[i] - 1] += std::min(rest, segmentStart_[i + 1]) - segmentStart_[i];
    }
    return counts;
}

BandMinutes BandCounter::CountRange(std::int32_t first, std::int32_t last) const {
    BandMinutes counts{};
    if (last < first) {
        return counts;
    }
    std::int32_t from = first;
    // Below zero t mod 1440 is negative and the day profile does not apply;
    // clock times never get there, but the count stays exact if they did.
    if (counting_ == MinuteCounting::PerMinute || from < 0) {
        const std::int32_t stop =
            counting_ == MinuteCounting::PerMinute ? last : std::min(last, -1);
        for (; from <= stop; ++from) {
            ++counts[ClassifyMinute(from, bounds_.b1, bounds_.b2, bounds_.b3) - 1];
        }
        if (from > last) {
            return counts;
        }
    }
    const BandMinutes upTo = CountBefore(static_cast<std::int64_t>(last) + 1);
    const BandMinutes before = CountBefore(from);
    for (int d = 0; d < 3; ++d) {
        counts[d] += upTo[d] - before[d];
    }
    return counts;
}

BandMinutes BandCounter::CountDay(std::int32_t clockIn, std::int32_t breakStart,
                                  std::int32_t breakEnd, std::int32_t clockOut,
                                  bool withBreak) const {
    if (!withBreak) {
        if (clockOut <= clockIn) {
            clockOut += 1440;
        }
        return CountRange(clockIn + 1, clockOut);
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
    BandMinutes counts = CountRange(clockIn + 1, breakStart - 1);
    const BandMinutes afterBreak = CountRange(breakEnd, clockOut);
    for (int d = 0; d < 3; ++d) {
        counts[d] += afterBreak[d];
    }
    return counts;
}

}  // namespace pb
