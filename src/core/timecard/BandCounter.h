#pragma once
// Time bands of an hourly wage (区分１ … 区分３) and the count of worked minutes
// that fall into each.

#include <array>
#include <cstdint>

namespace pb {

// The times, in minutes of the day, at which bands 1, 2 and 3 end. Band 2 runs
// after b1 up to b2, band 3 after b2 up to b3, band 1 is the rest of the day.
struct BandBounds {
    std::int32_t b1 = 0;
    std::int32_t b2 = 0;
    std::int32_t b3 = 0;
};

// The bounds of a work pattern from the record's `ChargeDivideTime1` … 3 (time
// steps; 288 steps, 24:00, count as 00:00). Two-band patterns end band 3 where
// band 2 ends, one-band patterns collapse every bound onto b2, so nothing ever
// falls into a band the pattern lacks.
BandBounds MakeBandBounds(std::int32_t workType, std::int32_t chargeDivideTime1,
                          std::int32_t chargeDivideTime2, std::int32_t chargeDivideTime3);

// The band (1, 2 or 3) of the minute that ends at `t` (minutes, any day): with
// t′ = t mod 1440, band 1 when t′ ≤ b1, else band 2 when t′ ≤ b2, else band 1
// when t′ > b3, else band 3.
int ClassifyMinute(std::int32_t t, std::int32_t b1, std::int32_t b2, std::int32_t b3);

// Minutes per band; [0] is band 1.
using BandMinutes = std::array<std::int32_t, 3>;

// The minutes t an hourly day counts, as up to two ranges first … last (both
// included), after the moves to the next day that `BandCounter::CountDay`
// describes. [0] is before the break (or the whole day), [1] after it.
struct WorkedRanges {
    std::array<std::array<std::int32_t, 2>, 2> ranges{};
    int count = 0;
};
WorkedRanges WorkedMinutes(std::int32_t clockIn, std::int32_t breakStart, std::int32_t breakEnd,
                           std::int32_t clockOut, bool withBreak);

// Counts the worked minutes of hourly days by band for one set of bounds: by
// the overlaps of the worked span with each band, which give exactly what
// `ClassifyMinute` on every minute gives, in a few steps a day.
class BandCounter {
  public:
    explicit BandCounter(BandBounds bounds);

    // The minutes t = first … last (both included) by band; nothing when last < first.
    // Minutes before 0 are not counted (clock times never reach there). Spans
    // of a few days at most: counts are 32-bit.
    BandMinutes CountRange(std::int32_t first, std::int32_t last) const;

    // One day's minutes (clock texts already read as minutes of the day).
    // With a break: a break start not after clock-in, a break end not after the
    // break start and a clock-out not after the break end each move to the next
    // day; the minutes after clock-in up to the one before the break start, and
    // from the break end to clock-out, are counted. Without a break: a clock-out
    // not after clock-in moves to the next day (equal times make 24 hours) and
    // the minutes after clock-in up to clock-out are counted.
    BandMinutes CountDay(std::int32_t clockIn, std::int32_t breakStart, std::int32_t breakEnd,
                         std::int32_t clockOut, bool withBreak) const;

  private:
    // Minutes t in [0, end) by band, for end ≥ 0.
    BandMinutes CountBefore(std::int32_t end) const;

    // The day [0, 1440) cut where the band can change: segment i is
    // [segmentStart_[i], segmentStart_[i + 1]) and lies in band segmentBand_[i].
    std::array<std::int32_t, 6> segmentStart_{};
    std::array<int, 5> segmentBand_{};
    std::array<BandMinutes, 5> before_{};  // minutes by band before each segment
    int segmentCount_ = 0;
    BandMinutes perDay_{};
};

}  // namespace pb
