#pragma once
// Where each employee's records lie in the master files ("Name.dat" and the
// two wage files). A selection step asks for one name and 開始 for one name and
// one wage record; with the index each is a stat and a read of that record
// (36 or 120 bytes), not of the whole file.
//
// An index is built from one read of the whole file and kept while the file's
// stamp (size, times, inode) is the one it was read at, as the year index is.
// A change by this program or any other changes the stamp, and the next look
// reads the file afresh. Each record read through the index is checked for its
// ID, so a change that kept the stamp is caught as well: the index is built
// again once.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/store/FileSystem.h"

namespace pb {

// A record found through the index: its number in the file and its bytes as read.
struct FoundRecord {
    std::uint32_t number = 0;
    Bytes bytes;
};

class MasterIndexes {
  public:
    // The first record of the stored ID, in file order, for which `wanted`
    // holds (every record of the ID when `wanted` is empty); nothing when there
    // is none or the file does not exist. Reads the ID's records one by one up
    // to the one wanted.
    // A file of more than `maxRecords` records, or a ragged one, is damaged:
    // DamagedFileError, as ReadRecords throws it.
    std::optional<FoundRecord> Find(const FileSystem& fs, const std::string& path,
                                    std::size_t recordSize, const std::string& storedId,
                                    const std::function<bool(const Bytes&)>& wanted = {},
                                    std::uint64_t maxRecords = UINT64_MAX);
    // The whole records of the file (empty when it does not exist), indexed on
    // the way: a listing leaves the lookups after it nothing to read.
    Bytes ReadAll(const FileSystem& fs, const std::string& path, std::size_t recordSize,
                  std::uint64_t maxRecords = UINT64_MAX);
    // Indexes the file unless its index is current.
    void Index(const FileSystem& fs, const std::string& path, std::size_t recordSize,
               std::uint64_t maxRecords = UINT64_MAX);

  private:
    struct FileIndex {
        FileStamp stamp;
        // Record numbers of each stored ID, in file order.
        std::unordered_map<std::string, std::vector<std::uint32_t>> records;
    };
    // The index of the file as it is now, read afresh when the file is new to
    // it or changed; null when the file does not exist.
    const FileIndex* Current(const FileSystem& fs, const std::string& path, std::size_t recordSize,
                             std::uint64_t maxRecords);
    const FileIndex& Build(const std::string& path, const FileStamp& stamp, const Bytes& content,
                           std::size_t recordSize);

    // A worker that indexes while the window takes input shares these.
    std::mutex mutex_;
    std::unordered_map<std::string, FileIndex> indexes_;
};

}  // namespace pb
