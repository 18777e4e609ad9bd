// punchbook-export: prints one stored month, calculated as the entry window
// shows it, as JSON or CSV for payroll programs and spreadsheets; the month of
// every employee of a pay scheme, one CSV row each; the check of a whole
// folder; or the national holidays of a year.
//
//   punchbook-export [--folder DIR] --id ID --year YYYY --month M
//                    [--format json|csv] [--encoding utf8|sjis] [--trace]
//   punchbook-export [--folder DIR] --all --year YYYY --month M [--scheme 1|2]
//                    [--encoding utf8|sjis]
//   punchbook-export [--folder DIR] --check
//   punchbook-export --holidays YYYY
//
// The folder is chosen as the program chooses its data folder.
//
// Exit codes: 0 done (for --check: the folder is sound), 1 employee or month not
// found, 2 usage error, 3 a damaged or unreadable file (for --check: anything
// wrong), or a folder with a change cut short (the program repairs
// it at its next start).

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "common/CommandLine.h"
#include "core/check/FolderCheck.h"
#include "core/common/Holidays.h"
#include "core/common/Routines.h"
#include "core/common/ShiftJis.h"
#include "core/export/CsvText.h"
#include "core/export/MonthExport.h"
#include "core/export/SummaryExport.h"
#include "core/month/MonthLoader.h"
#include "core/store/DataFiles.h"
#include "core/store/DataFolder.h"
#include "core/store/FileSystem.h"
#include "core/store/Recovery.h"
#include "core/store/Settings.h"
#include "core/timecard/MonthCalc.h"

