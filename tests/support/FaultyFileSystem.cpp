#include "support/FaultyFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace pb {
namespace {

Bytes FirstHalf(const Bytes& data) {
    return Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(data.size() / 2));
}

// A file held open under a share's lock that nobody else sees.
class OpenOnShare final : public AdvisoryLock {
  public:
    OpenOnShare(std::shared_ptr<std::multiset<std::string>> open, std::string path)
        : open_(std::move(open)), at_(open_->insert(std::move(path))) {}
    ~OpenOnShare() override { open_->erase(at_); }

  private:
    std::shared_ptr<std::multiset<std::string>> open_;
    std::multiset<std::string>::iterator at_;
};

}  // namespace

void FaultyFileSystem::FailAt(int n, int error, bool shortWrite) {
    failAt_ = count_ + n;
    error_ = error;
    shortWrite_ = shortWrite;
    failed_ = false;
    crashed_ = false;
    dead_ = false;
}

void FaultyFileSystem::CrashAt(int n, bool torn) {
    FailAt(n, 5, torn);
    crashed_ = true;
}

bool FaultyFileSystem::Next(const std::string& op, const std::string& path) {
    ++count_;
    log_.push_back(op + " " + path);
    if (dead_)
        Throw(path);
    if (failAt_ != 0 && count_ == failAt_) {
        failed_ = true;
        return true;
    }
    return false;
}

void FaultyFileSystem::CheckRead(const std::string& path) const {
    if (readError_ != 0)
        throw FileError(path, readError_, path + " を開けません。\n" + ErrorReason(readError_));
}

void FaultyFileSystem::Throw(const std::string& path) {
    if (crashed_)
        dead_ = true;
    throw FileError(path, error_, path + " に書き込めません。\n" + ErrorReason(error_));
}

std::unique_ptr<AdvisoryLock> FaultyFileSystem::TryLock(const std::string& path) const {
    if (!share_)
        return inner_.TryLock(path);
    if (!inner_.Exists(path))
        throw FileError(path, ENOENT, path + " を開けません。\n" + ErrorReason(ENOENT));
    return std::make_unique<OpenOnShare>(open_, path);
}

void FaultyFileSystem::RefuseWhileOpen(const std::string& path) const {
    if (share_ && open_->contains(path))
        throw FileError(path, EBUSY, path + " を削除できません。\n" + ErrorReason(EBUSY));
}

void FaultyFileSystem::WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) {
    if (Next("write", path)) {
        if (Torn())
            inner_.WriteAt(path, offset, FirstHalf(data));
        Throw(path);
    }
    inner_.WriteAt(path, offset, data);
}

void FaultyFileSystem::Append(const std::string& path, const Bytes& data) {
    if (Next("append", path)) {
        if (Torn())
            inner_.Append(path, FirstHalf(data));
        Throw(path);
    }
    if (share_)
        throw FileError(path, EIO, path + " に書き込めません。\n" + ErrorReason(EIO));
    inner_.Append(path, data);
}

void FaultyFileSystem::Truncate(const std::string& path, std::uint64_t size) {
    if (Next("truncate", path))
        Throw(path);
    inner_.Truncate(path, size);
}

void FaultyFileSystem::Create(const std::string& path, const Bytes& content) {
    if (Next("create", path)) {
        if (Torn())
            inner_.Create(path, FirstHalf(content));
        Throw(path);
    }
    inner_.Create(path, content);
}

void FaultyFileSystem::CreateInPieces(const std::string& path, const PieceSource& source) {
    if (!Next("create", path)) {
        inner_.CreateInPieces(path, source);
        return;
    }
    if (Torn() && crashed_) {
        // Killed in the middle of the copy: half a piece is in the file.
        Bytes half;
        try {
            source([&](const std::uint8_t* data, std::size_t size) {
                half.assign(data, data + size / 2);
                Throw(path);
            });
        } catch (const FileError&) {
        }
        inner_.Create(path, half);
    } else if (Torn()) {
        // Failing in the middle of the copy, with half a piece written and the
        // source half read: the real one removes its file and passes the error on.
        inner_.CreateInPieces(path, [&](const PieceWriter& write) {
            source([&](const std::uint8_t* data, std::size_t size) {
                write(data, size / 2);
                Throw(path);
            });
        });
    }
    Throw(path);
}

bool FaultyFileSystem::CreateExclusive(const std::string& path, const Bytes& content,
                                       bool flushed) {
    if (Next("create-exclusive", path)) {
        // Killed while writing, the real one leaves its temporary file behind;
        // on a share without hard links, the file itself cut short (here
        // before its first line ends).
        if (Torn() && crashed_ && share_)
            inner_.Create(
                path, Bytes(content.begin(),
                            content.begin() + std::min<std::ptrdiff_t>(
                                                  5, static_cast<std::ptrdiff_t>(content.size()))));
        else if (Torn() && crashed_)
            inner_.Create(ScratchName(path, "new~"), FirstHalf(content));
        Throw(path);
    }
    if (!share_)
        return inner_.CreateExclusive(path, content, flushed);
    if (inner_.Exists(path))
        return false;
    if (race_ && path == racePath_)
        std::exchange(race_, nullptr)();
    inner_.Create(path, content);
    return true;
}

void FaultyFileSystem::Link(const std::string& from, const std::string& to) {
    if (Next("link", from + " -> " + to))
        Throw(from);
    if (share_)
        inner_.Create(to, inner_.ReadAll(from));
    else
        inner_.Link(from, to);
}

void FaultyFileSystem::Copy(const std::string& from, const std::string& to) {
    CheckRead(from);
    if (Next("copy", to))
        Throw(to);
    inner_.Copy(from, to);
}

void FaultyFileSystem::Replace(const std::string& path, const Bytes& content) {
    // A torn replace never reaches the target: the real one writes a temporary
    // file first, so a short write fails as a whole; killed, it leaves the
    // temporary file behind.
    if (Next("replace", path)) {
        if (Torn() && crashed_)
            inner_.Create(ScratchName(path, "new~"), FirstHalf(content));
        Throw(path);
    }
    inner_.Replace(path, content);
}

void FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    if (Next("rename", from + " -> " + to))
        Throw(from);
    RefuseWhileOpen(from);
    RefuseWhileOpen(to);
    inner_.Rename(from, to);
}

void FaultyFileSystem::Remove(const std::string& path) {
    if (Next("remove", path))
        Throw(path);
    RefuseWhileOpen(path);
    inner_.Remove(path);
}

void FaultyFileSystem::Touch(const std::string& path) {
    if (Next("touch", path))
        Throw(path);
    inner_.Touch(path);
}

void FaultyFileSystem::MakeFolder(const std::string& path) {
    if (Next("mkdir", path))
        Throw(path);
    inner_.MakeFolder(path);
}

void FaultyFileSystem::RemoveFolder(const std::string& path) {
    if (Next("rmdir", path))
        Throw(path);
    inner_.RemoveFolder(path);
}

void FaultyFileSystem::Flush(const std::string& folder) {
    if (Next("flush", folder))
        Throw(folder);
    inner_.Flush(folder);
}

}  // namespace pb
