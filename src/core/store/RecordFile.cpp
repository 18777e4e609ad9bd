#include "core/store/RecordFile.h"

#include <cerrno>
#include <stdexcept>

namespace pb {
namespace {

std::string DamagedMessage(const std::string& path, std::uint64_t size, std::size_t recordSize) {
    return path + " は壊れています。\nファイルの大きさ " + std::to_string(size) +
           " バイトが、レコードの大きさ " + std::to_string(recordSize) +
           " バイトの倍数ではありません。";
}

// Rethrows `error` with the failures of putting things back added to its text.
[[noreturn]] void Rethrow(const FileError& error, const std::vector<std::string>& restoreFailures) {
    if (restoreFailures.empty())
        throw error;
    std::string message = error.what();
    for (const auto& f : restoreFailures)
        message += "\n" + f;
    throw FileError(error.path(), error.error(), message);
}

}  // namespace

DamagedFileError::DamagedFileError(const std::string& path, std::uint64_t size,
                                   std::size_t recordSize)
    : FileError(path, EINVAL, DamagedMessage(path, size, recordSize)) {}

DamagedFileError::DamagedFileError(const std::string& path, std::uint64_t records,
                                   std::uint64_t maxRecords, std::size_t recordSize)
    : FileError(path, EINVAL,
                path + " は壊れています。\nファイルの大きさ " +
                    std::to_string(records * recordSize) + " バイトは " + std::to_string(records) +
                    " レコード分で、このファイルに入る " + std::to_string(maxRecords) +
                    " レコードを超えています。") {}

void CheckRecordCount(const FileSystem& fs, const std::string& path, std::size_t recordSize,
                      std::uint64_t maxRecords) {
    const auto size = fs.Size(path);
    if (!size)
        return;
    if (*size % recordSize != 0)
        throw DamagedFileError(path, *size, recordSize);
    if (*size / recordSize > maxRecords)
        throw DamagedFileError(path, *size / recordSize, maxRecords, recordSize);
}

Bytes ReadRecords(const FileSystem& fs, const std::string& path, std::size_t recordSize,
                  std::uint64_t maxRecords) {
    return ReadForUpdate(fs, path, recordSize, maxRecords).value_or(Bytes{});
}

std::optional<Bytes> ReadForUpdate(const FileSystem& fs, const std::string& path,
                                   std::size_t recordSize, std::uint64_t maxRecords) {
    if (!fs.Exists(path))
        return std::nullopt;
    CheckRecordCount(fs, path, recordSize, maxRecords);
    Bytes content = fs.ReadAll(path);
    // The file grew or shrank between the two looks: judged by what was read.
    if (content.size() % recordSize != 0)
        throw DamagedFileError(path, content.size(), recordSize);
    if (content.size() / recordSize > maxRecords)
        throw DamagedFileError(path, content.size() / recordSize, maxRecords, recordSize);
    return content;
}

void WriteRecordAt(FileSystem& fs, const std::string& path, const std::optional<Bytes>& current,
                   std::size_t recordSize, long index, const Bytes& record) {
    const std::size_t count = current ? current->size() / recordSize : 0;
    if (index < -1 || index > static_cast<long>(count))
        throw std::out_of_range("record index past the end of " + path);
    if (index == -1 || static_cast<std::size_t>(index) == count) {
        AppendRecord(fs, path,
                     current ? std::optional<std::uint64_t>(current->size()) : std::nullopt,
                     record);
        return;
    }
    const std::uint64_t offset = static_cast<std::uint64_t>(index) * recordSize;
    const auto old = current->begin() + static_cast<std::ptrdiff_t>(offset);
    OverwriteRecord(fs, path, offset, record,
                    Bytes(old, old + static_cast<std::ptrdiff_t>(recordSize)));
}

void OverwriteRecord(FileSystem& fs, const std::string& path, std::uint64_t offset,
                     const Bytes& record, const Bytes& overwritten) {
    try {
        fs.WriteAt(path, offset, record);
    } catch (const FileError& e) {
        std::vector<std::string> failures;
        try {
            fs.WriteAt(path, offset, overwritten);
        } catch (const FileError& again) {
            failures.push_back(again.what());
        }
        Rethrow(e, failures);
    }
}

void AppendRecord(FileSystem& fs, const std::string& path, std::optional<std::uint64_t> sizeBefore,
                  const Bytes& record) {
    if (!sizeBefore) {
        // A new file appears whole or not at all.
        fs.Replace(path, record);
        return;
    }
    // Written at the end the caller read, not with O_APPEND, which shares
    // refuse; a file that changed since is not written at all.
    if (fs.Size(path) != sizeBefore) {
        throw FileError(path, EBUSY,
                        path + " に書き込めません。\n読み込んだ後にほかから変更されています。");
    }
    try {
        fs.WriteAt(path, *sizeBefore, record);
    } catch (const FileError& e) {
        // Whatever part of the record arrived is cut off again, which needs no
        // free space; what was there is untouched.
        std::vector<std::string> failures;
        try {
            if (fs.Size(path) != sizeBefore)
                fs.Truncate(path, *sizeBefore);
        } catch (const FileError& again) {
            failures.push_back(again.what());
        }
        Rethrow(e, failures);
    }
}

Bytes DropRecords(const Bytes& content, std::size_t recordSize,
                  const std::function<bool(const Bytes&, std::size_t)>& drop) {
    Bytes kept;
    kept.reserve(content.size());
    for (std::size_t o = 0; o + recordSize <= content.size(); o += recordSize) {
        if (!drop(content, o)) {
            kept.insert(kept.end(), content.begin() + static_cast<std::ptrdiff_t>(o),
                        content.begin() + static_cast<std::ptrdiff_t>(o + recordSize));
        }
    }
    return kept;
}

std::optional<std::string> RemoveQuietly(FileSystem& fs, const std::string& path) {
    try {
        if (fs.Exists(path))
            fs.Remove(path);
    } catch (const FileError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

}  // namespace pb
