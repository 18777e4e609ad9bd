#include "core/store/PayrollFiles.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "core/store/RecordFile.h"
#include "core/store/Records.h"

namespace pb {
namespace {

constexpr int kFirstYear = 1996;

struct Kind {
    std::string suffix;  // after the year, or the whole name when not yearly
    bool yearly;
    std::size_t recordSize;
    bool numericKey;  // int32 at offset 4, else a short string at offset 0
    bool firstOnly;
};

// In the order the payroll program's files are processed.
const Kind kKinds[] = {
    {"Info.dat", false, 272, false, true},     {"_Pay.Dat", true, 428, true, false},
    {"Salarium.Dat", false, 428, true, false}, {"_WRK.dat", true, 40, false, false},
    {"_RH.dat", true, 32, false, false},
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool ShortStringIs(const Bytes& b, std::size_t offset, const std::string& sjis) {
    return b[offset] == sjis.size() &&
           std::equal(sjis.begin(), sjis.end(), b.begin() + static_cast<std::ptrdiff_t>(offset + 1),
                      [](char a, std::uint8_t c) { return static_cast<std::uint8_t>(a) == c; });
}

std::optional<std::int32_t> NumberOf(const std::string& id) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), value);
    if (error != std::errc() || end != id.data() + id.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::vector<FileChange> PlanPayrollRemoval(const DataFiles& files, const std::string& id,
                                           int currentYear) {
    // The payroll program's files come from a case-blind file system.
    std::map<std::string, std::string> present;
    for (const auto& name : files.fs->List(files.Folder))
        present.emplace(Lower(name), name);

    const std::string storedId = StoredIdOf(id);
    const std::optional<std::int32_t> number = NumberOf(storedId);
    std::vector<FileChange> changes;
    for (const Kind& kind : kKinds) {
        if (kind.numericKey && !number)
            continue;
        const int firstYear = kind.yearly ? kFirstYear : 0;
        const int lastYear = kind.yearly ? currentYear + 2 : 0;
        for (int year = firstYear; year <= lastYear; ++year) {
            const std::string wanted = (kind.yearly ? std::to_string(year) : "") + kind.suffix;
            const auto found = present.find(Lower(wanted));
            if (found == present.end())
                continue;
            const std::string path = files.Folder + found->second;
            std::optional<Bytes> original = ReadForUpdate(*files.fs, path, kind.recordSize);
            if (!original)
                continue;
            bool removedOne = false;
            Bytes kept =
                DropRecords(*original, kind.recordSize, [&](const Bytes& b, std::size_t o) {
                    if (kind.firstOnly && removedOne)
                        return false;
                    const bool match = kind.numericKey ? GetInt32(b, o + 4) == *number
                                                       : ShortStringIs(b, o, storedId);
                    removedOne = removedOne || match;
                    return match;
                });
            if (!removedOne)
                continue;
            // An emptied file stays, empty, as the payroll program leaves it.
            changes.push_back(RewriteFile(path, true, std::move(kept)));
        }
    }
    return changes;
}

void DeleteFromPayrollFiles(const DataFiles& files, const std::string& id, int currentYear) {
    RunTransaction(files, "従業員 " + id + " の給与データからの削除",
                   PlanPayrollRemoval(files, id, currentYear));
}

}  // namespace pb
