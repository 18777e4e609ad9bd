// One store operation on a program folder, for the tests that kill it at each
// of its system calls and that run two copies of it against one folder.
//
//   store_probe FOLDER OPERATION
//   store_probe FOLDER race-save ID MONTH TIMES   (each time: lock, save the
//                                                  next month from MONTH on, unlock)
//   store_probe FOLDER race-purge ID MONTH TIMES  (each time: lock, save MONTH,
//                                                  delete it again, unlock)
//   store_probe FOLDER race-start TIMES           (each time: lock and repair as
//                                                  a start does, unlock)
//   store_probe FOLDER race-register ID TIMES     (each time: lock, register ID
//                                                  with new wages, unlock)
//   store_probe FOLDER take OPERATION             (as a start: lock, taking over
//                                                  a stale one, repair; then the
//                                                  operation; unlock. Exit 3 when
//                                                  the folder is not held)
//   store_probe FOLDER capabilities               (prints what the folder can do)
//
// A racing copy that is refused for the first time leaves "met-PID" in the
// folder and waits for "go" there before it goes on: a test holding the lock
// meanwhile knows that every copy has met another and releases them together.
// A starting copy leaves "met-PID" at once and waits for "go" the same way.
//
// Exit code 0 when the operator was told of no failure, 1 when it was, 2 for a
// wrong call. Nothing is printed before the operation ends, so that a kill
// counted by system call falls into the operation itself.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "core/convert/DataConversion.h"
#include "core/import/ClockImport.h"
#include "core/store/DailyBackup.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/FolderCapabilities.h"
#include "core/store/FolderLock.h"
#include "core/store/Recovery.h"
#include "core/store/WorkDataFiles.h"

