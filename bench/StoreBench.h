#pragma once
// What the store's benchmarks share (bench_store on the local disk,
// bench_share on a network share): an operator that answers yes and stops the
// run on an error, and a large program folder in TMPDIR with a pristine copy
// to restore it from between iterations.

#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "bench/LargeFolder.h"
#include "bench/RawFiles.h"
#include "core/store/DataFiles.h"
#include "core/store/Operator.h"

namespace bench {

class QuietOperator final : public pb::Operator {
  public:
    pb::Reply Warning(const std::string&, pb::Buttons) override { return pb::Reply::Yes; }
    void Information(const std::string&) override {}
    bool Question(const std::string&) override { return true; }
    void Error(const std::string& text) override { throw std::runtime_error(text); }
    bool ConfirmDailyUpdate(const pb::PendingDailyRegistration&) override { return true; }
    bool ConfirmTimeUpdate(const pb::PendingTimeRegistration&) override { return true; }
};

// `employees` daily-wage employees with the twelve months of `year` (18.8 MB at 999).
struct LargeStoreFolder {
    LargeStoreFolder(const char* prefix, int employees, int yearOfMonths)
        : path(MakeTempFolder(prefix)),
          pristine(MakeTempFolder((std::string(prefix) + "-pristine").c_str())),
          files(pb::AssignDataFiles(path)),
          year(files.WorkFile(yearOfMonths)) {
        WriteLargeFolder(pristine, employees, 1, yearOfMonths);
        Restore();
    }
    ~LargeStoreFolder() {
        std::filesystem::remove_all(path);
        std::filesystem::remove_all(pristine);
    }
    LargeStoreFolder(const LargeStoreFolder&) = delete;
    LargeStoreFolder& operator=(const LargeStoreFolder&) = delete;

    // The folder as written, whatever was changed or left in it.
    void Restore() const {
        std::filesystem::remove_all(path);
        std::filesystem::create_directory(path);
        for (const auto& entry : std::filesystem::directory_iterator(pristine))
            std::filesystem::copy_file(entry.path(), path + entry.path().filename().string());
    }
    // Only these files as written: on a share a copy of the year file takes seconds.
    void Restore(std::initializer_list<const char*> names) const {
        for (const char* name : names)
            std::filesystem::copy_file(pristine + name, path + name,
                                       std::filesystem::copy_options::overwrite_existing);
    }

    std::string path;
    std::string pristine;
    pb::DataFiles files;
    std::string year;
};

}  // namespace bench
