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

void PutBack(FileSystem& fs, const std::string& path, const std::optional<Bytes>& original,
             std::vector<std::string>& failures) {
    try {
        if (original) {
            fs.Replace(path, *original);
        } else if (auto failure = RemoveQuietly(fs, path)) {
            failures.push_back(*failure);
        }
    } catch (const FileError& e) {
        failures.push_back(e.what());
    }
}

}  // namespace

DamagedFileError::DamagedFileError(const std::string& path, std::uint64_t size,
                                   std::size_t recordSize)
    : FileError(path, EINVAL, DamagedMessage(path, size, recordSize)) {}

Bytes ReadRecords(const FileSystem& fs, const std::string& path, std::size_t recordSize) {
    if (!fs.Exists(path))
        return {};
    Bytes content = fs.ReadAll(path);
    content.resize(content.size() - content.size() % recordSize);
    return content;
}

std::optional<Bytes> ReadForUpdate(const FileSystem& fs, const std::string& path,
                                   std::size_t recordSize) {
    if (!fs.Exists(path))
        return std::nullopt;
    Bytes content = fs.ReadAll(path);
    if (content.size() % recordSize != 0) {
        throw DamagedFileError(path, content.size(), recordSize);
    }
    return content;
}

void WriteRecordAt(FileSystem& fs, const std::string& path, const std::optional<Bytes>& current,
                   std::size_t recordSize, long index, const Bytes& record) {
    const std::size_t count = current ? current->size() / recordSize : 0;
    if (index < -1 || index > static_cast<long>(count)) {
        throw std::out_of_range("record index past the end of " + path);
    }
    try {
        if (index == -1 || static_cast<std::size_t>(index) == count) {
            fs.Append(path, record);
        } else {
            fs.WriteAt(path, static_cast<std::uint64_t>(index) * recordSize, record);
        }
    } catch (const FileError& e) {
        // A torn write would leave half a record behind.
        std::vector<std::string> failures;
        PutBack(fs, path, current, failures);
        Rethrow(e, failures);
    }
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
    try {
        fs.Append(path, record);
    } catch (const FileError& e) {
        // Whatever part of the record arrived goes again; what was there is untouched.
        std::vector<std::string> failures;
        if (!sizeBefore) {
            if (auto failure = RemoveQuietly(fs, path))
                failures.push_back(*failure);
        } else if (fs.Size(path) != sizeBefore) {
            try {
                fs.Replace(path, fs.ReadAt(path, 0, static_cast<std::size_t>(*sizeBefore)));
            } catch (const FileError& again) {
                failures.push_back(again.what());
            }
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

void ApplyChanges(FileSystem& fs, std::span<const FileChange> changes) {
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const FileChange& change = changes[i];
        try {
            if (!change.content) {
                if (change.original)
                    fs.Remove(change.path);
            } else {
                // The new file is complete and on disk before it takes the old one's name.
                fs.Replace(change.temp, *change.content);
                fs.Rename(change.temp, change.path);
            }
        } catch (const FileError& e) {
            std::vector<std::string> failures;
            if (change.content) {
                if (auto failure = RemoveQuietly(fs, change.temp))
                    failures.push_back(*failure);
            }
            for (std::size_t j = i; j-- > 0;) {
                PutBack(fs, changes[j].path, changes[j].original, failures);
            }
            Rethrow(e, failures);
        }
    }
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
