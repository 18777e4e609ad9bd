#pragma once
// Every change that touches more than one file, or rebuilds one, goes through a
// transaction. Each new file is first written whole under a temporary name and
// each file about to change keeps a second name for its present content; then a
// small journal naming every file's before and after state is written, and only
// then are the files renamed into place. The journal goes last. Whatever stops
// the program on the way, RecoverProgramFolder finds the journal at the next
// start and finishes the change or takes it back: the folder is never left half
// changed.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/store/DataFiles.h"
#include "core/store/FileSystem.h"

namespace pb {

// What one file of a transaction becomes.
struct FileChange {
    std::string path;     // a file in the program folder
    bool exists = false;  // it exists now
    // Writes the file's new content, whole and flushed, under the temporary
    // path it is given; empty: the file is removed.
    std::function<void(FileSystem&, const std::string& temp)> write;
};

// The file with this content from now on.
FileChange RewriteFile(std::string path, bool exists, Bytes content);
// The file removed.
FileChange RemoveFile(std::string path);
// Whether a record (its first bytes) is to stay.
using RecordFilter = std::function<bool(const std::uint8_t* record)>;
// The file as the whole records of its present content that `keep` holds,
// copied through a buffer of bounded size, so a file of any size is rebuilt in
// bounded memory.
FileChange FilteredFile(std::string path, std::size_t recordSize, RecordFilter keep);
// The file as a copy of `source` as it is now.
FileChange CopyOfFile(std::string path, bool exists, std::string source);
// The file under a second name of `source`, which the same transaction removes
// (cheaper than a copy: a hard link where the file system has them).
FileChange MoveOfFile(std::string path, bool exists, std::string source);

// The journal of the change under way, in the program folder.
inline constexpr char kJournalName[] = "Punchbook.jnl";

// Makes all the changes or none. `operation` says what is done, for the operator
// ("従業員の削除 001"). A failure puts every file back and throws a FileError
// that names the data file concerned; should even that fail, the journal stays
// and the next start finishes the work.
void RunTransaction(const DataFiles& files, const std::string& operation,
                    std::vector<FileChange> changes);

// One record written into a file: over the bytes `overwritten` at `offset`, or
// appended (no offset) to a file of `sizeBefore` bytes, which is created when
// there is no size.
struct RecordWrite {
    std::string path;
    std::optional<std::uint64_t> sizeBefore;
    std::optional<std::uint64_t> offset;
    Bytes overwritten;
    Bytes record;
};

// Record `index` of a file read whole (`current`, from ReadForUpdate), or an
// append for -1.
RecordWrite RecordAt(const std::string& path, const std::optional<Bytes>& current,
                     std::size_t recordSize, long index, Bytes record);

// Writes the record with a journal holding the bytes before and after: a write
// cut short, even inside the record, is taken back at the next start. A
// failure puts the file back byte for byte and throws.
void RunRecordWrite(const DataFiles& files, const std::string& operation, const RecordWrite& write);

// Nothing to change: the file does not exist and is not to be written.
inline bool IsNoChange(const FileChange& c) {
    return !c.exists && !c.write;
}

}  // namespace pb
