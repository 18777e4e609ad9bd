#include "core/store/DataFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "core/store/DataFiles.h"
#include "core/store/Settings.h"

namespace pb {

namespace {

namespace fs = std::filesystem;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// `folder` made absolute against `base`, "." and ".." taken out.
std::string Absolute(const std::string& folder, const std::string& base) {
    fs::path path(folder);
    if (path.is_relative())
        path = fs::path(base.empty() ? std::string("/") : base) / path;
    std::string text = path.lexically_normal().string();
    return WithSlash(text);
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

FolderEnvironment CurrentFolderEnvironment(const std::string& folderOption) {
    FolderEnvironment env;
    env.folderOption = folderOption;
    env.folderVariable = Variable("PUNCHBOOK_FOLDER");
    env.xdgDataHome = Variable("XDG_DATA_HOME");
    env.home = Variable("HOME");
    if (env.home.empty()) {
        if (const passwd* account = ::getpwuid(::getuid()); account != nullptr)
            env.home = account->pw_dir;
    }
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        env.programFolder = WithSlash(self.parent_path().string());
    const fs::path here = fs::current_path(error);
    if (!error)
        env.workingFolder = here.string();
    return env;
}

DataFolder ChooseDataFolder(const FolderEnvironment& env, const FileSystem& fs) {
    if (!env.folderOption.empty())
        return {Absolute(env.folderOption, env.workingFolder), DataFolderSource::Option};
    if (!env.folderVariable.empty())
        return {Absolute(env.folderVariable, env.workingFolder), DataFolderSource::Variable};
    if (!env.programFolder.empty() && HoldsDataFiles(fs, WithSlash(env.programFolder)))
        return {WithSlash(env.programFolder), DataFolderSource::ProgramFolder};
    // A relative XDG_DATA_HOME is not valid and is ignored, as the base
    // directory rules say.
    if (!env.xdgDataHome.empty() && env.xdgDataHome.front() == '/')
        return {Absolute(env.xdgDataHome + "/punchbook", "/"), DataFolderSource::UserData};
    if (env.home.empty() || env.home.front() != '/')
        throw std::runtime_error(
            "データフォルダを決められません。\n"
            "--folder か環境変数 PUNCHBOOK_FOLDER でフォルダを指定して下さい。");
    return {Absolute(env.home + "/.local/share/punchbook", "/"), DataFolderSource::UserData};
}

void PrepareDataFolder(const DataFolder& folder) {
    if (IsDirectory(folder.path))
        return;
    if (folder.source != DataFolderSource::UserData)
        throw FileError(folder.path, ENOENT,
                        "データフォルダ " + folder.path + " がありません。\n" +
                            (folder.source == DataFolderSource::Option
                                 ? "--folder に指定したフォルダを確かめて下さい。"
                                 : "環境変数 PUNCHBOOK_FOLDER を確かめて下さい。"));
    // One level at a time, so that every folder made here is the user's only.
    fs::path partial;
    for (const fs::path& part : fs::path(folder.path)) {
        if (part.empty())
            continue;
        partial /= part;
        if (IsDirectory(partial.string()))
            continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            const int error = errno;
            throw FileError(
                partial.string(), error,
                "データフォルダ " + folder.path + " を作れません。\n" + ErrorReason(error));
        }
    }
}

bool HoldsDataFiles(const FileSystem& fs, const std::string& folder) {
    const std::string prefix = WithSlash(folder);
    for (const char* name : {kSettingsFileName, kNameFileName, kDailyWagesFileName,
                             kTimeWagesFileName, kNextCellFileName})
        if (fs.Exists(prefix + name))
            return true;
    return false;
}

std::string InstalledFile(const FileSystem& fs, const std::string& programFolder,
                          const std::string& name) {
    const std::string beside = WithSlash(programFolder) + name;
    if (fs.Exists(beside))
        return beside;
    return Absolute(WithSlash(programFolder) + "../share/punchbook", "/") + name;
}

std::string NextCellFileFor(const FileSystem& fs, const std::string& dataFolder,
                            const std::string& programFolder) {
    const std::string own = WithSlash(dataFolder) + "NextCell.dat";
    if (fs.Exists(own) || programFolder.empty())
        return own;
    return InstalledFile(fs, programFolder, "NextCell.dat");
}

}  // namespace pb
