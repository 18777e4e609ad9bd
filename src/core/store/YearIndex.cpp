#include "core/store/YearIndex.h"

#include <algorithm>
#include <limits>

#include "core/store/Records.h"

namespace pb {
namespace {

constexpr std::size_t kMonthOffset = 12;
// 41 records: the largest whole number of records in 64 KiB.
constexpr std::size_t kPieceSize = 65536 / kMonthRecordSize * kMonthRecordSize;

std::string_view IdIn(const std::uint8_t* record) {
    const std::size_t length = std::min<std::size_t>(record[0], kIdLength);
    return {reinterpret_cast<const char*>(record + 1), length};
}

int MonthIn(const std::uint8_t* record) {
    return record[kMonthOffset] | record[kMonthOffset + 1] << 8;
}

// Never the stamp of a file: an index that carries it is rebuilt at the next look.
constexpr FileStamp kUntrusted{std::numeric_limits<std::uint64_t>::max(), 0, 0, 0};

}  // namespace

std::uint64_t YearIndex::KeyOf(std::string_view storedId, int month) {
    std::uint64_t key = storedId.size();
    for (std::size_t i = 0; i < kIdLength; ++i) {
        key <<= 8;
        if (i < storedId.size())
            key |= static_cast<std::uint8_t>(storedId[i]);
    }
    return key << 16 | static_cast<std::uint16_t>(month);
}

YearIndex YearIndex::Build(const FileSystem& fs, const std::string& path, const FileStamp& stamp) {
    YearIndex index;
    index.stamp_ = stamp;
    index.entries_.reserve(stamp.size / kMonthRecordSize);
    std::uint64_t count = 0;
    fs.ReadPieces(path, 0, kPieceSize, [&](const std::uint8_t* data, std::size_t size) {
        for (std::size_t o = 0; o + kMonthRecordSize <= size; o += kMonthRecordSize) {
            const std::uint8_t* record = data + o;
            index.entries_.push_back(
                {KeyOf(IdIn(record), MonthIn(record)), static_cast<std::uint32_t>(count++)});
        }
        return true;
    });
    index.records_ = count;
    // Keys sorted; of records with the same key the first one counts, as a scan finds it.
    auto& e = index.entries_;
    std::sort(e.begin(), e.end(), [](const Entry& a, const Entry& b) {
        return a.key != b.key ? a.key < b.key : a.record < b.record;
    });
    e.erase(std::unique(e.begin(), e.end(),
                        [](const Entry& a, const Entry& b) { return a.key == b.key; }),
            e.end());
    e.shrink_to_fit();
    return index;
}

std::optional<std::uint32_t> YearIndex::Find(std::string_view storedId, int month) const {
    const std::uint64_t key = KeyOf(storedId, month);
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                     [](const Entry& e, std::uint64_t k) { return e.key < k; });
    if (it == entries_.end() || it->key != key)
        return std::nullopt;
    return it->record;
}

bool YearIndex::Holds(std::string_view storedId) const {
    const std::uint64_t first = KeyOf(storedId, 0);
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), first,
                                     [](const Entry& e, std::uint64_t k) { return e.key < k; });
    return it != entries_.end() && it->key >> 16 == first >> 16;
}

void YearIndex::Add(const std::uint8_t* record) {
    const std::uint64_t key = KeyOf(IdIn(record), MonthIn(record));
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                     [](const Entry& e, std::uint64_t k) { return e.key < k; });
    if (it == entries_.end() || it->key != key)
        entries_.insert(it, {key, static_cast<std::uint32_t>(records_)});
    ++records_;
}

const YearIndex* YearIndexes::Current(const FileSystem& fs, const std::string& path) {
    const std::optional<FileStamp> stamp = fs.Stamp(path);
    if (!stamp) {
        indexes_.erase(path);
        return nullptr;
    }
    const auto known = indexes_.find(path);
    if (known != indexes_.end() && known->second.Stamp() == *stamp)
        return &known->second;
    YearIndex index = YearIndex::Build(fs, path, *stamp);
    // Written to while it was read: good for this look only.
    if (fs.Stamp(path) != stamp)
        index.Restamp(kUntrusted);
    return &(indexes_[path] = std::move(index));
}

void YearIndexes::Wrote(const FileSystem& fs, const std::string& path, const Bytes& record,
                        bool appended) {
    const auto known = indexes_.find(path);
    if (known == indexes_.end())
        return;
    const std::optional<FileStamp> stamp = fs.Stamp(path);
    if (!stamp || known->second.Stamp() == kUntrusted) {
        indexes_.erase(known);
        return;
    }
    if (appended)
        known->second.Add(record.data());
    known->second.Restamp(*stamp);
}

}  // namespace pb
