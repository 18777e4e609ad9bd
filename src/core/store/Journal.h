#pragma once
// The journal of a transaction and the two ways to end one that did not end:
// forward to every file's after state, or back to every file's before state.
// Shared by the transaction itself and by the recovery at start.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/store/FileSystem.h"

namespace pb {

struct JournalEntry {
    std::string name;                     // the data file, in the program folder
    std::optional<std::uint64_t> before;  // its size now; nothing: it does not exist
    std::string backup;                   // the second name of its present content
    std::optional<std::uint64_t> after;   // its size afterwards; nothing: removed
    std::string temp;                     // the temporary file holding its new content

    // Or one record written into the file in place (`before` is the file's
    // size): the bytes at `offset` before the write (none for an append) and
    // after it.
    bool record = false;
    std::uint64_t offset = 0;
    Bytes old;
    Bytes written;
};

struct Journal {
    std::string operation;
    std::vector<JournalEntry> entries;
    bool rollingBack = false;  // a failure began to take the change back
};

// `error` told about `dataPath`, the file the operator knows, instead of an
// internal temporary name.
FileError AsDataFileError(const FileError& error, const std::string& dataPath);

std::string FormatJournal(const Journal& journal);

enum class JournalState { Complete, Unfinished, Damaged };
// A journal cut short (written where a file cannot appear whole) was never
// committed: nothing was changed under it. One that does not read is damaged.
JournalState ParseJournal(const std::string& text, Journal& journal);

// Whether every file can reach its after state (or its before state).
bool CanRollForward(const FileSystem& fs, const std::string& folder, const Journal& journal);
bool CanRollBack(const FileSystem& fs, const std::string& folder, const Journal& journal);

// Each step looks at what is there first, so running one again after it was cut
// short is harmless. Both leave the journal itself in place.
void RollForward(FileSystem& fs, const std::string& folder, const Journal& journal);
void RollBack(FileSystem& fs, const std::string& folder, const Journal& journal);

}  // namespace pb
