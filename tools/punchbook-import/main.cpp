// punchbook-import: clock times from a CSV file (a time recorder's export, a
// spreadsheet, or a month CSV of punchbook-export) written into the
// employees' months, recalculated as the entry window's 記録 stores them.
//
//   punchbook-import [--folder DIR] [--columns ID,DATE,IN,OUT,BREAK-START,BREAK-END]
//                    [--id ID] [--year YYYY --month M] [--replace] [--skip-refused]
//                    [--dry-run] FILE
//
// The folder is chosen as the program chooses its data folder, and locked as
// the program locks it. Messages go to standard error; the preview (--dry-run)
// and the report to standard output.
//
// Exit codes: 0 done (for --dry-run: nothing refused), 1 rows refused (nothing
// written without --skip-refused), 2 usage error, 3 a file that cannot be
// read (the CSV, or a damaged data file, or a folder with a change cut short
// that could not be repaired), 4 the folder is in use by another copy.

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "common/CommandLine.h"
#include "core/common/Routines.h"
#include "core/import/ClockCsv.h"
#include "core/import/ClockImport.h"
#include "core/store/DailyBackup.h"
#include "core/store/DataFiles.h"
#include "core/store/DataFolder.h"
#include "core/store/FileSystem.h"
#include "core/store/FolderLock.h"
#include "core/store/Recovery.h"
#include "core/store/Settings.h"

namespace {

using pb::cli::Argument;
using pb::cli::InvalidValue;
using pb::cli::Number;
using pb::cli::ReadArguments;
using pb::cli::Tool;
using pb::cli::UsageError;
using pb::cli::WorkingFolder;

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kBadFile = 3;
constexpr int kInUse = 4;

constexpr const char* kUsageText =
    "使い方: punchbook-import [--folder フォルダ] [--columns "
    "番号,日付,出社,退社,休憩開始,休憩終了] "
    "[--id 従業員番号] [--year 年 --month 月] [--replace] [--skip-refused] [--dry-run] ファイル";

struct Options {
    std::string folder;
    std::string file;
    std::optional<pb::ClockLayout> layout;  // --columns; else the settings'
    pb::ImportOptions import;
    bool replace = false;
    bool skipRefused = false;
    bool dryRun = false;
};

// "1,2,3,4,0,0": the columns of ID, date, clock-in, clock-out, break start and
// break end, 0 for none; ID and date are needed.
std::optional<pb::ClockLayout> Columns(const std::string& text) {
    std::vector<int> numbers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const auto number = Number(text.substr(start, comma - start), 0, 99);
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (numbers.size() < 2 || numbers.size() > 6 || numbers[0] == 0 || numbers[1] == 0)
        return std::nullopt;
    numbers.resize(6, 0);
    return pb::ClockLayout{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]};
}

Options Parse(const std::vector<std::string>& args) {
    Options options;
    bool haveYear = false;
    bool haveMonth = false;
    for (const Argument& arg :
         ReadArguments(args, {"--folder", "--columns", "--id", "--year", "--month"},
                       {"--replace", "--skip-refused", "--dry-run"}, true)) {
        const std::string& name = arg.name;
        const std::string& value = arg.value;
        const auto invalid = [&] { return InvalidValue(arg); };
        if (name == "--replace" || name == "--skip-refused" || name == "--dry-run") {
            (name == "--replace"        ? options.replace
             : name == "--skip-refused" ? options.skipRefused
                                        : options.dryRun) = true;
            continue;
        }
        if (name.empty()) {
            if (!options.file.empty())
                throw UsageError{"ファイルは一つだけ指定して下さい。"};
            options.file = value;
            continue;
        }
        if (name == "--folder") {
            if (value.empty())
                throw invalid();
            options.folder = value;
        } else if (name == "--columns") {
            options.layout = Columns(value);
            if (!options.layout)
                throw invalid();
        } else if (name == "--id") {
            const auto id = pb::ReadEmployeeId(value);
            if (!id || value.size() > 3)
                throw invalid();
            options.import.id = *id;
        } else if (name == "--year") {
            const auto number = Number(value, 1000, 9999);
            if (!number)
                throw invalid();
            options.import.payYear = *number;
            haveYear = true;
        } else if (name == "--month") {
            const auto number = Number(value, 1, 12);
            if (!number)
                throw invalid();
            options.import.payMonth = *number;
            haveMonth = true;
        } else {
            throw UsageError{"不明な指定です: " + name};
        }
    }
    if (options.file.empty())
        throw UsageError{"取り込むファイルを指定して下さい。"};
    if (haveYear != haveMonth)
        throw UsageError{"--year と --month は一緒に指定して下さい。"};
    options.folder = WorkingFolder(options.folder);
    return options;
}

const Tool kTool("punchbook-import", kUsageText);

