#include "core/store/YearIndex.h"

#include <algorithm>

#include "core/store/Records.h"

namespace pb {
namespace {

// 41 records: the largest whole number of records in 64 KiB.
constexpr std::size_t kPieceSize = 65536 / kMonthRecordSize * kMonthRecordSize;
constexpr int kDirectIds = 1000;
constexpr int kDirectMonths = 13;

std::string_view IdIn(const std::uint8_t* record) {
    const std::size_t length = std::min<std::size_t>(record[0], kIdLength);
    return {reinterpret_cast<const char*>(record + 1), length};
}

int MonthIn(const std::uint8_t* record) {
    return record[kMonthOffset] | record[kMonthOffset + 1] << 8;
}

// The stored ID (length and up to three bytes) above the month.
std::uint64_t KeyOf(std::string_view storedId, int month) {
    std::uint64_t key = storedId.size();
    for (std::size_t i = 0; i < kIdLength; ++i) {
        key <<= 8;
        if (i < storedId.size())
            key |= static_cast<std::uint8_t>(storedId[i]);
    }
    return key << 16 | static_cast<std::uint16_t>(month);
}

std::uint64_t IdPart(std::uint64_t key) {
    return key >> 16;
}

// The slot of a key in the direct table, when it has one.
std::optional<std::size_t> DirectSlot(std::uint64_t key) {
    const int month = static_cast<int>(key & 0xFFFF);
    if (IdPart(key) >> 24 != kIdLength || month >= kDirectMonths)
        return std::nullopt;
    int number = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const int digit = static_cast<int>(IdPart(key) >> shift & 0xFF) - '0';
        if (digit < 0 || digit > 9)
            return std::nullopt;
        number = number * 10 + digit;
    }
    return static_cast<std::size_t>(number * kDirectMonths + month);
}

}  // namespace

YearIndex::YearIndex(const FileStamp& stamp)
    : direct_(kDirectIds * kDirectMonths, 0), stamp_(stamp) {}

std::uint64_t YearIndex::Records() const {
    return stamp_.size / kMonthRecordSize;
}

std::optional<std::uint32_t> YearIndex::Lookup(std::uint64_t key) const {
    if (const auto slot = DirectSlot(key)) {
        if (direct_[*slot] == 0)
            return std::nullopt;
        return direct_[*slot] - 1;
    }
    const auto found = other_.find(key);
    if (found == other_.end())
        return std::nullopt;
    return found->second;
}

void YearIndex::Add(const std::uint8_t* record) {
    const std::uint64_t key = KeyOf(IdIn(record), MonthIn(record));
    const auto number = static_cast<std::uint32_t>(scanned_++);
    // A key stored twice is found where a scan from the start finds it: first.
    if (const auto slot = DirectSlot(key)) {
        if (direct_[*slot] == 0)
            direct_[*slot] = number + 1;
    } else {
        other_.try_emplace(key, number);
    }
}

void YearIndex::ReadOn(const FileSystem& fs, const std::string& path,
                       std::optional<std::uint64_t> key, const std::atomic<bool>* stop,
                       std::uint64_t limit) {
    const std::uint64_t records = Records();
    if (scanned_ >= records || limit < kPieceSize)
        return;
    std::uint64_t read = 0;
    fs.ReadPieces(path, scanned_ * kMonthRecordSize, kPieceSize,
                  [&](const std::uint8_t* data, std::size_t size) {
                      for (std::size_t o = 0; o + kMonthRecordSize <= size && scanned_ < records;
                           o += kMonthRecordSize)
                          Add(data + o);
                      read += size;
                      if (key && Lookup(*key))
                          return false;
                      return scanned_ < records && (stop == nullptr || !*stop) &&
                             read + kPieceSize <= limit;
                  });
}

std::optional<std::uint32_t> YearIndex::Find(const FileSystem& fs, const std::string& path,
                                             std::string_view storedId, int month) {
    const std::uint64_t key = KeyOf(storedId, month);
    if (auto found = Lookup(key); found || IsComplete())
        return found;
    ReadOn(fs, path, key);
    return Lookup(key);
}

KnownRecord YearIndex::Look(const FileSystem& fs, const std::string& path,
                            std::string_view storedId, int month, std::uint64_t budget) {
    const std::uint64_t key = KeyOf(storedId, month);
    if (auto found = Lookup(key); found || IsComplete())
        return {true, found};
    ReadOn(fs, path, key, nullptr, budget);
    if (auto found = Lookup(key); found || IsComplete())
        return {true, found};
    return {};
}

