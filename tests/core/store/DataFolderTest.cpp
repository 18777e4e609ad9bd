// Which folder the program keeps its data in, and where it finds its installed files.
#include "core/store/DataFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/TempFolder.h"
#include "core/common/RecordFields.h"

namespace pb {
namespace {

void Touch(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    RealFileSystem().Replace(path, Bytes{});
}

unsigned Mode(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

TEST(DataFolder, ChosenInOrderOptionVariableProgramFolderUserFolder) {
    const test::TempFolder root;
    const std::string withData = root / "portable/";
    const std::string bare = root / "usr/bin/";
    Touch(withData + "PBOOK2.INI");
    std::filesystem::create_directories(bare);

    struct Case {
        const char* why;
        FolderEnvironment env;
        std::string folder;
        DataFolderSource source;
    } cases[] = {
        {"the option wins over everything",
         {"/srv/pb", "/data/pb", withData, "/xdg", "/home/u", "/"},
         "/srv/pb/",
         DataFolderSource::Option},
        {"a relative option is taken from the working folder",
         {"pb/../books", "", bare, "", "/home/u", "/home/u/work"},
         "/home/u/work/books/",
         DataFolderSource::Option},
        {"the variable comes next",
         {"", "/data/pb/", withData, "/xdg", "/home/u", "/"},
         "/data/pb/",
         DataFolderSource::Variable},
        {"a program folder that holds data files stays the data folder",
         {"", "", withData, "/xdg", "/home/u", "/"},
         withData,
         DataFolderSource::ProgramFolder},
        {"an installed program uses XDG_DATA_HOME",
         {"", "", bare, "/xdg/", "/home/u", "/"},
         "/xdg/punchbook/",
         DataFolderSource::UserData},
        {"a relative XDG_DATA_HOME is ignored",
         {"", "", bare, "xdg", "/home/u", "/"},
         "/home/u/.local/share/punchbook/",
         DataFolderSource::UserData},
        {"no XDG_DATA_HOME: the default under HOME",
         {"", "", bare, "", "/home/u", "/"},
         "/home/u/.local/share/punchbook/",
         DataFolderSource::UserData},
    };
    for (const Case& c : cases) {
        const DataFolder chosen = ChooseDataFolder(c.env);
        EXPECT_EQ(chosen.path, c.folder) << c.why;
        EXPECT_EQ(chosen.source, c.source) << c.why;
    }
    EXPECT_THROW(ChooseDataFolder({"", "", bare, "", "", "/"}), std::runtime_error)
        << "without a home there is no folder to choose";
}

TEST(DataFolder, TheUsersFolderIsMadePrivateANamedOneMustExist) {
    const test::TempFolder root;
    const std::string user = root / "home/.local/share/punchbook/";
    PrepareDataFolder({user, DataFolderSource::UserData});
    EXPECT_TRUE(std::filesystem::is_directory(user));
    EXPECT_EQ(Mode(user), 0700u);
    EXPECT_EQ(Mode(root / "home/.local"), 0700u);
    PrepareDataFolder({user, DataFolderSource::UserData});  // a later start: nothing to do

    // A mistyped --folder or PUNCHBOOK_FOLDER is refused, not made.
    for (const DataFolderSource named : {DataFolderSource::Option, DataFolderSource::Variable}) {
        EXPECT_THROW(PrepareDataFolder({root / "typo/", named}), FileError);
        EXPECT_FALSE(std::filesystem::exists(root / "typo"));
    }
    // A folder that cannot be made is reported.
    std::filesystem::permissions(
        root / "home", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::access((root / "home").c_str(), W_OK) != 0) {  // root may write anyway
        EXPECT_THROW(PrepareDataFolder({root / "home/other/", DataFolderSource::UserData}),
                     FileError);
    }
}

TEST(DataFolder, TheCursorTableIsTheDataFoldersElseTheInstalledOne) {
    const test::TempFolder root;
    const std::string data = root / "data/";
    const std::string build = root / "build/";
    const std::string bin = root / "usr/bin/";
    for (const std::string& folder : {data, build, bin})
        std::filesystem::create_directories(folder);
    Touch(build + "NextCell.dat");
    Touch(root / "usr/share/punchbook/NextCell.dat");

    EXPECT_EQ(NextCellFileFor(RealFileSystem(), data, build), build + "NextCell.dat");
    EXPECT_EQ(NextCellFileFor(RealFileSystem(), data, bin),
              root / "usr/share/punchbook/NextCell.dat");
    Touch(data + "NextCell.dat");
    EXPECT_EQ(NextCellFileFor(RealFileSystem(), data, bin), data + "NextCell.dat");
    EXPECT_EQ(InstalledFile(RealFileSystem(), bin, "help"), root / "usr/share/punchbook/help");
}

}  // namespace
}  // namespace pb
