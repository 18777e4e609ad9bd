#pragma once
// Reading files of fixed-size records and writing single records without ever
// leaving one half written: a record written in place is put back, an append is
// cut off again, when the write fails. Rebuilt files go through a transaction.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/store/FileSystem.h"

namespace pb {

// A record file whose size is not a whole number of records. Appending after a
// ragged tail would shift every later record, so nothing is written to it.
// So is a file of more records than it can hold ("Name.dat": 999 employees).
class DamagedFileError : public FileError {
  public:
    DamagedFileError(const std::string& path, std::uint64_t size, std::size_t recordSize);
    DamagedFileError(const std::string& path, std::uint64_t records, std::uint64_t maxRecords,
                     std::size_t recordSize);
};

// Throws DamagedFileError when the file's size is not a whole number of
// records or says it holds more than `maxRecords`; told by its size alone, so
// a damaged file of any size is refused at once. Nothing for a missing file.
void CheckRecordCount(const FileSystem& fs, const std::string& path, std::size_t recordSize,
                      std::uint64_t maxRecords = UINT64_MAX);

// The records of a file; empty when missing. Throws DamagedFileError as
// CheckRecordCount does: records read from a damaged file could be anything.
Bytes ReadRecords(const FileSystem& fs, const std::string& path, std::size_t recordSize,
                  std::uint64_t maxRecords = UINT64_MAX);
// The whole file, about to be changed: throws DamagedFileError the same way.
// Nothing when the file does not exist.
std::optional<Bytes> ReadForUpdate(const FileSystem& fs, const std::string& path,
                                   std::size_t recordSize, std::uint64_t maxRecords = UINT64_MAX);

// Writes `record` as record `index` of the file, or appends it for -1; a
// missing file is created holding the record, whole or not at all. `current` is
// the file as it is now (from ReadForUpdate). When the write fails the file is
// put back byte for byte (an append is cut off, which needs no free space) and
// the error is passed on.
void WriteRecordAt(FileSystem& fs, const std::string& path, const std::optional<Bytes>& current,
                   std::size_t recordSize, long index, const Bytes& record);

// The same for a file too large to hold twice, with only what the write needs
// to undo itself: the bytes a record overwrites, or the size before an append
// (nothing: the file did not exist and is created).
void OverwriteRecord(FileSystem& fs, const std::string& path, std::uint64_t offset,
                     const Bytes& record, const Bytes& overwritten);
void AppendRecord(FileSystem& fs, const std::string& path, std::optional<std::uint64_t> sizeBefore,
                  const Bytes& record);

// `content` without the records for which `drop` holds.
Bytes DropRecords(const Bytes& content, std::size_t recordSize,
                  const std::function<bool(const Bytes&, std::size_t offset)>& drop);

// Removes a file if it exists; a failure is returned as its message, not thrown.
std::optional<std::string> RemoveQuietly(FileSystem& fs, const std::string& path);

}  // namespace pb
