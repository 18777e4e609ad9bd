#pragma once
// Every mutating file operation of an operation is made to fail in turn, as a
// plain failure and as a torn write, and the process is stopped there as a kill
// would stop it. After each, the repair at the next start runs (itself failed
// and stopped at each of its own steps too): the program folder must end up
// exactly as before or exactly as after, with no temporary file or journal left.

#include <gtest/gtest.h>

#include <functional>

#include "ScriptedOperator.h"
#include "StoreFixture.h"
#include "core/store/Recovery.h"
#include "core/store/Transaction.h"
#include "support/FaultyFileSystem.h"

namespace pb {

class FaultSweep : public StoreFixture {
  protected:
    using Operation = std::function<bool(const DataFiles&, ScriptedOperator&)>;

    // Every run on a file system that refuses what a network share refuses
    // (FaultyFileSystem::ActLikeShare).
    bool onAShare = false;
    void AsOnAShare(FaultyFileSystem& fs) const {
        if (onAShare)
            fs.ActLikeShare();
    }

    // The answers the operator gives in every run.
    std::function<void(ScriptedOperator&)> script = [](ScriptedOperator&) {};
    // Runs on every repaired folder, with the folder before the operation.
    std::function<void(const FolderPicture& before)> afterRepair;

    void Reset(const FolderPicture& picture) {
        // Folders (backups) are not part of the picture and stay as they are.
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            if (entry.is_regular_file())
                std::filesystem::remove(entry.path());
        }
        for (const auto& [name, bytes] : picture)
            Write(name, bytes);
    }

    static std::string Names(const FolderPicture& picture) {
        std::string names;
        for (const auto& [name, bytes] : picture)
            names += name + "(" + std::to_string(bytes.size()) + ") ";
        return names;
    }
    // The files that differ between two pictures.
    static std::string Differences(const FolderPicture& a, const FolderPicture& b) {
        std::string names;
        for (const auto& [name, bytes] : a) {
            if (!b.contains(name) || b.at(name) != bytes)
                names += name + " ";
        }
        for (const auto& [name, bytes] : b) {
            if (!a.contains(name))
                names += name + " ";
        }
        return names;
    }

    void Sweep(const Operation& run) {
        const FolderPicture before = Picture();
        FaultyFileSystem clean;
        AsOnAShare(clean);
        ScriptedOperator cleanOp;
        script(cleanOp);
        const bool succeeds = run(AssignDataFiles(folder_, clean), cleanOp);
        const FolderPicture after = Picture();
        const int mutations = clean.MutationCount();
        ASSERT_GT(mutations, 0);
        EXPECT_EQ(succeeds, !cleanOp.Saw("error"));
        for (const auto& [name, bytes] : after)
            EXPECT_TRUE(!IsScratchName(name) && name != kJournalName) << name;
        ExpectFlushedBeforeTheJournalGoes(clean.Log());
        Check(before, after, State::After);

        // The repair is swept at the first, a middle and the last step at which
        // the journal is in place: it does the same for every file.
        std::vector<int> journaled;
        for (int n = 1; n <= mutations; ++n) {
            for (int mode = 0; mode < 4; ++mode) {
                const bool crash = mode >= 2;
                const bool torn = mode % 2 == 1;
                Reset(before);
                FaultyFileSystem fs;
                AsOnAShare(fs);
                if (crash)
                    fs.CrashAt(n, torn);
                else
                    fs.FailAt(n, 5, torn);
                ScriptedOperator op;
                script(op);
                const bool ok = run(AssignDataFiles(folder_, fs), op);
                SCOPED_TRACE(std::string(crash ? "stopped at " : "failing ") + fs.Log()[n - 1] +
                             (torn ? " (torn)" : ""));
                ASSERT_TRUE(fs.Failed());
                if (!crash) {
                    // Told of a failure: as before; not told: as after.
                    EXPECT_EQ(ok, !op.Saw("error"));
                    if (!ok)
                        ExpectOneErrorNamingADataFile(op);
                    Repair();
                    Check(before, after, ok ? State::After : State::Before);
                } else if (!torn && Has(kJournalName)) {
                    journaled.push_back(n);
                    Repair();
                    Check(before, after, State::Either);
                } else {
                    Repair();
                    Check(before, after, State::Either);
                }
            }
        }
        if (journaled.empty())
            return;
        for (const int n : {journaled.front(), journaled[journaled.size() / 2], journaled.back()}) {
            Reset(before);
            FaultyFileSystem fs;
            AsOnAShare(fs);
            fs.CrashAt(n);
            ScriptedOperator op;
            script(op);
            run(AssignDataFiles(folder_, fs), op);
            SCOPED_TRACE("stopped at " + fs.Log()[n - 1]);
            SweepRepair(before, after);
        }
    }