int Fail(int code, const std::string& message) {
    return kTool.Fail(code, message);
}

// No one to ask: a lock of another machine is not taken over, and what the
// program would show in a box is written to standard error.
class ConsoleOperator final : public pb::Operator {
  public:
    pb::Reply Warning(const std::string& text, pb::Buttons) override {
        Say(text);
        return pb::Reply::No;
    }
    void Information(const std::string& text) override { Say(text); }
    bool Question(const std::string& text) override {
        Say(text);
        return false;
    }
    void Error(const std::string& text) override { Say(text); }
    bool ConfirmDailyUpdate(const pb::PendingDailyRegistration&) override { return false; }
    bool ConfirmTimeUpdate(const pb::PendingTimeRegistration&) override { return false; }

  private:
    static void Say(const std::string& text) { kTool.Say(text); }
};

std::string Cells(const pb::ImportMonth& month, const pb::DayCells& cells) {
    std::string text;
    for (const int column : month.columns)
        text += (text.empty() ? "" : " ") + (cells[column].empty() ? "--:--" : cells[column]);
    return text;
}

// Per month the days filled and those differing (stored and new side by
// side), then the rows refused.
std::string Preview(const pb::ImportPlan& plan) {
    std::string text;
    for (const pb::ImportMonth& month : plan.months) {
        text += month.id + (month.name.empty() ? "" : " " + month.name) + " " +
                std::to_string(month.year) + "年" + std::to_string(month.month) + "月分" +
                (month.stored ? "" : "（新規）") + ": " + std::to_string(month.FilledDays()) +
                "日記入、" + std::to_string(month.DifferingDays()) + "日違い" +
                (month.unchanged > 0 ? "、" + std::to_string(month.unchanged) + "日変わらず" : "") +
                "\n";
        for (const pb::ImportDay& day : month.days) {
            if (day.differs)
                text += "  " + pb::DayLabel(day.date) + "  記録済み " + Cells(month, day.stored) +
                        "  →  " + Cells(month, day.incoming) + "\n";
        }
    }
    for (const pb::RefusedRow& row : plan.refused)
        text += std::to_string(row.line) + "行目: " + row.reason + "\n";
    text += std::to_string(plan.months.size()) + "か月分、取り込めない行 " +
            std::to_string(plan.refused.size()) + "\n";
    return text;
}

int Import(const Options& options) {
    ConsoleOperator op;
    pb::LockOutcome lock = pb::LockProgramFolder(pb::RealFileSystem(), options.folder, op);
    if (!lock.lock) {
        if (!lock.holder)
            return Fail(kInUse, lock.problem);
        const std::string who = lock.holder->host.empty()
                                    ? std::string("別のプログラム")
                                    : lock.holder->user + " (" + lock.holder->host + ")";
        return Fail(kInUse, who + " が使用中のため、取り込めません。（" + options.folder + "）");
    }
    pb::DataFiles files = pb::AssignDataFiles(options.folder);
    // As the program does when it starts: a change cut short is finished or
    // taken back before anything is read.
    if (!pb::RecoverProgramFolder(files, op))
        return kBadFile;
    pb::Settings settings;
    settings.ProgramFolder = options.folder;
    pb::ReadSettings(pb::RealFileSystem(), settings, 0x808080);
    KeepDailyBackups(files, settings.Backup.KeepDays);

    const pb::ClockFile file =
        pb::ReadClockCsv(pb::ReadClockCsvBytes(pb::RealFileSystem(), options.file),
                         options.layout.value_or(settings.Import));
    const pb::ImportPlan plan = pb::PlanImport(files, settings.Calc_Set, file, options.import);
    if (options.dryRun) {
        std::cout << Preview(plan) << std::flush;
        return plan.refused.empty() ? kDone : kRefused;
    }
    for (const pb::RefusedRow& row : plan.refused)
        kTool.Say(std::to_string(row.line) + "行目: " + row.reason);
    if (!plan.refused.empty() && !options.skipRefused)
        return Fail(kRefused, "取り込めない行があるため、何も記録していません。");
    const pb::ImportReport report = pb::WriteImport(
        files, plan, options.replace ? pb::ImportChoice::Replace : pb::ImportChoice::Keep);
    std::cout << report.Text() << std::flush;
    return plan.refused.empty() ? kDone : kRefused;
}

}  // namespace

int main(int argc, char** argv) {
    return kTool.Main(argc, argv, [](const std::vector<std::string>& args) {
        const Options options = Parse(args);
        try {
            return Import(options);
        } catch (const pb::ClockCsvError& error) {
            return Fail(kBadFile, options.file + ": " + error.what());
        } catch (const pb::FileError& error) {
            return Fail(kBadFile, error.what());
        } catch (const std::exception& error) {
            return Fail(kBadFile, std::string("取り込めません。\n") + error.what());
        }
    });
}
