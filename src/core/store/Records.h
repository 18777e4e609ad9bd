#pragma once
// The byte layouts of the records: short Shift-JIS strings and little-endian
// numbers on disk, read and written field by field at their offsets.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/common/RecordFields.h"
#include "core/model/Records.h"

namespace pb {

constexpr std::size_t kNameRecordSize = 36;
constexpr std::size_t kDailyWagesRecordSize = 120;
constexpr std::size_t kTimeWagesRecordSize = 128;
constexpr std::size_t kMonthRecordSize = 1568;
constexpr std::size_t kNextCellRecordSize = 260;
// "Name.dat" holds one record per employee, IDs 001 … 999.
constexpr std::uint64_t kMaxNameRecords = 999;

// The fields that files are searched by without reading whole records. The
// layouts in Records.cpp place them at these offsets.
constexpr std::size_t kNameOffset = 4;            // NameRecord::Name
constexpr std::size_t kLinkedOffset = 28;         // NameRecord::Linked
constexpr std::size_t kWagesCodeOffset = 32;      // NameRecord::WagesCode
constexpr std::size_t kWageCurrentOffset = 4;     // Current of either wage record
constexpr std::size_t kWageGenerationOffset = 8;  // Generation of either wage record
constexpr std::size_t kMonthOffset = 12;          // MonthRecord::Month

Bytes ToBytes(const NameRecord& record);
Bytes ToBytes(const DailyWagesRecord& record);
Bytes ToBytes(const TimeWagesRecord& record);
Bytes ToBytes(const MonthRecord& record);
Bytes ToBytes(const NextCellRecord& record);

// Each reads one record starting at `offset` of `buf`.
NameRecord NameRecordFromBytes(const Bytes& buf, std::size_t offset = 0);
DailyWagesRecord DailyWagesRecordFromBytes(const Bytes& buf, std::size_t offset = 0);
TimeWagesRecord TimeWagesRecordFromBytes(const Bytes& buf, std::size_t offset = 0);
MonthRecord MonthRecordFromBytes(const Bytes& buf, std::size_t offset = 0);
NextCellRecord NextCellRecordFromBytes(const Bytes& buf, std::size_t offset = 0);

// The ID as the file holds it (Shift-JIS bytes, at most 3): IDs are keys and are
// compared byte for byte, never after decoding.
std::string StoredId(const Bytes& buf, std::size_t offset);
// An ID typed by the operator as it would be stored.
std::string StoredIdOf(const std::string& utf8Id);

}  // namespace pb
