#pragma once
// Little-endian fields of the fixed-size records in the data files. Records are
// read and written field by field at their stated offsets, never as structs.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pb {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t GetByte(const Bytes& buf, std::size_t offset);
std::uint16_t GetUInt16(const Bytes& buf, std::size_t offset);
std::int32_t GetInt32(const Bytes& buf, std::size_t offset);
double GetDouble(const Bytes& buf, std::size_t offset);
// A stored time of day: a value that is no number (NaN, infinity) reads as
// midnight, so a damaged record cannot stop every screen that shows it.
double GetTimeValue(const Bytes& buf, std::size_t offset);

void PutByte(Bytes& buf, std::size_t offset, std::uint8_t value);
void PutUInt16(Bytes& buf, std::size_t offset, std::uint16_t value);
void PutInt32(Bytes& buf, std::size_t offset, std::int32_t value);
void PutDouble(Bytes& buf, std::size_t offset, double value);

// string[N]: a length byte and N bytes of Shift-JIS text. A length byte above N
// is read as N.
std::string GetShortStringRaw(const Bytes& buf, std::size_t offset, std::size_t capacity);
// The same, decoded to UTF-8 (undecodable bytes become U+FFFD).
std::string GetShortString(const Bytes& buf, std::size_t offset, std::size_t capacity);

// Writes raw Shift-JIS bytes cut to `capacity` at a character boundary; the
// unused bytes of the field are zeroed.
void PutShortStringRaw(Bytes& buf, std::size_t offset, std::size_t capacity, std::string_view sjis);
// Encodes UTF-8 to Shift-JIS and writes it as above.
void PutShortString(Bytes& buf, std::size_t offset, std::size_t capacity, std::string_view utf8);

}  // namespace pb
