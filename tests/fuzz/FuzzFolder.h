#pragma once
// The program folder a fuzz target reads: one of its own in the temporary
// directory, made once per process, emptied and filled again from every input.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/TempFolder.h"

namespace pb::fuzz {

// Cuts an input into the files of a folder.
inline constexpr std::string_view kSeparator = "\n--8<--\n";

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline std::vector<std::string_view> Split(std::string_view input) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto cut = input.find(kSeparator);
        parts.push_back(input.substr(0, cut));
        if (cut == std::string_view::npos)
            return parts;
        input.remove_prefix(cut + kSeparator.size());
    }
}

class Folder {
  public:
    // The folder, ending in "/", emptied.
    const std::string& Fresh() {
        for (const auto& entry : std::filesystem::directory_iterator(folder_.path()))
            std::filesystem::remove_all(entry.path());
        return folder_.path();
    }
    // Each does nothing when the name is already taken: the first of an input counts.
    void Put(const std::string& name, std::string_view content) {
        if (!Taken(name))
            std::ofstream(folder_ / name, std::ios::binary)
                .write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    // A folder, or a symbolic link to itself, where a file is looked for.
    void PutFolder(const std::string& name) {
        if (!Taken(name))
            std::filesystem::create_directory(folder_ / name);
    }
    void PutLoop(const std::string& name) {
        if (!Taken(name))
            std::filesystem::create_symlink(name, folder_ / name);
    }

  private:
    bool Taken(const std::string& name) const {
        return std::filesystem::symlink_status(folder_ / name).type() !=
               std::filesystem::file_type::not_found;
    }

    test::TempFolder folder_;
};

// One per process: removed when the fuzzer or the replay ends.
inline Folder& TheFolder() {
    static Folder folder;
    return folder;
}

}  // namespace pb::fuzz
