// The folder check over a folder made from the input: each piece between
// separators is one entry, its first byte choosing the name (low three bits)
// and what lies there (a file of the rest of the piece, a folder, or a link to
// itself).

#include "core/check/FolderCheck.h"
#include "core/store/Recovery.h"
#include "fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pb;
    auto& folder = fuzz::TheFolder();
    const std::string& path = folder.Fresh();
    const char* const names[] = {"Name.dat",     "DailyWages.dat", "TimeWages.dat", "1999_fv2.pbk",
                                 "2000_fv2.pbk", "Punchbook.jnl",  "PBOOK2.INI",    "NextCell.dat"};
    for (std::string_view part : fuzz::Split(fuzz::AsText(data, size))) {
        if (part.empty())
            continue;
        const auto kind = static_cast<unsigned char>(part[0]);
        const std::string name = names[kind & 7];
        part.remove_prefix(1);
        switch ((kind >> 3) & 3) {
            case 1:
                folder.PutFolder(name);
                break;
            case 2:
                folder.PutLoop(name);
                break;
            default:
                folder.Put(name, part);
        }
    }

    const DataFiles files = AssignDataFiles(path);
    try {
        CheckReport(CheckFolder(files));
    } catch (const FileError&) {
        // An entry that cannot be read at all.
    }
    try {
        PendingRepair(files);
    } catch (const FileError&) {
    }
    return 0;
}
