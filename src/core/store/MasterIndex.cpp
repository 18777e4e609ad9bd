#include "core/store/MasterIndex.h"

#include "core/store/RecordFile.h"
#include "core/store/Records.h"

namespace pb {

const MasterIndexes::FileIndex& MasterIndexes::Build(const std::string& path,
                                                     const FileStamp& stamp, const Bytes& content,
                                                     std::size_t recordSize) {
    FileIndex index;
    index.stamp = stamp;
    for (std::size_t o = 0; o + recordSize <= content.size(); o += recordSize)
        index.records[StoredId(content, o)].push_back(static_cast<std::uint32_t>(o / recordSize));
    return indexes_[path] = std::move(index);
}

const MasterIndexes::FileIndex* MasterIndexes::Current(const FileSystem& fs,
                                                       const std::string& path,
                                                       std::size_t recordSize,
                                                       std::uint64_t maxRecords) {
    const std::optional<FileStamp> stamp = fs.Stamp(path);
    if (!stamp) {
        indexes_.erase(path);
        return nullptr;
    }
    if (const auto known = indexes_.find(path);
        known != indexes_.end() && known->second.stamp == *stamp)
        return &known->second;
    // The stamp taken before the read: a change meanwhile shows at the next look.
    return &Build(path, *stamp, ReadRecords(fs, path, recordSize, maxRecords), recordSize);
}

std::optional<FoundRecord> MasterIndexes::Find(const FileSystem& fs, const std::string& path,
                                               std::size_t recordSize, const std::string& storedId,
                                               const std::function<bool(const Bytes&)>& wanted,
                                               std::uint64_t maxRecords) {
    const std::lock_guard lock(mutex_);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const FileIndex* index = Current(fs, path, recordSize, maxRecords);
        if (index == nullptr)
            return std::nullopt;
        const auto found = index->records.find(storedId);
        if (found == index->records.end())
            return std::nullopt;
        bool moved = false;
        for (const std::uint32_t number : found->second) {
            Bytes record = fs.ReadAt(path, std::uint64_t{number} * recordSize, recordSize);
            if (record.size() != recordSize || StoredId(record, 0) != storedId) {
                moved = true;
                break;
            }
            if (!wanted || wanted(record))
                return FoundRecord{number, std::move(record)};
        }
        if (!moved)
            return std::nullopt;
        // The file changed behind an unchanged stamp.
        indexes_.erase(path);
    }
    return std::nullopt;
}

Bytes MasterIndexes::ReadAll(const FileSystem& fs, const std::string& path, std::size_t recordSize,
                             std::uint64_t maxRecords) {
    const std::lock_guard lock(mutex_);
    const std::optional<FileStamp> stamp = fs.Stamp(path);
    Bytes content = ReadRecords(fs, path, recordSize, maxRecords);
    if (!stamp) {
        indexes_.erase(path);
        return content;
    }
    // An index of the same stamp already says what this read would build.
    if (const auto known = indexes_.find(path);
        known == indexes_.end() || !(known->second.stamp == *stamp))
        Build(path, *stamp, content, recordSize);
    return content;
}

void MasterIndexes::Index(const FileSystem& fs, const std::string& path, std::size_t recordSize,
                          std::uint64_t maxRecords) {
    const std::lock_guard lock(mutex_);
    Current(fs, path, recordSize, maxRecords);
}

}  // namespace pb
