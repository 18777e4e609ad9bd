#include "core/common/RecordFields.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "core/common/ShiftJis.h"

namespace pb {
namespace {

void CheckRange(const Bytes& buf, std::size_t offset, std::size_t size) {
    if (offset > buf.size() || size > buf.size() - offset) {
        throw std::out_of_range("record field outside the record");
    }
}

std::uint64_t GetLittle(const Bytes& buf, std::size_t offset, std::size_t size) {
    CheckRange(buf, offset, size);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<std::uint64_t>(buf[offset + i]) << (8 * i);
    }
    return value;
}

void PutLittle(Bytes& buf, std::size_t offset, std::size_t size, std::uint64_t value) {
    CheckRange(buf, offset, size);
    for (std::size_t i = 0; i < size; ++i) {
        buf[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

std::uint8_t GetByte(const Bytes& buf, std::size_t offset) {
    return static_cast<std::uint8_t>(GetLittle(buf, offset, 1));
}
std::uint16_t GetUInt16(const Bytes& buf, std::size_t offset) {
    return static_cast<std::uint16_t>(GetLittle(buf, offset, 2));
}
std::int32_t GetInt32(const Bytes& buf, std::size_t offset) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLittle(buf, offset, 4)));
}
double GetDouble(const Bytes& buf, std::size_t offset) {
    return std::bit_cast<double>(GetLittle(buf, offset, 8));
}
double GetTimeValue(const Bytes& buf, std::size_t offset) {
    const double value = GetDouble(buf, offset);
    return std::isfinite(value) ? value : 0.0;
}

void PutByte(Bytes& buf, std::size_t offset, std::uint8_t value) {
    PutLittle(buf, offset, 1, value);
}
void PutUInt16(Bytes& buf, std::size_t offset, std::uint16_t value) {
    PutLittle(buf, offset, 2, value);
}
void PutInt32(Bytes& buf, std::size_t offset, std::int32_t value) {
    PutLittle(buf, offset, 4, static_cast<std::uint32_t>(value));
}
void PutDouble(Bytes& buf, std::size_t offset, double value) {
    PutLittle(buf, offset, 8, std::bit_cast<std::uint64_t>(value));
}

std::string GetShortStringRaw(const Bytes& buf, std::size_t offset, std::size_t capacity) {
    CheckRange(buf, offset, capacity + 1);
    const std::size_t length = std::min<std::size_t>(buf[offset], capacity);
    return std::string(reinterpret_cast<const char*>(buf.data() + offset + 1), length);
}

std::string GetShortString(const Bytes& buf, std::size_t offset, std::size_t capacity) {
    CheckRange(buf, offset, capacity + 1);
    const std::string_view raw(reinterpret_cast<const char*>(buf.data() + offset + 1),
                               std::min<std::size_t>(buf[offset], capacity));
    // Most stored texts are clock times and IDs: ASCII reads as it stands.
    if (IsAsciiText(raw))
        return std::string(raw);
    return DecodeSjis(raw).text;
}

void PutShortStringRaw(Bytes& buf, std::size_t offset, std::size_t capacity,
                       std::string_view sjis) {
    CheckRange(buf, offset, capacity + 1);
    const std::size_t length = SjisCutLength(sjis, std::min<std::size_t>(capacity, 255));
    buf[offset] = static_cast<std::uint8_t>(length);
    std::memcpy(buf.data() + offset + 1, sjis.data(), length);
    std::fill(buf.begin() + static_cast<std::ptrdiff_t>(offset + 1 + length),
              buf.begin() + static_cast<std::ptrdiff_t>(offset + 1 + capacity), 0);
}

void PutShortString(Bytes& buf, std::size_t offset, std::size_t capacity, std::string_view utf8) {
    if (IsAsciiText(utf8))
        PutShortStringRaw(buf, offset, capacity, utf8);
    else
        PutShortStringRaw(buf, offset, capacity, EncodeSjis(utf8));
}

}  // namespace pb