namespace {

using pb::cli::Argument;
using pb::cli::InvalidValue;
using pb::cli::Number;
using pb::cli::ReadArguments;
using pb::cli::Tool;
using pb::cli::UsageError;
using pb::cli::WorkingFolder;

constexpr int kDone = 0;
constexpr int kNotFound = 1;
constexpr int kBadFile = 3;

constexpr const char* kUsageText =
    "使い方: punchbook-export [--folder フォルダ] --id 従業員番号 --year 年 --month 月 "
    "[--format json|csv] [--encoding utf8|sjis] [--trace]\n"
    "        punchbook-export [--folder フォルダ] --all --year 年 --month 月 [--scheme 1|2] "
    "[--encoding utf8|sjis]\n"
    "        punchbook-export [--folder フォルダ] --check\n"
    "        punchbook-export --holidays 年";

struct Options {
    int holidayYear = 0;  // --holidays: list that year's national holidays
    std::string folder;
    std::string id;
    int year = 0;
    int month = 0;
    std::string format = "csv";
    std::string encoding = "utf8";
    bool trace = false;  // JSON only: how each figure came about
    bool all = false;    // every employee of `scheme` (nothing: both), one row each
    pb::SchemeFilter scheme = pb::kBothSchemes;
    bool check = false;  // check the whole folder
};

Options Parse(const std::vector<std::string>& args) {
    Options options;
    if (!args.empty() && (args[0] == "--holidays" || args[0].starts_with("--holidays="))) {
        const std::string value =
            args[0] == "--holidays" ? (args.size() > 1 ? args[1] : "") : args[0].substr(11);
        const auto year = Number(value, pb::kFirstHolidayYear, pb::kLastHolidayYear);
        if (!year || args.size() != (args[0] == "--holidays" ? 2u : 1u)) {
            throw UsageError{"--holidays には " + std::to_string(pb::kFirstHolidayYear) + "～" +
                             std::to_string(pb::kLastHolidayYear) +
                             " 年の一つだけを指定して下さい。"};
        }
        options.holidayYear = *year;
        return options;
    }
    bool haveId = false;
    bool haveYear = false;
    bool haveMonth = false;
    for (const Argument& arg : ReadArguments(
             args, {"--folder", "--id", "--year", "--month", "--format", "--encoding", "--scheme"},
             {"--trace", "--all", "--check"}, false)) {
        const std::string& name = arg.name;
        const std::string& value = arg.value;
        const auto invalid = [&] { return InvalidValue(arg); };
        if (name == "--trace" || name == "--all" || name == "--check") {
            (name == "--trace" ? options.trace
             : name == "--all" ? options.all
                               : options.check) = true;
            continue;
        }
        if (name == "--folder") {
            if (value.empty()) {
                throw invalid();
            }
            options.folder = value;
        } else if (name == "--id") {
            // The ID is the number 1 … 999, kept as three digits ("001").
            const auto number = Number(value, 1, 999);
            if (!number || value.size() > 3) {
                throw invalid();
            }
            options.id = pb::PadNumber(*number, 3);
            haveId = true;
        } else if (name == "--year") {
            const auto number = Number(value, 1, 9999);
            if (!number) {
                throw invalid();
            }
            options.year = *number;
            haveYear = true;
        } else if (name == "--month") {
            const auto number = Number(value, 1, 12);
            if (!number) {
                throw invalid();
            }
            options.month = *number;
            haveMonth = true;
        } else if (name == "--format") {
            if (value != "json" && value != "csv") {
                throw invalid();
            }
            options.format = value;
        } else if (name == "--encoding") {
            if (value != "utf8" && value != "sjis") {
                throw invalid();
            }
            options.encoding = value;
        } else if (name == "--scheme") {
            if (value != "1" && value != "2") {
                throw invalid();
            }
            options.scheme = pb::KnownScheme(value[0] - '0');
        } else {
            throw UsageError{"不明な指定です: " + name};
        }
    }
    if (options.check) {
        if (haveId || haveYear || haveMonth || options.all || options.trace ||
            options.format != "csv" || options.encoding != "utf8" || options.scheme) {
            throw UsageError{"--check には --folder のほかは指定しないで下さい。"};
        }
    } else if (options.all) {
        if (haveId || !haveYear || !haveMonth || options.trace || options.format != "csv") {
            throw UsageError{
                "--all には --year と --month を指定し、--id、--format、--trace は"
                "指定しないで下さい。"};
        }
    } else if (!haveId || !haveYear || !haveMonth) {
        throw UsageError{"--id、--year、--month は必ず指定して下さい。"};
    } else if (options.scheme) {
        throw UsageError{"--scheme は --all と一緒に指定して下さい。"};
    }
    if (options.format == "json" && options.encoding == "sjis") {
        throw UsageError{"JSON は UTF-8 でしか出力できません。"};
    }
    if (options.trace && options.format != "json") {
        throw UsageError{"--trace は --format json と一緒に指定して下さい。"};
    }
    // The same folder the program would work in.
    options.folder = WorkingFolder(options.folder);
    return options;
}

const Tool kTool("punchbook-export", kUsageText);

int Fail(int code, const std::string& message) {
    return kTool.Fail(code, message);
}

int Print(const std::string& out) {
    return kTool.Print(out, kDone, kBadFile);
}

// One "YYYY-MM-DD<TAB>name" line per holiday, UTF-8.
int PrintHolidays(int year) {
    std::string out;
    for (const pb::NationalHoliday& holiday : pb::NationalHolidays(year)) {
        out += std::to_string(year) + "-" + pb::PadNumber(holiday.month, 2) + "-" +
               pb::PadNumber(holiday.day, 2) + "\t" + std::string(holiday.name) + "\n";
    }
    return Print(out);
}

// The month of every employee of the scheme; those without one are named on
// standard error, and a month nobody has is "not found".
int ExportAll(const Options& options, const pb::DataFiles& files,
              const pb::CalcSetSettings& rules) {
    const pb::SummaryTable table =
        pb::CollectSchemeMonth(files, rules, options.scheme, options.year, options.month);
    for (const std::string& line : table.missing) {
        kTool.Say(line);
    }
    if (table.rows.empty()) {
        return Fail(kNotFound, std::to_string(options.year) + "年" + std::to_string(options.month) +
                                   "月分のデータは記録されていません。");
    }
    return Print(pb::CsvFileBytes(pb::SummaryCsv(table), options.encoding == "sjis"));
}

// Every finding a line and the outcome; exit 0 when the folder is sound.
int CheckFolder(const Options& options) {
    const pb::FolderCheckResult result = pb::CheckFolder(pb::AssignDataFiles(options.folder));
    const int printed = Print(pb::CheckReport(result));
    return printed != kDone ? printed : result.Sound() ? kDone : kBadFile;
}

int Export(const Options& options) {
    // A change cut short would be read half made: the program repairs it when
    // it starts; this tool only reads, so it only says so.
    if (const auto pending = pb::PendingRepair(pb::AssignDataFiles(options.folder)))
        return Fail(kBadFile,
                    *pending + "\nPunchbook を起動すると修復されます。（" + options.folder + "）");
    pb::Settings settings;
    settings.ProgramFolder = options.folder;
    pb::ReadSettings(pb::RealFileSystem(), settings, 0x808080);
    const pb::DataFiles files = pb::AssignDataFiles(options.folder);
    if (options.all) {
        return ExportAll(options, files, settings.Calc_Set);
    }

    const pb::OpenedMonth month =
        pb::OpenMonth(files, settings.Calc_Set, options.id, options.year, options.month, true);
    // The entry window refuses the same months with the same words.
    if (month.status != pb::OpenMonthStatus::Opened) {
        return Fail(kNotFound, pb::RefusalText(month, files));
    }

    pb::MonthFileFormat format;
    format.json = options.format == "json";
    format.trace = options.trace;
    format.shiftJis = options.encoding == "sjis";
    return Print(pb::MonthFileBytes(month, format));
}

}  // namespace

int main(int argc, char** argv) {
    return kTool.Main(argc, argv, [](const std::vector<std::string>& args) {
        const Options options = Parse(args);
        if (options.holidayYear != 0)
            return PrintHolidays(options.holidayYear);
        try {
            return options.check ? CheckFolder(options) : Export(options);
        } catch (const pb::FileError& error) {
            return Fail(kBadFile, error.what());
        } catch (const std::exception& error) {
            return Fail(kBadFile, std::string("データを読めません。\n") + error.what());
        }
    });
}
