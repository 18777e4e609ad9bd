// punchbook-import end to end, beside punchbook-export: a month exported, removed
// and imported back exports the same again; what the tool refuses it does
// without writing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/TempFolder.h"
#include "core/store/DataFiles.h"
#include "core/store/FolderLock.h"
#include "core/store/ScriptedOperator.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

using test::TempFolder;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ToolRun Program(const std::string& name, const std::vector<std::string>& args) {
    const TempFolder scratch;
    std::string command = "'" + std::string(PUNCHBOOK_BINARY_DIR) + "/" + name + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += " >'" + scratch / "out" + "' 2>'" + scratch / "err" + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(scratch / "out"),
            Slurp(scratch / "err")};
}

// Every data file by name and content; the backups and the lock left aside.
std::string Files(const TempFolder& folder) {
    std::string all;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        if (entry.is_regular_file())
            all += entry.path().filename().string() + ":" + Slurp(entry.path().string()) + "\n";
    return all;
}

TEST(ImportTool, AnExportedMonthComesBackAndWhatIsRefusedWritesNothing) {
    const TempFolder folder;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(PUNCHBOOK_SAMPLES_DIR) + "/folder"))
        std::filesystem::copy_file(entry.path(), folder / entry.path().filename().string());
    const TempFolder scratch;
    const DataFiles files = AssignDataFiles(folder.path());
    for (const std::string id : {"1", "2"}) {  // daily and hourly wage
        const std::vector<std::string> month{"--folder", folder.path(), "--id",    id,
                                             "--year",   "1999",        "--month", "3"};
        const ToolRun exported = Program("punchbook-export", month);
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        const std::string csv = scratch / (id + ".csv");
        std::ofstream(csv, std::ios::binary) << exported.out;
        ScriptedOperator op;
        ASSERT_TRUE(PurgeMonthRecords(files, "00" + id, 1999, 3, op));

        std::vector<std::string> import = month;
        import.push_back("--dry-run");
        import.push_back(csv);
        const std::string before = Files(folder);
        const ToolRun preview = Program("punchbook-import", import);
        EXPECT_EQ(preview.exitCode, 0) << preview.err;
        EXPECT_NE(preview.out.find("1999年3月分（新規）"), std::string::npos) << preview.out;
        EXPECT_EQ(Files(folder), before);

        import.erase(import.end() - 2);
        const ToolRun imported = Program("punchbook-import", import);
        EXPECT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_EQ(Program("punchbook-export", month).out, exported.out) << id;
    }

    const std::string before = Files(folder);
    const struct {
        std::string csv;
        int exitCode;
        const char* words;
    } refused[] = {
        {"1,1999/3/1,8:00,17:00\n1,1999/3/2,8:00,17:00\n7,1999/3/2,8:00,17:00\n", 1,
         "3行目: 従業員番号 007 は登録されていません"},
        {"1,1999/3/1,8:00,17:00\n1,1999/3/2,\"8:00,17:00\n", 3, "2行目: 引用符"},
        {"1,1999/3/1,8:00,17:00\n", 4, "使用中"},
    };
    for (const auto& r : refused) {
        const std::string csv = scratch / "refused.csv";
        std::ofstream(csv, std::ios::binary) << r.csv;
        LockOutcome held;
        if (r.exitCode == 4) {
            ScriptedOperator op;
            held = LockProgramFolder(RealFileSystem(), folder.path(), op);
            ASSERT_TRUE(held.lock);
        }
        const ToolRun run =
            Program("punchbook-import", {"--folder", folder.path(), "--columns", "1,2,3,4", csv});
        EXPECT_EQ(run.exitCode, r.exitCode) << run.err;
        EXPECT_NE(run.err.find(r.words), std::string::npos) << run.err;
        held.lock.reset();
        EXPECT_EQ(Files(folder), before) << r.words;
    }
}

}  // namespace
}  // namespace pb