Share YearIndex::ShareOf(const FileSystem& fs, const std::string& path, std::string_view storedId,
                         int month) {
    Complete(fs, path);
    // Every record's key is in the index (a key stored twice once): the keys
    // tell which records there are.
    const std::uint64_t key = KeyOf(storedId, month);
    const auto matches = [&](std::uint64_t k) {
        return month == 0 ? IdPart(k) == IdPart(key) : k == key;
    };
    std::size_t asked = 0;
    std::size_t keys = 0;
    for (std::size_t slot = 0; slot < direct_.size(); ++slot) {
        if (direct_[slot] == 0)
            continue;
        ++keys;
        // The slot's key, rebuilt from the ID's number and the month.
        const int number = static_cast<int>(slot) / kDirectMonths;
        const char id[] = {static_cast<char>('0' + number / 100),
                           static_cast<char>('0' + number / 10 % 10),
                           static_cast<char>('0' + number % 10)};
        asked += matches(KeyOf({id, kIdLength}, static_cast<int>(slot) % kDirectMonths)) ? 1 : 0;
    }
    for (const auto& entry : other_) {
        ++keys;
        asked += matches(entry.first) ? 1 : 0;
    }
    if (asked == 0)
        return Share::None;
    return asked == keys ? Share::All : Share::Some;
}

void YearIndex::Appended(const std::uint8_t* record) {
    // An index still reading on finds the record when it gets there.
    if (scanned_ + 1 == Records())
        Add(record);
}

YearIndex* YearIndexes::Current(const FileSystem& fs, const std::string& path) {
    const std::optional<FileStamp> stamp = fs.Stamp(path);
    if (!stamp) {
        indexes_.erase(path);
        return nullptr;
    }
    auto known = indexes_.find(path);
    if (known == indexes_.end())
        return &indexes_.try_emplace(path, *stamp).first->second;
    if (known->second.Stamp() != *stamp)
        known->second = YearIndex(*stamp);
    return &known->second;
}

std::optional<std::uint32_t> YearIndexes::Find(const FileSystem& fs, const std::string& path,
                                               std::string_view storedId, int month) {
    YearIndex* index = Current(fs, path);
    if (index == nullptr)
        return std::nullopt;
    return index->Find(fs, path, storedId, month);
}

Share YearIndexes::ShareOf(const FileSystem& fs, const std::string& path, std::string_view storedId,
                           int month) {
    YearIndex* index = Current(fs, path);
    return index == nullptr ? Share::None : index->ShareOf(fs, path, storedId, month);
}

void YearIndexes::Complete(const FileSystem& fs, const std::string& path) {
    if (YearIndex* index = Current(fs, path))
        index->Complete(fs, path);
}

KnownRecord YearIndexes::Look(const FileSystem& fs, const std::string& path,
                              std::string_view storedId, int month, std::uint64_t budget) {
    YearIndex* index = Current(fs, path);
    if (index == nullptr)
        return {true, std::nullopt};
    return index->Look(fs, path, storedId, month, budget);
}

bool YearIndexes::IsIndexed(const FileSystem& fs, const std::string& path) const {
    const auto known = indexes_.find(path);
    return known != indexes_.end() && known->second.IsComplete() &&
           fs.Stamp(path) == known->second.Stamp();
}

bool YearIndexes::Adopt(const FileSystem& fs, const std::string& path, YearIndex index) {
    if (!index.IsComplete() || fs.Stamp(path) != index.Stamp())
        return false;
    const auto known = indexes_.find(path);
    if (known != indexes_.end() && known->second.Stamp() == index.Stamp() &&
        known->second.IsComplete())
        return true;  // the one here is as good
    indexes_.insert_or_assign(path, std::move(index));
    return true;
}

std::optional<YearIndex> ReadYearIndex(const FileSystem& fs, const std::string& path,
                                       const std::atomic<bool>& stop) {
    const std::optional<FileStamp> stamp = fs.Stamp(path);
    if (!stamp)
        return std::nullopt;
    YearIndex index(*stamp);
    index.Complete(fs, path, &stop);
    if (!index.IsComplete())
        return std::nullopt;
    return index;
}

void YearIndexes::Wrote(const FileSystem& fs, const std::string& path, const Bytes& record,
                        bool appended) {
    const auto known = indexes_.find(path);
    if (known == indexes_.end())
        return;
    const std::optional<FileStamp> stamp = fs.Stamp(path);
    if (!stamp) {
        indexes_.erase(known);
        return;
    }
    known->second.Restamp(*stamp);
    if (appended)
        known->second.Appended(record.data());
}

}  // namespace pb
