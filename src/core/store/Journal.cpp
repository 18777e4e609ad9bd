#include "core/store/Journal.h"

#include <charconv>
#include <sstream>
#include <stdexcept>
#include <string_view>

namespace pb {
namespace {

const char kHeader[] = "Punchbook journal 1";

std::string SizeText(const std::optional<std::uint64_t>& size) {
    return size ? std::to_string(*size) : "-";
}

bool PlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\n\r\0", 4)) == std::string::npos;
}

// The files a change may touch: the data files, the payroll program's files an
// employee's deletion filters, and the previous generation's files the
// conversion moves aside under names ending in ".cbf". Names are matched
// without regard to case, as those programs wrote them. A journal naming
// anything else (the settings, the lock) is damaged.
bool ChangeableName(const std::string& name) {
    if (!PlainName(name))
        return false;
    std::string lower = name;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    for (const char* fixed : {"name.dat", "dailywages.dat", "timewages.dat", "info.dat",
                              "salarium.dat", "hiredata.dat"}) {
        if (lower == fixed)
            return true;
    }
    const bool yearly = lower.size() > 4 && lower.find_first_not_of("0123456789") == 4;
    for (const char* suffix : {"_fv2.pbk", "_pay.dat", "_wrk.dat", "_rh.dat"}) {
        if (yearly && lower.substr(4) == suffix)
            return true;
    }
    // An old month file ("001tc.dat") and the conversion's copies.
    return (lower.size() > 6 && lower.ends_with("tc.dat")) ||
           (lower.size() > 4 && lower.ends_with(".cbf"));
}

// A temporary or kept name must be one the program gives beside that very file:
// a damaged journal must never make the recovery rename or remove anything else.
bool ScratchOf(const std::string& scratch, const std::string& name) {
    return PlainName(scratch) && scratch.starts_with(name + ".") && IsScratchName(scratch);
}

// "<size or -> <name or ->" after `key` and a space.
bool ParseState(const std::string& line, const std::string& key, std::optional<std::uint64_t>& size,
                std::string& name) {
    if (!line.starts_with(key + " "))
        return false;
    const std::string rest = line.substr(key.size() + 1);
    const auto space = rest.find(' ');
    if (space == std::string::npos)
        return false;
    const std::string sizeText = rest.substr(0, space);
    name = rest.substr(space + 1);
    if (sizeText == "-") {
        size.reset();
        return name == "-";
    }
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), value);
    if (error != std::errc() || end != sizeText.data() + sizeText.size())
        return false;
    size = value;
    return true;
}

std::string Hex(const Bytes& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text.empty() ? "-" : text;
}

bool FromHex(const std::string& text, Bytes& bytes) {
    bytes.clear();
    if (text == "-")
        return true;
    if (text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (error != std::errc() || end != text.data() + i + 2)
            return false;
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return true;
}

bool Number(const std::string& text, std::uint64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// "record <size before> <offset> <old bytes> <new bytes>", bytes in hex or "-".
bool ParseRecord(const std::string& line, JournalEntry& e) {
    std::istringstream in(line);
    std::string key, size, offset, old, written, rest;
    std::uint64_t sizeValue = 0;
    if (!(in >> key >> size >> offset >> old >> written) || (in >> rest) || key != "record" ||
        !Number(size, sizeValue) || !Number(offset, e.offset) || !FromHex(old, e.old) ||
        !FromHex(written, e.written) || e.written.empty())
        return false;
    e.record = true;
    e.before = sizeValue;
    // In place over bytes that were there, or appended at the end.
    return e.old.empty() ? e.offset == sizeValue
                         : e.old.size() == e.written.size() && e.offset + e.old.size() <= sizeValue;
}

// The size the file has once the record is written.
std::uint64_t SizeWith(const JournalEntry& e) {
    return e.old.empty() ? *e.before + e.written.size() : *e.before;
}

std::string In(const std::string& folder, const std::string& name) {
    return folder + name;
}

bool HasSize(const FileSystem& fs, const std::string& path, std::uint64_t size) {
    const auto actual = fs.Size(path);
    return actual && *actual == size;
}

}  // namespace

FileError AsDataFileError(const FileError& error, const std::string& dataPath) {
    if (error.path() == dataPath)
        return error;
    // The reason stays as the file system gave it (the line after the name).
    const std::string text = error.what();
    const auto newline = text.find('\n');
    const std::string reason =
        newline == std::string::npos ? ErrorReason(error.error()) : text.substr(newline + 1);
    return FileError(dataPath, error.error(), dataPath + " に書き込めません。\n" + reason);
}

std::string FormatJournal(const Journal& journal) {
    std::string text = std::string(kHeader) + "\noperation " + journal.operation + "\n";
    for (const auto& e : journal.entries) {
        if (!ChangeableName(e.name))
            throw std::logic_error("not a file a change may touch: " + e.name);
        text += "file " + e.name + "\n";
        if (e.record) {
            text += "record " + std::to_string(e.before.value_or(0)) + " " +
                    std::to_string(e.offset) + " " + Hex(e.old) + " " + Hex(e.written) + "\n";
            continue;
        }
        text += "before " + SizeText(e.before) + " " + (e.before ? e.backup : "-") + "\n";
        text += "after " + SizeText(e.after) + " " + (e.after ? e.temp : "-") + "\n";
    }
    if (journal.rollingBack)
        text += "rollback\n";
    return text + "end\n";
}

JournalState ParseJournal(const std::string& text, Journal& journal) {
    journal = Journal{};
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        // Where files cannot appear whole (a share without hard links) the
        // journal is created empty and then written: cut short before its
        // first line ends, it was never committed either.
        return std::string_view(kHeader).starts_with(text) ? JournalState::Unfinished
                                                           : JournalState::Damaged;
    }
    if (!std::getline(in, line) || !line.starts_with("operation "))
        return JournalState::Unfinished;
    journal.operation = line.substr(10);
    while (std::getline(in, line)) {
        if (line == "end")
            return in.peek() == std::char_traits<char>::eof() ? JournalState::Complete
                                                              : JournalState::Damaged;
        if (line == "rollback") {
            journal.rollingBack = true;
            continue;
        }
        if (!line.starts_with("file "))
            return in.eof() ? JournalState::Unfinished : JournalState::Damaged;
        JournalEntry e;
        e.name = line.substr(5);
        std::string before, after;
        if (!std::getline(in, before))
            return JournalState::Unfinished;
        if (before.starts_with("record ")) {
            if (!ChangeableName(e.name) || !ParseRecord(before, e))
                return in.eof() ? JournalState::Unfinished : JournalState::Damaged;
            journal.entries.push_back(std::move(e));
            continue;
        }
        if (!std::getline(in, after))
            return JournalState::Unfinished;
        if (!ChangeableName(e.name) || !ParseState(before, "before", e.before, e.backup) ||
            !ParseState(after, "after", e.after, e.temp) ||
            (e.before && !ScratchOf(e.backup, e.name)) || (e.after && !ScratchOf(e.temp, e.name)))
            return in.eof() ? JournalState::Unfinished : JournalState::Damaged;
        journal.entries.push_back(std::move(e));
    }
    return JournalState::Unfinished;
}

