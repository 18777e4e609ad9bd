#pragma once
// A file system for tests and benchmarks: it passes every call to another file
// system, counts the mutating calls and can make one of them fail.

#include <string>
#include <vector>

#include "core/store/FileSystem.h"

namespace pb {

class FaultyFileSystem final : public FileSystem {
  public:
    explicit FaultyFileSystem(FileSystem& inner = RealFileSystem()) : inner_(inner) {}

    // Makes the `n`th mutating call from now on (1-based) fail with `error`.
    // With `shortWrite`, a WriteAt/Append/Replace first writes half its bytes
    // (WriteAt/Append straight into the target, as a torn write would).
    void FailAt(int n, int error = 5 /* EIO */, bool shortWrite = false);
    void Disarm() { failAt_ = 0; }
    // Mutating calls since construction or the last ResetCount().
    int MutationCount() const { return count_; }
    // An armed failure stays on the same call.
    void ResetCount() {
        if (failAt_ != 0)
            failAt_ -= count_;
        count_ = 0;
    }
    // "op path" of every mutating call, in order.
    const std::vector<std::string>& Log() const { return log_; }
    bool Failed() const { return failed_; }

    bool Exists(const std::string& path) const override { return inner_.Exists(path); }
    std::optional<std::uint64_t> Size(const std::string& path) const override {
        return inner_.Size(path);
    }
    Bytes ReadAll(const std::string& path) const override { return inner_.ReadAll(path); }
    Bytes ReadAt(const std::string& path, std::uint64_t offset, std::size_t count) const override {
        return inner_.ReadAt(path, offset, count);
    }
    std::vector<std::string> List(const std::string& folder) const override {
        return inner_.List(folder);
    }

    void WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) override;
    void Append(const std::string& path, const Bytes& data) override;
    void Copy(const std::string& from, const std::string& to) override;
    void Replace(const std::string& path, const Bytes& content) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;

  private:
    // Counts the call; true when this one is to fail.
    bool Next(const std::string& op, const std::string& path);
    [[noreturn]] void Throw(const std::string& path);

    FileSystem& inner_;
    int count_ = 0;
    int failAt_ = 0;
    int error_ = 5;
    bool shortWrite_ = false;
    bool failed_ = false;
    std::vector<std::string> log_;
};

}  // namespace pb
