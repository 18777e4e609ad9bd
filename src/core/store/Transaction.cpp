#include "core/store/Transaction.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "core/store/Journal.h"
#include "core/store/RecordFile.h"

namespace pb {
namespace {

// What a filtered copy reads at a time.
constexpr std::size_t kPieceBytes = 256 * 1024;

const char kFinishedAtNextStart[] = "次にプログラムを起動したときに元に戻します。";

std::string NameIn(const std::string& folder, const std::string& path) {
    if (!path.starts_with(folder) || path.find('/', folder.size()) != std::string::npos)
        throw std::logic_error("not a file of the program folder: " + path);
    return path.substr(folder.size());
}

Bytes JournalBytes(const Journal& journal) {
    const std::string text = FormatJournal(journal);
    return Bytes(text.begin(), text.end());
}

void RemoveAll(FileSystem& fs, const std::vector<std::string>& paths) {
    for (const auto& path : paths) {
        try {
            if (fs.Exists(path))
                fs.Remove(path);
        } catch (const FileError&) {
            // A leftover temporary file harms nothing; the next start removes it.
        }
    }
}

// The day's backup is made before the first change; when it cannot be made
// (and the operator does not go on without it), nothing is changed, and the
// operator hears of the data file he saved, not of the backup's scratch folder.
void BackUpFirst(const DataFiles& files, const std::string& dataPath) {
    try {
        if (files.backup->beforeChange)
            files.backup->beforeChange(files);
    } catch (const FileError& e) {
        throw FileError(dataPath, e.error(),
                        dataPath + " に書き込めません。\n変更の前のバックアップを作れません。\n" +
                            ErrorReason(e.error()));
    }
}

}  // namespace

FileChange RewriteFile(std::string path, bool exists, Bytes content) {
    return {std::move(path), exists,
            [content = std::move(content)](FileSystem& fs, const std::string& temp) {
                fs.Create(temp, content);
            }};
}

FileChange RemoveFile(std::string path) {
    return {std::move(path), true, nullptr};
}

FileChange FilteredFile(std::string path, std::size_t recordSize, RecordFilter keep) {
    auto write = [path, recordSize, keep = std::move(keep)](FileSystem& fs,
                                                            const std::string& temp) {
        // Pieces of whole records; each run of records kept goes on in one piece.
        const std::size_t pieceSize =
            std::max<std::size_t>(1, kPieceBytes / recordSize) * recordSize;
        fs.CreateInPieces(temp, [&](const PieceWriter& put) {
            fs.ReadPieces(path, 0, pieceSize, [&](const std::uint8_t* data, std::size_t size) {
                std::size_t run = 0;  // start of the records kept in a row
                std::size_t o = 0;
                for (; o + recordSize <= size; o += recordSize) {
                    if (!keep(data + o)) {
                        if (o > run)
                            put(data + run, o - run);
                        run = o + recordSize;
                    }
                }
                if (o > run)
                    put(data + run, o - run);
                return true;
            });
        });
    };
    return {std::move(path), true, std::move(write)};
}

FileChange CopyOfFile(std::string path, bool exists, std::string source) {
    return {std::move(path), exists,
            [source = std::move(source)](FileSystem& fs, const std::string& temp) {
                // Piece by piece: a restored year file is never held whole.
                fs.CreateInPieces(temp, [&](const PieceWriter& write) {
                    fs.ReadPieces(source, 0, 256 * 1024,
                                  [&](const std::uint8_t* data, std::size_t size) {
                                      write(data, size);
                                      return true;
                                  });
                });
            }};
}

FileChange MoveOfFile(std::string path, bool exists, std::string source) {
    return {std::move(path), exists,
            [source = std::move(source)](FileSystem& fs, const std::string& temp) {
                fs.Link(source, temp);
            }};
}

namespace {

// Writes the journal; the data file named when that fails.
void BeginJournal(FileSystem& fs, const std::string& journalPath, const Journal& journal,
                  const std::string& dataPath) {
    try {
        // Just after another PC removed its journal, a share may go on naming
        // the file for a moment: a journal really left behind stays.
        const std::string folder =
            journalPath.substr(0, journalPath.size() - std::string_view(kJournalName).size());
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        bool created = false;
        while (!(created = fs.CreateExclusive(journalPath, JournalBytes(journal))) &&
               !fs.LocksAreShared(folder) && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!created) {
            // Only when an earlier change was never finished (its repair failed).
            throw FileError(dataPath, EBUSY,
                            dataPath + " に書き込めません。\n前回の処理が終わっていません。");
        }
    } catch (const FileError& e) {
        throw AsDataFileError(e, dataPath);
    }
}

}  // namespace

RecordWrite RecordAt(const std::string& path, const std::optional<Bytes>& current,
                     std::size_t recordSize, long index, Bytes record) {
    const std::size_t count = current ? current->size() / recordSize : 0;
    if (index < -1 || index > static_cast<long>(count))
        throw std::out_of_range("record index past the end of " + path);
    RecordWrite write{path, std::nullopt, std::nullopt, {}, std::move(record)};
    if (current)
        write.sizeBefore = current->size();
    if (index >= 0 && static_cast<std::size_t>(index) < count) {
        write.offset = static_cast<std::uint64_t>(index) * recordSize;
        const auto at = current->begin() + static_cast<std::ptrdiff_t>(*write.offset);
        write.overwritten.assign(at, at + static_cast<std::ptrdiff_t>(recordSize));
    }
    return write;
}

void RunRecordWrite(const DataFiles& files, const std::string& operation,
                    const RecordWrite& write) {
    BackUpFirst(files, write.path);
    if (!write.sizeBefore) {
        RunTransaction(files, operation, {RewriteFile(write.path, false, write.record)});
        return;
    }
    FileSystem& fs = *files.fs;
    const std::string journalPath = files.Folder + kJournalName;
    JournalEntry entry;
    entry.name = NameIn(files.Folder, write.path);
    entry.record = true;
    entry.before = write.sizeBefore;
    entry.offset = write.offset.value_or(*write.sizeBefore);
    entry.old = write.offset ? write.overwritten : Bytes{};
    entry.written = write.record;
    const Journal journal{operation, {entry}, false};
    BeginJournal(fs, journalPath, journal, write.path);
    try {
        if (write.offset)
            OverwriteRecord(fs, write.path, *write.offset, write.record, write.overwritten);
        else
            AppendRecord(fs, write.path, write.sizeBefore, write.record);
    } catch (const FileError& e) {
        // Put back: the journal can go. Not put back: it stays for the next start.
        bool putBack = false;
        try {
            putBack = fs.Size(write.path) == write.sizeBefore &&
                      (!write.offset || fs.ReadAt(write.path, *write.offset,
                                                  write.overwritten.size()) == write.overwritten);
        } catch (const FileError&) {
        }
        if (!putBack)
            throw FileError(e.path(), e.error(),
                            std::string(e.what()) + "\n" + kFinishedAtNextStart);
        RemoveAll(fs, {journalPath});
        throw;
    }
    // Written: a journal left behind would only find the record in place.
    RemoveAll(fs, {journalPath});
}

void RunTransaction(const DataFiles& files, const std::string& operation,
                    std::vector<FileChange> changes) {
    std::erase_if(changes, IsNoChange);
    if (changes.empty())
        return;
    BackUpFirst(files, changes.front().path);
    FileSystem& fs = *files.fs;
    const std::string& folder = files.Folder;
    const std::string journalPath = folder + kJournalName;

    // Everything new is written, and everything old kept, before the journal
    // says the change is under way.
    Journal journal;
    journal.operation = operation;
    std::vector<std::string> scratch;
    for (const auto& change : changes) {
        JournalEntry entry;
        entry.name = NameIn(folder, change.path);
        try {
            if (change.exists) {
                const std::string backup = ScratchName(change.path, "old~");
                fs.Link(change.path, backup);
                scratch.push_back(backup);
                entry.backup = NameIn(folder, backup);
                entry.before = fs.Size(backup).value_or(0);
            }
            if (change.write) {
                const std::string temp = ScratchName(change.path, "new~");
                scratch.push_back(temp);
                change.write(fs, temp);
                entry.temp = NameIn(folder, temp);
                entry.after = fs.Size(temp).value_or(0);
            }
        } catch (const FileError& e) {
            RemoveAll(fs, scratch);
            throw AsDataFileError(e, change.path);
        }
        journal.entries.push_back(std::move(entry));
    }

    try {
        BeginJournal(fs, journalPath, journal, changes.front().path);
    } catch (const FileError&) {
        RemoveAll(fs, scratch);
        throw;
    }

    for (std::size_t i = 0; i < changes.size(); ++i) {
        const JournalEntry& e = journal.entries[i];
        try {
            if (e.after)
                fs.Rename(folder + e.temp, changes[i].path);
            else
                fs.Remove(changes[i].path);
        } catch (const FileError& failure) {
            const FileError error = AsDataFileError(failure, changes[i].path);
            try {
                journal.rollingBack = true;
                fs.Replace(journalPath, JournalBytes(journal));
                RollBack(fs, folder, journal);
                fs.Flush(folder);
                fs.Remove(journalPath);
            } catch (const FileError&) {
                throw FileError(error.path(), error.error(),
                                std::string(error.what()) + "\n" + kFinishedAtNextStart);
            }
            throw error;
        }
    }

    // The change is complete. Should tidying up fail, the next start finishes it.
    try {
        fs.Flush(folder);
        for (const auto& e : journal.entries) {
            if (e.before)
                fs.Remove(folder + e.backup);
        }
        fs.Remove(journalPath);
    } catch (const FileError&) {
    }
}

}  // namespace pb