bool CanRollForward(const FileSystem& fs, const std::string& folder, const Journal& journal) {
    if (journal.rollingBack)
        return false;
    for (const auto& e : journal.entries) {
        // A record goes forward only when it was written whole.
        if (e.record) {
            const std::string target = In(folder, e.name);
            if (!HasSize(fs, target, SizeWith(e)) ||
                fs.ReadAt(target, e.offset, e.written.size()) != e.written)
                return false;
            continue;
        }
        if (!e.after)
            continue;
        const bool ready = fs.Exists(In(folder, e.temp))
                               ? HasSize(fs, In(folder, e.temp), *e.after)
                               : HasSize(fs, In(folder, e.name), *e.after);
        if (!ready)
            return false;
    }
    return true;
}

bool CanRollBack(const FileSystem& fs, const std::string& folder, const Journal& journal) {
    for (const auto& e : journal.entries) {
        if (e.record) {
            const auto size = fs.Size(In(folder, e.name));
            if (!size || *size < *e.before)
                return false;
            continue;
        }
        if (!e.before)
            continue;
        const bool kept = fs.Exists(In(folder, e.backup))
                              ? HasSize(fs, In(folder, e.backup), *e.before)
                              : HasSize(fs, In(folder, e.name), *e.before);
        if (!kept)
            return false;
    }
    return true;
}

void RollForward(FileSystem& fs, const std::string& folder, const Journal& journal) {
    for (const auto& e : journal.entries) {
        const std::string target = In(folder, e.name);
        try {
            if (e.record) {
                // Nothing to do: CanRollForward found the record in place.
            } else if (e.after) {
                if (fs.Exists(In(folder, e.temp)))
                    fs.Rename(In(folder, e.temp), target);
            } else if (fs.Exists(target)) {
                fs.Remove(target);
            }
        } catch (const FileError& error) {
            throw AsDataFileError(error, target);
        }
    }
    for (const auto& e : journal.entries) {
        try {
            if (!e.record && e.before && fs.Exists(In(folder, e.backup)))
                fs.Remove(In(folder, e.backup));
        } catch (const FileError& error) {
            throw AsDataFileError(error, In(folder, e.name));
        }
    }
}

void RollBack(FileSystem& fs, const std::string& folder, const Journal& journal) {
    for (auto it = journal.entries.rbegin(); it != journal.entries.rend(); ++it) {
        const JournalEntry& e = *it;
        const std::string target = In(folder, e.name);
        try {
            if (e.record) {
                // Cutting off an appended record needs no free space.
                if (fs.Size(target).value_or(0) > *e.before)
                    fs.Truncate(target, *e.before);
                if (!e.old.empty() && fs.ReadAt(target, e.offset, e.old.size()) != e.old)
                    fs.WriteAt(target, e.offset, e.old);
            } else if (e.before) {
                const std::string backup = In(folder, e.backup);
                if (fs.Exists(backup)) {
                    fs.Rename(backup, target);
                    // Both names of one file: the rename left them as they were.
                    if (fs.Exists(backup))
                        fs.Remove(backup);
                }
            } else if (fs.Exists(target)) {
                fs.Remove(target);
            }
            if (!e.record && e.after && fs.Exists(In(folder, e.temp)))
                fs.Remove(In(folder, e.temp));
        } catch (const FileError& error) {
            throw AsDataFileError(error, target);
        }
    }
}

}  // namespace pb
