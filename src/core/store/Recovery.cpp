#include "core/store/Recovery.h"

#include <cerrno>

#include "core/store/Journal.h"
#include "core/store/Transaction.h"

namespace pb {
namespace {

const char kTidied[] =
    "前回終了したときに残っていた作業用のファイルを片付けました。\nデータは変わっていません。";

std::string Interrupted(const std::string& operation) {
    return "前回、「" + operation + "」の途中でプログラムが終了していました。\n";
}

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Ends the journal's change; the message for the operator.
std::string Finish(FileSystem& fs, const std::string& folder, const Journal& journal) {
    if (CanRollForward(fs, folder, journal)) {
        RollForward(fs, folder, journal);
        return Interrupted(journal.operation) + "最後まで済ませて、データを整えました。";
    }
    if (!CanRollBack(fs, folder, journal)) {
        const std::string path = folder + kJournalName;
        throw FileError(path, EIO,
                        Interrupted(journal.operation) +
                            "必要なファイルがそろわないため、元に戻せません。\n" + path +
                            " とフォルダの中身を確かめてください。");
    }
    RollBack(fs, folder, journal);
    return Interrupted(journal.operation) + "始める前の状態に戻しました。";
}

}  // namespace

bool RecoverProgramFolder(const DataFiles& files, Operator& op) {
    FileSystem& fs = *files.fs;
    const std::string journalPath = files.Folder + kJournalName;
    std::string report;
    try {
        if (fs.Exists(journalPath)) {
            Journal journal;
            switch (ParseJournal(Text(fs.ReadAll(journalPath)), journal)) {
                case JournalState::Damaged:
                    // Without a readable journal nobody can tell which files belong
                    // to the change: everything stays for a person to look at.
                    op.Error(journalPath + " は壊れています。\n" +
                             "前回の処理を仕上げることも元に戻すこともできません。");
                    return false;
                case JournalState::Unfinished:
                    // Cut short while being written: nothing was changed under it.
                    break;
                case JournalState::Complete:
                    report = Finish(fs, files.Folder, journal);
                    fs.Flush(files.Folder);
                    break;
            }
            fs.Remove(journalPath);
        }
        bool tidied = false;
        for (const auto& name : fs.List(files.Folder)) {
            // Another copy starting at this moment makes its lock under a scratch
            // name: its files are its own, and one already gone is removed.
            if (!IsScratchName(name) || IsScratchOfAnotherRunningCopy(name))
                continue;
            try {
                fs.Remove(files.Folder + name);
                tidied = true;
            } catch (const FileError& e) {
                if (e.error() != ENOENT)
                    throw;
            }
        }
        if (report.empty() && tidied)
            report = kTidied;
    } catch (const FileError& e) {
        op.Error(e.what());
        return false;
    }
    if (!report.empty())
        op.Information(report);
    return true;
}

std::optional<std::string> PendingRepair(const DataFiles& files) {
    const std::string journalPath = files.Folder + kJournalName;
    Journal journal;
    try {
        if (!files.fs->Exists(journalPath))
            return std::nullopt;
        if (ParseJournal(Text(files.fs->ReadAll(journalPath)), journal) != JournalState::Complete)
            return journalPath + " が残っています。";
    } catch (const FileError& e) {
        return e.what();
    }
    return "「" + journal.operation + "」が途中で終わっています。";
}

}  // namespace pb
