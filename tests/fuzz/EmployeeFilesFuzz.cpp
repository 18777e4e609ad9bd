// The employee master files as the windows and the exporter look employees up:
// the input cut into Name.dat, DailyWages.dat and TimeWages.dat (a file the
// input does not reach is absent).

#include "core/store/EmployeeFiles.h"
#include "fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pb;
    auto& folder = fuzz::TheFolder();
    const std::string& path = folder.Fresh();
    const auto parts = fuzz::Split(fuzz::AsText(data, size));
    const char* const names[] = {"Name.dat", "DailyWages.dat", "TimeWages.dat"};
    for (std::size_t i = 0; i < parts.size() && i < 3; ++i)
        folder.Put(names[i], parts[i]);

    const DataFiles files = AssignDataFiles(path);
    try {
        std::vector<std::string> ids;
        ListEmployeeIDs(files, ids, kBothSchemes);
        ids.resize(std::min<std::size_t>(ids.size(), 8));
        ids.push_back("001");
        for (const std::string& id : ids) {
            const std::string name = FindEmployeeName(files, id, kBothSchemes);
            LookupEmployee(files, id, name);
            MakeNameRecord(files, id, name, 1001);
            FindNameIndex(files, id);
            FindWagesCode(files, id);
            FindCurrentDailyIndex(files, id);
            FindCurrentTimeIndex(files, id);
            for (int generation = 0; generation < 3; ++generation) {
                ReadDailyRecord(files, id, generation);
                ReadTimeRecord(files, id, generation);
            }
            ReadWageRecordBytes(files, PayScheme::Daily, id, 0);
            ReadWageRecordBytes(files, PayScheme::Hourly, id, 0);
        }
        ListSchemeEmployees(files, PayScheme::Daily);
        ListSchemeEmployees(files, PayScheme::Hourly);
    } catch (const FileError&) {
        // The readers' own word for a file they cannot use.
    }
    return 0;
}