namespace {

class QuietOperator final : public pb::Operator {
  public:
    bool failed = false;
    bool questions = true;
    pb::Reply Warning(const std::string&, pb::Buttons b) override {
        return b == pb::Buttons::Ok ? pb::Reply::Ok : pb::Reply::Yes;
    }
    void Information(const std::string&) override {}
    bool Question(const std::string&) override { return questions; }
    void Error(const std::string& text) override {
        failed = true;
        error = text;
    }
    std::string error;
    bool ConfirmDailyUpdate(const pb::PendingDailyRegistration&) override { return true; }
    bool ConfirmTimeUpdate(const pb::PendingTimeRegistration&) override { return true; }
};

pb::EmployeeEntry DailyEntry(const pb::DataFiles& files, const std::string& id,
                             const std::string& name, int overPay) {
    pb::EmployeeEntry e;
    e.Daily.ID = id;
    e.Daily.Current = 1;
    e.Daily.Generation = 1;
    e.Daily.WorkType = 7;
    e.Daily.ClosingDay = 20;
    e.Daily.WeekdayOverPay = overPay;
    e.Daily.TimeToStartWork = 0.375;
    e.Daily.TimeToFinishWork = 0.75;
    e.Name = pb::MakeNameRecord(files, id, name, 1001);
    return e;
}

pb::MonthRecord Month(const std::string& id, int month, int workDays) {
    pb::MonthRecord m;
    m.ID = id;
    m.PayScheme = 1;
    m.Month = static_cast<std::uint16_t>(month);
    m.DayCount = 31;
    m.Cells[0][0] = "08:30";
    m.WorkDays = workDays;
    return m;
}

bool Run(const pb::DataFiles& files, const std::string& operation, QuietOperator& op) {
    if (operation == "register-new")
        return pb::RegisterEmployee(files, DailyEntry(files, "004", "高橋", 1300),
                                    pb::PayScheme::Daily, op);
    if (operation == "register-changed")
        return pb::RegisterEmployee(files, DailyEntry(files, "001", "山田", 1700),
                                    pb::PayScheme::Daily, op);
    if (operation == "delete")
        return pb::DeleteEmployee(files, "003", op);
    if (operation == "purge")
        return pb::PurgeMonthRecords(files, "001", 2024, 4, op);
    if (operation == "save-new-year")
        return pb::WriteMonthRecord(files, 2025, Month("001", 4, 9), op);
    if (operation == "save-append")
        return pb::WriteMonthRecord(files, 2024, Month("004", 4, 9), op);
    if (operation == "save-replace")
        return pb::WriteMonthRecord(files, 2024, Month("001", 4, 7), op);
    if (operation == "convert" || operation == "restore") {
        pb::ConversionLists lists;
        if (operation == "restore") {
            pb::RestoreBackups(files, lists, op);
        } else {
            pb::LoadOldEmployeeList(files, lists.Chosen);
            pb::RunConversion(files, lists, op);
        }
        return !op.failed;
    }
    if (operation == "import") {
        // Three months into two year files, one of them new.
        const pb::ImportPlan plan =
            pb::PlanImport(files, pb::CalcSetSettings{},
                           pb::ReadClockCsv("1,2024/4/1,9:00,18:00\n3,2024/4/2,9:00,翌1:00\n"
                                            "1,2024/12/25,9:00,18:00\n",
                                            pb::ClockLayout{1, 2, 3, 4, 0, 0}));
        try {
            pb::WriteImport(files, plan, pb::ImportChoice::Replace);
        } catch (const pb::FileError& e) {
            op.Error(e.what());
        }
        return !op.failed;
    }
    if (operation == "recover")
        return pb::RecoverProgramFolder(files, op);
    if (operation == "backup-prune")  // with two days kept, on the third day
        return pb::BackUpBeforeChange(files, "2024-05-03", 2);
    throw std::invalid_argument(operation);
}

// Each time: take the folder's lock, save (and, purging, delete the month
// again), let go. Prints how often it saved and how often it was refused, the
// months it saved as a bit mask, and the refusal as the operator reads it.
int Race(const pb::DataFiles& files, bool purge, const std::string& id, int month, int times) {
    int saved = 0;
    int refused = 0;
    unsigned months = 0;
    std::string notice;
    QuietOperator op;
    op.questions = false;
    for (int i = 0; i < times; ++i) {
        pb::LockOutcome held = pb::LockProgramFolder(pb::RealFileSystem(), files.Folder, op);
        if (!held.lock) {
            ++refused;
            notice = held.holder ? pb::ReadOnlyNotice(*held.holder) : held.problem;
            if (refused == 1) {
                std::ofstream(files.Folder + "met-" + std::to_string(::getpid()));
                while (!std::filesystem::exists(files.Folder + "go"))
                    ::usleep(1000);
            }
            continue;
        }
        const int m = purge ? month : (month - 1 + i) % 12 + 1;
        if (!pb::WriteMonthRecord(files, 2024, Month(id, m, i % 31), op)) {
            std::cerr << op.error << "\n";
            return 1;
        }
        ++saved;
        months |= 1u << m;
        if (purge && !pb::PurgeMonthRecords(files, id, 2024, month, op)) {
            std::cerr << op.error << "\n";
            return 1;
        }
    }
    std::cout << saved << " " << refused << " " << months << " " << notice << "\n";
    return 0;
}

// Each time: take the folder's lock, register the employee with wages of its
// own, let go. Prints how often it registered and how often it was refused.
int RaceRegister(const pb::DataFiles& files, const std::string& id, int times) {
    int saved = 0;
    int refused = 0;
    QuietOperator op;
    op.questions = false;
    for (int i = 0; i < times; ++i) {
        pb::LockOutcome held = pb::LockProgramFolder(pb::RealFileSystem(), files.Folder, op);
        if (!held.lock) {
            if (++refused == 1) {
                std::ofstream(files.Folder + "met-" + std::to_string(::getpid()));
                while (!std::filesystem::exists(files.Folder + "go"))
                    ::usleep(1000);
            }
            continue;
        }
        if (!pb::RegisterEmployee(files, DailyEntry(files, id, "登録" + id, 1000 + i),
                                  pb::PayScheme::Daily, op)) {
            std::cerr << op.error << "\n";
            return 1;
        }
        ++saved;
    }
    std::cout << saved << " " << refused << "\n";
    return 0;
}

// As a start: the lock (a stale one taken over), the repair, then the operation.
int Take(const pb::DataFiles& files, const std::string& operation) {
    QuietOperator op;
    pb::LockOutcome held = pb::LockProgramFolder(pb::RealFileSystem(), files.Folder, op);
    if (!held.lock) {
        std::cerr << (held.holder ? pb::ReadOnlyNotice(*held.holder) : held.problem) << "\n";
        return 3;
    }
    if (pb::RecoverProgramFolder(files, op) && operation != "none")
        Run(files, operation, op);
    if (op.failed)
        std::cerr << op.error << "\n";
    return op.failed ? 1 : 0;
}

// Each time: take the folder's lock and repair the folder, as a start does,
// then let go. Prints how often it held the folder, how often it was refused,
// how often its repair failed or it was refused for another reason than the
// other copy's lock, and the refusal as the operator reads it.
int RaceStart(const pb::DataFiles& files, int times) {
    std::ofstream(files.Folder + "met-" + std::to_string(::getpid()));
    while (!std::filesystem::exists(files.Folder + "go"))
        ::usleep(1000);
    int held = 0;
    int refused = 0;
    int failed = 0;
    std::string notice;
    QuietOperator op;
    op.questions = false;
    for (int i = 0; i < times; ++i) {
        pb::LockOutcome outcome = pb::LockProgramFolder(pb::RealFileSystem(), files.Folder, op);
        if (!outcome.lock) {
            ++refused;
            // Refused for anything but the other copy's lock: a fault.
            if (!outcome.holder) {
                ++failed;
                notice = outcome.problem;
            } else if (notice.empty()) {
                notice = pb::ReadOnlyNotice(*outcome.holder);
            }
            continue;
        }
        ++held;
        failed += pb::RecoverProgramFolder(files, op) ? 0 : 1;
    }
    std::cout << held << " " << refused << " " << failed << " " << notice << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const pb::DataFiles files = pb::AssignDataFiles(argv[1]);
    const std::string operation = argv[2];
    try {
        if (operation == "take" && argc == 4)
            return Take(files, argv[3]);
        if (operation == "capabilities") {
            const pb::FolderCapabilities caps =
                pb::MeasureFolder(pb::RealFileSystem(), files.Folder);
            std::cout << caps.hardLinks << " " << caps.removeOpen << " " << caps.sharedLocks << " "
                      << caps.missing << "\n";
            return 0;
        }
        if (operation == "race-register" && argc == 5)
            return RaceRegister(files, argv[3], std::stoi(argv[4]));
        if (operation == "race-start" && argc == 4)
            return RaceStart(files, std::stoi(argv[3]));
        if (operation.starts_with("race-") && argc == 6)
            return Race(files, operation == "race-purge", argv[3], std::stoi(argv[4]),
                        std::stoi(argv[5]));
        QuietOperator op;
        Run(files, operation, op);
        return op.failed ? 1 : 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 2;
    }
}
