#include "common/CommandLine.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "core/store/DataFolder.h"

namespace pb::cli {
namespace {

bool Among(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::optional<int> Number(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::vector<Argument> ReadArguments(const std::vector<std::string>& args,
                                    std::initializer_list<std::string_view> withValue,
                                    std::initializer_list<std::string_view> flags, bool plain) {
    std::vector<Argument> read;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (Among(arg, flags)) {
            read.push_back({arg, {}});
        } else if (const auto eq = arg.find('='); arg.starts_with("--") &&
                                                  eq != std::string::npos &&
                                                  Among(arg.substr(0, eq), withValue)) {
            read.push_back({arg.substr(0, eq), arg.substr(eq + 1)});
        } else if (Among(arg, withValue)) {
            if (i + 1 >= args.size())
                throw UsageError{arg + " の値がありません。"};
            read.push_back({arg, args[++i]});
        } else if (plain && !arg.starts_with("--")) {
            read.push_back({{}, arg});
        } else {
            throw UsageError{"不明な指定です: " + arg.substr(0, arg.find('='))};
        }
    }
    return read;
}

UsageError InvalidValue(const Argument& argument) {
    return UsageError{argument.name + " の値が不正です: " + argument.value};
}

std::string WorkingFolder(const std::string& given) {
    std::string folder;
    try {
        folder = ChooseDataFolder(CurrentFolderEnvironment(given)).path;
    } catch (const std::runtime_error& error) {
        throw UsageError{error.what()};
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw UsageError{"フォルダがありません: " + folder};
    return folder;
}

void Tool::Say(const std::string& message) const {
    std::cerr << name_ << ": " << message << "\n";
}

int Tool::Fail(int code, const std::string& message) const {
    Say(message);
    return code;
}

int Tool::Print(const std::string& out, int done, int failed) const {
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    std::cout.flush();
    return std::cout ? done : Fail(failed, "出力を書き込めません。");
}

int Tool::Main(int argc, char** argv,
               const std::function<int(const std::vector<std::string>&)>& run) const {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << usage_ << "\n";
        return 0;
    }
    try {
        return run(args);
    } catch (const UsageError& error) {
        std::cerr << name_ << ": " << error.message << "\n" << usage_ << "\n";
        return kUsage;
    }
}

}  // namespace pb::cli