  private:
    enum class State { Before, After, Either };

    // The renames and removals of a change are on the disk before its journal
    // goes: after a power cut the journal would otherwise be gone with half of
    // them, and nothing would tell what to finish.
    void ExpectFlushedBeforeTheJournalGoes(const std::vector<std::string>& log) {
        bool unflushed = false;
        for (const std::string& line : log) {
            const auto arrow = line.find(" -> ");
            const std::string path = arrow != std::string::npos ? line.substr(arrow + 4)
                                                                : line.substr(line.find(' ') + 1);
            const bool inFolder =
                path.starts_with(folder_) && path.find('/', folder_.size()) == std::string::npos;
            if (line == "flush " + folder_) {
                unflushed = false;
            } else if (line == "remove " + folder_ + kJournalName) {
                EXPECT_FALSE(unflushed) << "the journal went before the folder was flushed";
            } else if ((line.starts_with("rename ") || line.starts_with("remove ")) && inFolder &&
                       !IsScratchName(path)) {
                unflushed = true;
            }
        }
    }

    // One message for the one failure, naming a file of the folder the operator
    // knows: never a scratch file, a backup or the journal.
    void ExpectOneErrorNamingADataFile(const ScriptedOperator& op) {
        std::vector<std::string> errors;
        for (const auto& call : op.calls) {
            if (call.kind == "error")
                errors.push_back(call.text);
        }
        ASSERT_EQ(errors.size(), 1u);
        const std::string& text = errors.front();
        EXPECT_EQ(text.rfind(folder_, 0), 0u) << text;
        for (const char* hidden : {".new~", ".old~", kJournalName, "/backup"})
            EXPECT_EQ(text.find(hidden), std::string::npos) << text;
    }

    void Repair() {
        ScriptedOperator repair;
        EXPECT_TRUE(RecoverProgramFolder(files_, repair));
        EXPECT_FALSE(repair.Saw("error")) << (repair.calls.empty() ? "" : repair.calls.back().text);
    }

    // The repair of an operation stopped while its journal was in place, failed
    // and stopped at each of its steps, then run again.
    void SweepRepair(const FolderPicture& before, const FolderPicture& after) {
        const FolderPicture stopped = Picture();
        FaultyFileSystem clean;
        AsOnAShare(clean);
        ScriptedOperator op;
        ASSERT_TRUE(RecoverProgramFolder(AssignDataFiles(folder_, clean), op));
        ExpectFlushedBeforeTheJournalGoes(clean.Log());
        Check(before, after, State::Either);
        for (int m = 1; m <= clean.MutationCount(); ++m) {
            for (bool crash : {false, true}) {
                Reset(stopped);
                FaultyFileSystem fs;
                AsOnAShare(fs);
                if (crash)
                    fs.CrashAt(m, true);
                else
                    fs.FailAt(m);
                ScriptedOperator failing;
                EXPECT_FALSE(RecoverProgramFolder(AssignDataFiles(folder_, fs), failing));
                EXPECT_TRUE(failing.Saw("error"));
                SCOPED_TRACE("repair failing at " + fs.Log()[m - 1]);
                Repair();
                Check(before, after, State::Either);
            }
        }
    }

    void Check(const FolderPicture& before, const FolderPicture& after, State expected) {
        const FolderPicture now = Picture();
        const bool ok = (expected != State::After && now == before) ||
                        (expected != State::Before && now == after);
        EXPECT_TRUE(ok) << "differing from before: " << Differences(now, before)
                        << "\ndiffering from after: " << Differences(now, after);
        if (afterRepair)
            afterRepair(before);
    }
};

}  // namespace pb
