#include "core/store/FaultyFileSystem.h"

namespace pb {
namespace {

Bytes FirstHalf(const Bytes& data) {
    return Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(data.size() / 2));
}

}  // namespace

void FaultyFileSystem::FailAt(int n, int error, bool shortWrite) {
    failAt_ = count_ + n;
    error_ = error;
    shortWrite_ = shortWrite;
    failed_ = false;
}

bool FaultyFileSystem::Next(const std::string& op, const std::string& path) {
    ++count_;
    log_.push_back(op + " " + path);
    if (failAt_ != 0 && count_ == failAt_) {
        failed_ = true;
        return true;
    }
    return false;
}

void FaultyFileSystem::Throw(const std::string& path) {
    throw FileError(path, error_, path + " に書き込めません。\n" + ErrorReason(error_));
}

void FaultyFileSystem::WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) {
    if (Next("write", path)) {
        if (shortWrite_) inner_.WriteAt(path, offset, FirstHalf(data));
        Throw(path);
    }
    inner_.WriteAt(path, offset, data);
}

void FaultyFileSystem::Append(const std::string& path, const Bytes& data) {
    if (Next("append", path)) {
        if (shortWrite_) inner_.Append(path, FirstHalf(data));
        Throw(path);
    }
    inner_.Append(path, data);
}

void FaultyFileSystem::Copy(const std::string& from, const std::string& to) {
    if (Next("copy", to)) Throw(to);
    inner_.Copy(from, to);
}

void FaultyFileSystem::Replace(const std::string& path, const Bytes& content) {
    // A torn replace never reaches the target: the real one writes a temporary
    // file first, so a short write here fails as a whole.
    if (Next("replace", path)) Throw(path);
    inner_.Replace(path, content);
}

void FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    if (Next("rename", from + " -> " + to)) Throw(from);
    inner_.Rename(from, to);
}

void FaultyFileSystem::Remove(const std::string& path) {
    if (Next("remove", path)) Throw(path);
    inner_.Remove(path);
}

}  // namespace pb
