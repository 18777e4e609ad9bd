#include "core/store/Records.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

#include "core/common/ShiftJis.h"

namespace pb {
namespace {

// How a member of type T is stored. Every double of the records is a time of
// day; runs of 32-bit integers lie one after the other.
template <typename T>
struct Codec;

template <>
struct Codec<std::uint8_t> {
    static void Put(Bytes& b, std::size_t at, std::uint8_t v) { PutByte(b, at, v); }
    static std::uint8_t Get(const Bytes& b, std::size_t at) { return GetByte(b, at); }
};
template <>
struct Codec<std::uint16_t> {
    static void Put(Bytes& b, std::size_t at, std::uint16_t v) { PutUInt16(b, at, v); }
    static std::uint16_t Get(const Bytes& b, std::size_t at) { return GetUInt16(b, at); }
};
template <>
struct Codec<std::int32_t> {
    static void Put(Bytes& b, std::size_t at, std::int32_t v) { PutInt32(b, at, v); }
    static std::int32_t Get(const Bytes& b, std::size_t at) { return GetInt32(b, at); }
};
template <>
struct Codec<double> {
    static void Put(Bytes& b, std::size_t at, double v) { PutDouble(b, at, v); }
    static double Get(const Bytes& b, std::size_t at) { return GetTimeValue(b, at); }
};
template <std::size_t N>
struct Codec<std::array<std::int32_t, N>> {
    static void Put(Bytes& b, std::size_t at, const std::array<std::int32_t, N>& v) {
        for (std::size_t i = 0; i < N; ++i) {
            PutInt32(b, at + 4 * i, v[i]);
        }
    }
    static std::array<std::int32_t, N> Get(const Bytes& b, std::size_t at) {
        std::array<std::int32_t, N> v{};
        for (std::size_t i = 0; i < N; ++i) {
            v[i] = GetInt32(b, at + 4 * i);
        }
        return v;
    }
};

// The month's cells lie column by column, each a string[5].
template <>
struct Codec<MonthRecord::CellTexts> {
    static std::size_t At(std::size_t at, int column, int row) {
        constexpr std::size_t kColumnStride = kCellRows * (kCellLength + 1);  // 186
        return at + static_cast<std::size_t>(column) * kColumnStride +
               static_cast<std::size_t>(row) * (kCellLength + 1);
    }
    // Cells are clock times, ASCII as a rule: those are copied as they stand.
    static void CheckBlock(const Bytes& b, std::size_t at) {
        if (at + kCellColumns * kCellRows * (kCellLength + 1) > b.size())
            throw std::out_of_range("record field outside the record");
    }
    static void Put(Bytes& b, std::size_t at, const MonthRecord::CellTexts& cells) {
        CheckBlock(b, at);
        for (int c = 0; c < kCellColumns; ++c) {
            for (int row = 0; row < kCellRows; ++row) {
                const std::string& text = cells[c][row];
                if (text.size() > kCellLength || !IsAsciiText(text)) {
                    PutShortString(b, At(at, c, row), kCellLength, text);
                    continue;
                }
                std::uint8_t* slot = b.data() + At(at, c, row);
                slot[0] = static_cast<std::uint8_t>(text.size());
                std::memcpy(slot + 1, text.data(), text.size());
                std::memset(slot + 1 + text.size(), 0, kCellLength - text.size());
            }
        }
    }
    static MonthRecord::CellTexts Get(const Bytes& b, std::size_t at) {
        CheckBlock(b, at);
        MonthRecord::CellTexts cells;
        for (int c = 0; c < kCellColumns; ++c) {
            for (int row = 0; row < kCellRows; ++row) {
                const std::uint8_t* slot = b.data() + At(at, c, row);
                const std::string_view raw(reinterpret_cast<const char*>(slot + 1),
                                           std::min<std::size_t>(slot[0], kCellLength));
                if (IsAsciiText(raw))
                    cells[c][row].assign(raw);
                else
                    cells[c][row] = DecodeSjis(raw).text;
            }
        }
        return cells;
    }
};

// One field of a record's byte layout: where it lies and how its member is
// written and read.
template <typename R>
struct Field {
    std::size_t offset;
    void (*put)(Bytes&, std::size_t, const R&);
    void (*get)(const Bytes&, std::size_t, R&);
};

template <typename M>
struct MemberOf;
template <typename R, typename T>
struct MemberOf<T R::*> {
    using Record = R;
    using Type = T;
};

// The field of `member` at `offset`, stored as its type says.
template <auto member>
constexpr Field<typename MemberOf<decltype(member)>::Record> At(std::size_t offset) {
    using R = typename MemberOf<decltype(member)>::Record;
    using C = Codec<typename MemberOf<decltype(member)>::Type>;
    return {offset, [](Bytes& b, std::size_t at, const R& r) { C::Put(b, at, r.*member); },
            [](const Bytes& b, std::size_t at, R& r) { r.*member = C::Get(b, at); }};
}

// A text member as a short Shift-JIS string of `capacity` bytes.
template <auto member, std::size_t capacity>
constexpr Field<typename MemberOf<decltype(member)>::Record> TextAt(std::size_t offset) {
    using R = typename MemberOf<decltype(member)>::Record;
    return {
        offset,
        [](Bytes& b, std::size_t at, const R& r) { PutShortString(b, at, capacity, r.*member); },
        [](const Bytes& b, std::size_t at, R& r) { r.*member = GetShortString(b, at, capacity); }};
}

// A word that holds no member: written as `value`, never read.
template <typename R, std::int32_t value>
constexpr Field<R> ReservedAt(std::size_t offset) {
    return {offset, [](Bytes& b, std::size_t at, const R&) { PutInt32(b, at, value); },
            [](const Bytes&, std::size_t, R&) {}};
}

template <typename R, std::size_t N>
Bytes Encode(const R& r, const std::array<Field<R>, N>& layout, std::size_t size) {
    Bytes buf(size, 0);
    for (const Field<R>& field : layout) {
        field.put(buf, field.offset, r);
    }
    return buf;
}

template <typename R, std::size_t N>
R Decode(const Bytes& buf, std::size_t offset, const std::array<Field<R>, N>& layout,
         std::size_t size) {
    if (offset > buf.size() || size > buf.size() - offset) {
        throw std::out_of_range("record outside the buffer");
    }
    R r;
    for (const Field<R>& field : layout) {
        field.get(buf, offset + field.offset, r);
    }
    return r;
}

// Both wage records start alike; the reserved word at 24 has always been 1 in
// the files the payroll program reads, so it is written that way.
template <typename R, std::size_t N>
constexpr std::array<Field<R>, 7 + N> WageLayout(const std::array<Field<R>, N>& rest) {
    const std::array<Field<R>, 7> head{
        TextAt<&R::ID, kIdLength>(0),
        At<&R::Current>(kWageCurrentOffset),
        At<&R::Generation>(kWageGenerationOffset),
        ReservedAt<R, 0>(12),
        At<&R::WorkType>(16),
        At<&R::ClosingDay>(20),
        ReservedAt<R, 1>(24),
    };
    std::array<Field<R>, 7 + N> layout{};
    for (std::size_t i = 0; i < 7; ++i) {
        layout[i] = head[i];
    }
    for (std::size_t i = 0; i < N; ++i) {
        layout[7 + i] = rest[i];
    }
    return layout;
}

constexpr std::array kNameLayout{
    TextAt<&NameRecord::ID, kIdLength>(0),
    TextAt<&NameRecord::Name, kNameLength>(kNameOffset),
    At<&NameRecord::Linked>(kLinkedOffset),
    At<&NameRecord::WagesCode>(kWagesCodeOffset),
};

constexpr auto kDailyWagesLayout = WageLayout(std::array{
    At<&DailyWagesRecord::HalfHoliday>(28),
    At<&DailyWagesRecord::Holiday>(32),
    At<&DailyWagesRecord::Holiday1>(36),
    At<&DailyWagesRecord::Holiday2>(40),
    At<&DailyWagesRecord::Holiday3>(44),
    At<&DailyWagesRecord::WeekdayMorningPay>(48),
    At<&DailyWagesRecord::WeekdayOverPay>(52),
    At<&DailyWagesRecord::WeekdayEarMornPay>(56),
    At<&DailyWagesRecord::WeekdayNightPay>(60),
    At<&DailyWagesRecord::HolidayMorningPay>(64),
    At<&DailyWagesRecord::HolidayOverPay>(68),
    At<&DailyWagesRecord::HolidayEarMornPay>(72),
    At<&DailyWagesRecord::HolidayNightPay>(76),
    At<&DailyWagesRecord::TimeToStartWork>(80),
    At<&DailyWagesRecord::TimeToFinishWork>(88),
    At<&DailyWagesRecord::TimeToStartNight>(96),
    At<&DailyWagesRecord::TimeToFinishMorning>(104),
    At<&DailyWagesRecord::TimeToFinishWorkHH>(112),
});

constexpr auto kTimeWagesLayout = WageLayout(std::array{
    At<&TimeWagesRecord::TimePay>(28),
    At<&TimeWagesRecord::Band1Pays>(32),  // seven rates each, Sunday first
    At<&TimeWagesRecord::Band2Pays>(60),
    At<&TimeWagesRecord::Band3Pays>(88),
    At<&TimeWagesRecord::ChargeDivideTime1>(116),
    At<&TimeWagesRecord::ChargeDivideTime2>(120),
    At<&TimeWagesRecord::ChargeDivideTime3>(124),
});

// clang-format off
constexpr std::array kMonthLayout{
    TextAt<&MonthRecord::ID, kIdLength>(0),
    At<&MonthRecord::PayScheme>(4),
    At<&MonthRecord::WagesGeneration>(8),
    At<&MonthRecord::Month>(kMonthOffset),
    At<&MonthRecord::DayCount>(16),
    At<&MonthRecord::Cells>(20),  // 8 columns of 31 cells
    At<&MonthRecord::TotalOverPay>(1508),
    At<&MonthRecord::WorkDays>(1512),
    At<&MonthRecord::TotalOverMinutes>(1516),
    At<&MonthRecord::HolidayPay>(1520),
    At<&MonthRecord::HolidayWorkDays>(1524),
    At<&MonthRecord::HolidayMinutes>(1532),
};
// clang-format on

constexpr std::array kNextCellLayout{
    At<&NextCellRecord::Pattern>(0),
    At<&NextCellRecord::Moves>(4),
};

}  // namespace

Bytes ToBytes(const NameRecord& r) {
    return Encode(r, kNameLayout, kNameRecordSize);
}
NameRecord NameRecordFromBytes(const Bytes& buf, std::size_t offset) {
    return Decode(buf, offset, kNameLayout, kNameRecordSize);
}

Bytes ToBytes(const DailyWagesRecord& r) {
    return Encode(r, kDailyWagesLayout, kDailyWagesRecordSize);
}
DailyWagesRecord DailyWagesRecordFromBytes(const Bytes& buf, std::size_t offset) {
    return Decode(buf, offset, kDailyWagesLayout, kDailyWagesRecordSize);
}

Bytes ToBytes(const TimeWagesRecord& r) {
    return Encode(r, kTimeWagesLayout, kTimeWagesRecordSize);
}
TimeWagesRecord TimeWagesRecordFromBytes(const Bytes& buf, std::size_t offset) {
    return Decode(buf, offset, kTimeWagesLayout, kTimeWagesRecordSize);
}

Bytes ToBytes(const MonthRecord& r) {
    return Encode(r, kMonthLayout, kMonthRecordSize);
}
MonthRecord MonthRecordFromBytes(const Bytes& buf, std::size_t offset) {
    return Decode(buf, offset, kMonthLayout, kMonthRecordSize);
}

Bytes ToBytes(const NextCellRecord& r) {
    return Encode(r, kNextCellLayout, kNextCellRecordSize);
}
NextCellRecord NextCellRecordFromBytes(const Bytes& buf, std::size_t offset) {
    return Decode(buf, offset, kNextCellLayout, kNextCellRecordSize);
}

std::string StoredId(const Bytes& buf, std::size_t offset) {
    return GetShortStringRaw(buf, offset, kIdLength);
}

std::string StoredIdOf(const std::string& utf8Id) {
    return CutSjis(EncodeSjis(utf8Id), kIdLength);
}

}  // namespace pb
