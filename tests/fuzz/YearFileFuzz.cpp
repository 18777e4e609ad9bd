// A year's work-data file as the entry window and the exporter find and read
// months in it: lookups through an index read part way, then the whole index.

#include "core/common/ShiftJis.h"
#include "core/store/WorkDataFiles.h"
#include "fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pb;
    auto& folder = fuzz::TheFolder();
    const std::string& path = folder.Fresh();
    folder.Put("1999_fv2.pbk", fuzz::AsText(data, size));
    const Bytes bytes(data, data + size);

    const DataFiles files = AssignDataFiles(path);
    std::vector<std::string> ids = {"001"};
    for (std::size_t o = 0; o + kMonthRecordSize <= size && ids.size() < 4; o += kMonthRecordSize)
        ids.push_back(DecodeSjis(StoredId(bytes, o)).text);
    try {
        for (const std::string& id : ids) {
            FindMonthIndex(files, id, 1999, 12);
            ReadMonthRecord(files, id, 1999, 3);
        }
        IndexYear(files, 1999);
        for (const std::string& id : ids) {
            for (int month = 0; month <= 13; ++month)
                ReadMonthRecord(files, id, 1999, month);
            files.years->ShareOf(*files.fs, files.WorkFile(1999), StoredIdOf(id), 0);
            CountStoredMonths(files, id);
        }
    } catch (const FileError&) {
        // The readers' own word for a file they cannot use.
    }
    return 0;
}
