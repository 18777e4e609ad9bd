// The journal as the start-up repair and the folder check read it, beside a few
// files of the program folder it may name. Nothing is rolled: reading only.

#include "core/store/DataFiles.h"
#include "core/store/Journal.h"
#include "core/store/Recovery.h"
#include "core/store/Transaction.h"
#include "fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pb;
    auto& folder = fuzz::TheFolder();
    const std::string& path = folder.Fresh();
    folder.Put("PBOOK2.INI", "[Option]\nCheck=1\n");
    folder.Put("Name.dat", std::string(36, 'n'));
    folder.Put("Name.dat.1-00000000-1.new~", std::string(72, 'm'));
    folder.Put("Name.dat.1-00000000-2.old~", std::string(36, 'n'));
    const std::string_view text = fuzz::AsText(data, size);
    folder.Put(kJournalName, text);

    const DataFiles files = AssignDataFiles(path);
    try {
        PendingRepair(files);
    } catch (const FileError&) {
    }
    Journal journal;
    if (ParseJournal(std::string(text), journal) == JournalState::Complete) {
        CanRollForward(*files.fs, files.Folder, journal);
        CanRollBack(*files.fs, files.Folder, journal);
    }
    return 0;
}
