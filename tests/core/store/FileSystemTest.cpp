#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/TempFolder.h"
#include "core/store/FileSystem.h"
#include "support/FaultyFileSystem.h"

namespace pb {
namespace {

Bytes B(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

class FileSystemTest : public ::testing::Test {
  protected:
    std::string Text(const std::string& name) const {
        const Bytes bytes = fs.ReadAll(folder / name);
        return std::string(bytes.begin(), bytes.end());
    }

    test::TempFolder folder;
    FileSystem& fs = RealFileSystem();
};

TEST_F(FileSystemTest, ReplaceSwapsTheWholeFileInOneStep) {
    fs.Replace(folder / "a.dat", B("old content"));
    // A reader that opened the old file keeps reading the old file, whole.
    std::ifstream reader(folder / "a.dat", std::ios::binary);
    fs.Replace(folder / "a.dat", B("new"));
    std::string seen((std::istreambuf_iterator<char>(reader)), std::istreambuf_iterator<char>());
    EXPECT_EQ(seen, "old content");
    EXPECT_EQ(Text("a.dat"), "new");
    EXPECT_EQ(fs.List(folder.path()), std::vector<std::string>{"a.dat"});
}

TEST_F(FileSystemTest, ReplaceKeepsThePermissionsOfTheFileItReplaces) {
    fs.Replace(folder / "a.dat", B("x"));
    ::chmod((folder / "a.dat").c_str(), 0600);
    fs.Replace(folder / "a.dat", B("y"));
    struct stat st {};
    ASSERT_EQ(::stat((folder / "a.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(FileSystemTest, AFailedReplaceLeavesTheTargetAndNoTemporaryFile) {
    // A folder in the target's place: the temporary file is written, the rename fails.
    std::filesystem::create_directory(folder / "a.dat");
    fs.Replace(folder / "keep.dat", B("keep"));
    try {
        fs.Replace(folder / "a.dat", B("new"));
        ADD_FAILURE() << "replacing a folder succeeded";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), folder / "a.dat");
        EXPECT_NE(std::string(e.what()).find(folder / "a.dat"), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a.dat"));
    EXPECT_EQ(fs.List(folder.path()), std::vector<std::string>{"keep.dat"});
    // A folder that does not exist: nothing is created anywhere.
    EXPECT_THROW(fs.Replace(folder / "missing/a.dat", B("x")), FileError);
    EXPECT_FALSE(fs.Exists(folder / "missing"));
}

TEST_F(FileSystemTest, ReadWriteAppendCopyRenameRemove) {
    fs.WriteAt(folder / "a.dat", 0, B("0123456789"));
    fs.WriteAt(folder / "a.dat", 4, B("xy"));
    EXPECT_EQ(Text("a.dat"), "0123xy6789");
    fs.Append(folder / "a.dat", B("AB"));
    EXPECT_EQ(fs.Size(folder / "a.dat"), 12u);
    EXPECT_EQ(fs.ReadAt(folder / "a.dat", 10, 5), B("AB"));  // short at the end
    EXPECT_EQ(fs.ReadAt(folder / "a.dat", 20, 5), B(""));
    fs.Append(folder / "new.dat", B("n"));
    EXPECT_EQ(Text("new.dat"), "n");
    fs.Copy(folder / "a.dat", folder / "new.dat");
    EXPECT_EQ(Text("new.dat"), "0123xy6789AB");
    fs.Rename(folder / "new.dat", folder / "a.dat");
    EXPECT_EQ(fs.List(folder.path()), std::vector<std::string>{"a.dat"});
    fs.Remove(folder / "a.dat");
    EXPECT_FALSE(fs.Exists(folder / "a.dat"));
    EXPECT_EQ(fs.Size(folder / "a.dat"), std::nullopt);

    const std::function<void()> failing[] = {
        [&] { fs.ReadAll(folder / "none.dat"); },
        [&] { fs.ReadAt(folder / "none.dat", 0, 1); },
        [&] { fs.Copy(folder / "none.dat", folder / "b.dat"); },
        [&] { fs.Rename(folder / "none.dat", folder / "b.dat"); },
        [&] { fs.Remove(folder / "none.dat"); },
        [&] { fs.List(folder / "none"); },
    };
    for (const auto& call : failing) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.error(), ENOENT);
            EXPECT_NE(std::string(e.what()).find("none"), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(fs.Exists(folder / "b.dat"));
}

TEST_F(FileSystemTest, ListNamesRegularFilesOnlyInOneOrder) {
    for (const char* name : {"b.dat", "A.dat", "a.dat", "1999_fv2.pbk"}) {
        fs.Replace(folder / name, B("x"));
    }
    std::filesystem::create_directory(folder / "sub.dat");
    std::filesystem::create_symlink(folder / "sub.dat", folder / "link-to-folder");
    EXPECT_EQ(fs.List(folder.path()),
              (std::vector<std::string>{"1999_fv2.pbk", "A.dat", "a.dat", "b.dat"}));
    // Without the trailing "/" too.
    EXPECT_EQ(fs.List(folder.path().substr(0, folder.path().size() - 1)).size(), 4u);
}

// Only "no such file" is absence; anything else in the way is named with what is wrong.
TEST_F(FileSystemTest, OnlyNoSuchFileIsAbsence) {
    fs.Replace(folder / "a.dat", B("x"));
    std::filesystem::create_directory(folder / "dir.dat");
    std::filesystem::create_symlink(folder / "loop.dat", folder / "loop.dat");
    for (const char* absent : {"none.dat", "a.dat/x"}) {
        EXPECT_FALSE(fs.Exists(folder / absent)) << absent;
        EXPECT_EQ(fs.Size(folder / absent), std::nullopt) << absent;
        EXPECT_EQ(fs.Stamp(folder / absent), std::nullopt) << absent;
    }
    EXPECT_TRUE(fs.Exists(folder / "dir.dat"));
    const struct {
        const char* name;
        std::function<void(const std::string&)> look;
        const char* reason;
    } cases[] = {
        {"dir.dat", [&](const std::string& p) { fs.Size(p); }, "フォルダです。"},
        {"dir.dat", [&](const std::string& p) { fs.Stamp(p); }, "フォルダです。"},
        {"loop.dat", [&](const std::string& p) { fs.Exists(p); }, "循環"},
        {"loop.dat", [&](const std::string& p) { fs.Size(p); }, "循環"},
    };
    for (const auto& c : cases) {
        try {
            c.look(folder / c.name);
            ADD_FAILURE() << c.name << " read as absent";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()).find(folder / c.name), 0u) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(fs.List(folder.path()), (std::vector<std::string>{"a.dat", "loop.dat"}));
}

TEST_F(FileSystemTest, FaultyFileSystemFailsExactlyTheNthMutation) {
    const std::string a = folder / "a.dat";
    fs.Replace(a, B("start"));
    using Call = std::function<void(FileSystem&)>;
    const Call calls[] = {
        [&](FileSystem& f) { f.WriteAt(a, 0, B("w")); },
        [&](FileSystem& f) { f.Append(a, B("+")); },
        [&](FileSystem& f) { f.Copy(a, folder / "b.dat"); },
        [&](FileSystem& f) { f.Replace(folder / "b.dat", B("r")); },
        [&](FileSystem& f) { f.Rename(folder / "b.dat", folder / "c.dat"); },
        [&](FileSystem& f) { f.Remove(folder / "c.dat"); },
        [&](FileSystem& f) { f.Truncate(a, 1); },
        [&](FileSystem& f) { f.Create(folder / "d.dat", B("d")); },
        [&](FileSystem& f) { f.Link(folder / "d.dat", folder / "e.dat"); },
        [&](FileSystem& f) { f.CreateExclusive(folder / "f.dat", B("f")); },
    };
    constexpr int kCalls = static_cast<int>(std::size(calls));
    for (int n = 1; n <= kCalls; ++n) {
        fs.Replace(a, B("start"));
        FaultyFileSystem faulty;
        faulty.ReadAll(a);  // reads are not counted
        faulty.FailAt(n, ENOSPC);
        int failedCall = 0;
        for (int i = 0; i < kCalls && failedCall == 0; ++i) {
            try {
                calls[i](faulty);
            } catch (const FileError& e) {
                failedCall = i + 1;
                EXPECT_EQ(e.error(), ENOSPC);
            }
        }
        EXPECT_EQ(failedCall, n);
        EXPECT_TRUE(faulty.Failed());
        EXPECT_EQ(faulty.MutationCount(), n);
        for (const char* name : {"b.dat", "c.dat", "d.dat", "e.dat", "f.dat"})
            std::filesystem::remove(folder / name);
    }
}

TEST_F(FileSystemTest, FaultyFileSystemCountsFromWhenItIsArmed) {
    FaultyFileSystem faulty;
    faulty.Append(folder / "a.dat", B("1"));
    faulty.FailAt(2);
    faulty.ResetCount();  // the armed call does not move
    faulty.Append(folder / "a.dat", B("2"));
    EXPECT_THROW(faulty.Append(folder / "a.dat", B("3")), FileError);
    faulty.Append(folder / "a.dat", B("4"));  // only that one call fails
    EXPECT_EQ(Text("a.dat"), "124");
    EXPECT_EQ(faulty.Log(), (std::vector<std::string>{
                                "append " + folder / "a.dat", "append " + folder / "a.dat",
                                "append " + folder / "a.dat", "append " + folder / "a.dat"}));
    faulty.FailAt(1);
    faulty.Disarm();
    faulty.Append(folder / "a.dat", B("5"));
    EXPECT_EQ(Text("a.dat"), "1245");
}

TEST_F(FileSystemTest, ShortWritesTearWritesButNeverReplaces) {
    const struct {
        const char* name;
        std::function<void(FileSystem&, const std::string&)> call;
        const char* after;
    } cases[] = {
        {"write", [](FileSystem& f, const std::string& p) { f.WriteAt(p, 2, B("abcd")); },
         "olaborder"},
        {"append", [](FileSystem& f, const std::string& p) { f.Append(p, B("abcd")); },
         "old orderab"},
        {"replace", [](FileSystem& f, const std::string& p) { f.Replace(p, B("abcd")); },
         "old order"},
    };
    for (const auto& c : cases) {
        const std::string path = folder / "a.dat";
        fs.Replace(path, B("old order"));
        FaultyFileSystem faulty;
        faulty.FailAt(1, EIO, true);
        EXPECT_THROW(c.call(faulty, path), FileError) << c.name;
        EXPECT_EQ(Text("a.dat"), c.after) << c.name;
        EXPECT_EQ(fs.List(folder.path()), std::vector<std::string>{"a.dat"}) << c.name;
    }
}

// What the transactions and the folder lock stand on.
TEST_F(FileSystemTest, ExclusiveCreationLinksTruncationAndLocks) {
    const std::string a = folder / "a.dat";
    EXPECT_TRUE(fs.CreateExclusive(a, B("first")));
    EXPECT_FALSE(fs.CreateExclusive(a, B("second")));  // taken: left as it is
    EXPECT_EQ(Text("a.dat"), "first");
    // Unflushed (the folder lock) it appears just as whole; written through later.
    const std::string b = folder / "b.dat";
    EXPECT_TRUE(fs.CreateExclusive(b, B("lock"), false));
    EXPECT_FALSE(fs.CreateExclusive(b, B("other"), false));
    EXPECT_EQ(Text("b.dat"), "lock");
    fs.Sync(b);
    fs.Remove(b);
    EXPECT_THROW(fs.Sync(b), FileError);

    // A second name keeps the content when the first is replaced by a rename.
    fs.Link(a, folder / "a.old~");
    fs.Create(folder / "a.new~", B("new"));
    fs.Rename(folder / "a.new~", a);
    EXPECT_EQ(Text("a.old~"), "first");
    EXPECT_EQ(Text("a.dat"), "new");

    fs.Append(a, B("+more"));
    fs.Truncate(a, 3);
    EXPECT_EQ(Text("a.dat"), "new");
    fs.Flush(folder.path());

    // One holder at a time, even within one process; released when destroyed.
    auto held = fs.TryLock(a);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(fs.TryLock(a), nullptr);
    held.reset();
    EXPECT_NE(fs.TryLock(a), nullptr);

    // Two copies of the program never meet on a temporary name.
    EXPECT_NE(ScratchName(a, "new~"), ScratchName(a, "new~"));
    EXPECT_TRUE(IsScratchName(ScratchName("Name.dat", "old~")));
    EXPECT_FALSE(IsScratchName("Name.dat"));
    EXPECT_EQ(fs.List(folder.path()), (std::vector<std::string>{"a.dat", "a.old~"}));
}

// A folder opened read-only refuses every write, naming the data file.
TEST_F(FileSystemTest, AReadOnlyFolderRefusesEveryWrite) {
    fs.Replace(folder / "a.dat", B("keep"));
    ReadOnlyFileSystem readOnly;
    EXPECT_EQ(readOnly.ReadAll(folder / "a.dat"), B("keep"));
    for (const auto& write : std::vector<std::function<void()>>{
             [&] { readOnly.Append(folder / "a.dat", B("x")); },
             [&] { readOnly.Replace(folder / "a.dat", B("x")); },
             [&] { readOnly.Remove(folder / "a.dat"); },
             [&] { readOnly.CreateExclusive(folder / "b.dat", B("x")); }}) {
        try {
            write();
            ADD_FAILURE() << "written";
        } catch (const FileError& e) {
            EXPECT_EQ(e.error(), EROFS);
            EXPECT_NE(std::string(e.what()).find(".dat に書き込めません"), std::string::npos);
        }
    }
    EXPECT_EQ(fs.List(folder.path()), std::vector<std::string>{"a.dat"});
    EXPECT_EQ(Text("a.dat"), "keep");
}

}  // namespace
}  // namespace pb
