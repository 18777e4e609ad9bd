#include "core/check/FolderCheck.h"

#include <map>
#include <set>
#include <vector>

#include "core/model/PayScheme.h"
#include "core/store/RecordRanges.h"
#include "core/store/Records.h"
#include "core/store/Recovery.h"
#include "core/store/Settings.h"
#include "core/store/Transaction.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::int32_t Int32At(const std::uint8_t* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return static_cast<std::int32_t>(v);
}

// The stored ID (short string of 3 bytes); "" when its length byte is wrong.
std::string IdAt(const std::uint8_t* p) {
    return p[0] <= kIdLength ? std::string(reinterpret_cast<const char*>(p + 1), p[0]) : "";
}

// "001" … "999".
bool IsEmployeeId(const std::string& id) {
    return id.size() == 3 && id != "000" && id.find_first_not_of("0123456789") == std::string::npos;
}

// A text of the files shown safely: printable ASCII as it is, anything else
// as its bytes in hex.
std::string Shown(const std::string& bytes) {
    for (const char c : bytes) {
        if (c < 0x20 || c > 0x7E) {
            std::string hex;
            for (const unsigned char b : bytes) {
                static const char digits[] = "0123456789ABCDEF";
                hex += std::string(hex.empty() ? "" : " ") + digits[b >> 4] + digits[b & 15];
            }
            return "バイト " + hex;
        }
    }
    return "「" + bytes + "」";
}

void Report(FolderCheckResult& result, const std::string& file, const std::string& message) {
    result.findings.push_back({file, message});
    ++result.problems;
}

// What nearly every stored cell is, seen from its bytes: empty, or "hh:mm"
// from 00:00 to 23:59, which every column takes. Anything else goes to the
// full check.
bool IsPlainTime(const std::uint8_t* cell) {
    if (cell[0] == 0) {
        return true;
    }
    const auto digit = [](std::uint8_t b) { return b >= '0' && b <= '9'; };
    return cell[0] == 5 && digit(cell[1]) && digit(cell[2]) && cell[3] == ':' && digit(cell[4]) &&
           digit(cell[5]) && (cell[1] - '0') * 10 + (cell[2] - '0') < 24 && cell[4] < '6';
}

// The findings of one file, listed up to the limit and counted beyond it.
class FileFindings {
  public:
    FileFindings(FolderCheckResult& result, std::string file)
        : result_(result), file_(std::move(file)) {}
    ~FileFindings() {
        if (count_ > kFindingsPerFile) {
            result_.findings.push_back(
                {file_, "ほかに " + std::to_string(count_ - kFindingsPerFile) + " 件あります"});
        }
    }
    void Add(const std::string& message) {
        ++result_.problems;
        if (++count_ <= kFindingsPerFile) {
            result_.findings.push_back({file_, message});
        }
    }
    void Add(std::uint64_t record, const std::string& message) {
        Add(std::to_string(record + 1) + " 件目: " + message);
    }

  private:
    FolderCheckResult& result_;
    std::string file_;
    int count_ = 0;
};

struct Employee {
    std::optional<PayScheme> scheme;  // nothing for one only the sibling payroll program pays
    std::int32_t generation = 0;
};

struct Wages {
    int current = 0;
    std::set<std::int32_t> generations;
    std::int32_t currentGeneration = 0;
};

using WageTable = std::map<std::string, Wages>;

std::string SizeMessage(std::uint64_t size, std::size_t recordSize) {
    return "大きさ " + std::to_string(size) + " バイトがレコードの長さ " +
           std::to_string(recordSize) + " の倍数ではありません（壊れています）";
}

// The whole file when it exists and is a whole number of records; records that
// do not fit are reported and nothing is returned.
std::optional<Bytes> WholeRecords(const DataFiles& files, const std::string& path,
                                  std::size_t recordSize, FolderCheckResult& result,
                                  std::uint64_t maxRecords = UINT64_MAX) {
    const auto size = files.fs->Size(path);
    if (!size) {
        return std::nullopt;
    }
    ++result.files;
    if (*size % recordSize != 0) {
        Report(result, BaseName(path), SizeMessage(*size, recordSize));
        return std::nullopt;
    }
    if (*size / recordSize > maxRecords) {
        Report(result, BaseName(path),
               "大きさ " + std::to_string(*size) + " バイトは " +
                   std::to_string(*size / recordSize) + " レコード分で、" +
                   std::to_string(maxRecords) + " レコードを超えています（壊れています）");
        return std::nullopt;
    }
    Bytes content = files.fs->ReadAll(path);
    result.records += content.size() / recordSize;
    return content;
}

// The registered employees; nothing when "Name.dat" is damaged, as then who is
// registered is not known (and no wage or month can be said to be of nobody).
std::optional<std::map<std::string, Employee>> CheckNames(const DataFiles& files,
                                                          FolderCheckResult& result) {
    std::map<std::string, Employee> employees;
    const auto content =
        WholeRecords(files, files.NameFile, kNameRecordSize, result, kMaxNameRecords);
    if (!content) {
        if (files.fs->Exists(files.NameFile))
            return std::nullopt;
        return employees;
    }
    FileFindings found(result, BaseName(files.NameFile));
    for (std::size_t o = 0, n = 0; o < content->size(); o += kNameRecordSize, ++n) {
        const std::uint8_t* p = content->data() + o;
        const std::string id = IdAt(p);
        if (!IsEmployeeId(id)) {
            found.Add(n, "従業員番号 " + Shown(id) + " は 001～999 ではありません");
            continue;
        }
        if (p[4] > kNameLength) {
            found.Add(n, id + " の名前の長さ " + std::to_string(p[4]) + " が大き過ぎます");
        }
        const std::int32_t code = Int32At(p + 32);
        const WagesCode wages = WagesCode::Read(code);
        if (code != 0 && !wages.Scheme()) {
            found.Add(n, id + " の賃金コード " + std::to_string(code) + " が不正です");
            continue;
        }
        if (!employees.try_emplace(id, Employee{wages.Scheme(), wages.generation}).second) {
            found.Add(n, "従業員番号 " + id + " が二度登録されています");
        }
    }
    return employees;
}

// Reads a wage file into `table` and reports records whose fields are out of
// their ranges: "DailyWages.dat" or "TimeWages.dat".
WageTable CheckWages(const DataFiles& files, PayScheme scheme, FolderCheckResult& result) {
    WageTable table;
    const bool daily = scheme == PayScheme::Daily;
    const std::string& path = daily ? files.DailyWagesFile : files.TimeWagesFile;
    const std::size_t size = daily ? kDailyWagesRecordSize : kTimeWagesRecordSize;
    const auto content = WholeRecords(files, path, size, result);
    if (!content) {
        return table;
    }
    FileFindings found(result, BaseName(path));
    for (std::size_t o = 0, n = 0; o < content->size(); o += size, ++n) {
        const std::uint8_t* p = content->data() + o;
        const std::string id = IdAt(p);
        if (!IsEmployeeId(id)) {
            found.Add(n, "従業員番号 " + Shown(id) + " は 001～999 ではありません");
            continue;
        }
        const std::int32_t generation = Int32At(p + 8);
        std::vector<std::string> wrong;
        if (p[4] > 1) {
            wrong.push_back("現在の印 " + std::to_string(p[4]));
        }
        if (generation < 1) {
            wrong.push_back("世代 " + std::to_string(generation));
        }
        for (std::string& field : WageFieldsOutOfRange(scheme, *content, o)) {
            wrong.push_back(std::move(field));
        }
        if (scheme == PayScheme::Hourly) {
            const TimeWagesRecord hourly = TimeWagesRecordFromBytes(*content, o);
            for (std::string& field : BandOrderOutOfRange(hourly, BandCount(hourly.WorkType)))
                wrong.push_back(std::move(field));
        }
        if (!wrong.empty()) {
            found.Add(n, id + " の賃金データの値が範囲外です（" + JoinFields(wrong) + "）");
        }
        Wages& wages = table[id];
        if (!wages.generations.insert(generation).second) {
            found.Add(n, id + " の第" + std::to_string(generation) + "世代が二度あります");
        }
        if (p[4] != 0) {
            ++wages.current;
            wages.currentGeneration = generation;
        }
    }
    return table;
}

void CheckWagesInForce(const DataFiles& files, const std::map<std::string, Employee>& employees,
                       const WageTable& daily, const WageTable& hourly, FolderCheckResult& result) {
    FileFindings found(result, BaseName(files.NameFile));
    for (const auto& [id, employee] : employees) {
        if (!employee.scheme) {
            continue;
        }
        const bool isDaily = employee.scheme == PayScheme::Daily;
        const WageTable& table = isDaily ? daily : hourly;
        const std::string file = BaseName(isDaily ? files.DailyWagesFile : files.TimeWagesFile);
        const auto wages = table.find(id);
        const int current = wages == table.end() ? 0 : wages->second.current;
        if (current == 0) {
            found.Add(id + " の現在の賃金データが " + file + " にありません");
        } else if (current > 1) {
            found.Add(id + " の現在の賃金データが " + file + " に " + std::to_string(current) +
                      " 件あります");
        } else if (wages->second.currentGeneration != employee.generation) {
            found.Add(id + " の賃金コードは第" + std::to_string(employee.generation) +
                      "世代ですが、" + file + " の現在の賃金データは第" +
                      std::to_string(wages->second.currentGeneration) + "世代です");
        }
    }
    for (const auto* table : {&daily, &hourly}) {
        const std::string file =
            BaseName(table == &daily ? files.DailyWagesFile : files.TimeWagesFile);
        const PayScheme scheme = table == &daily ? PayScheme::Daily : PayScheme::Hourly;
        for (const auto& [id, wages] : *table) {
            const auto employee = employees.find(id);
            if (employee == employees.end() || employee->second.scheme != scheme) {
                found.Add(file + " に " + id + " の賃金データがありますが、" +
                          (employee == employees.end() ? "従業員として登録されていません"
                                                       : "登録の給与体系が違います"));
            }
        }
    }
}

// Reads a year file piece by piece (18.8 MB with 999 employees) and checks
// every month record in place.
// `employees` is null when who is registered is not known.
void CheckYear(const DataFiles& files, const std::string& path,
               const std::map<std::string, Employee>* employees, const WageTable& daily,
               const WageTable& hourly, FolderCheckResult& result) {
    const auto size = files.fs->Size(path);
    if (!size) {
        return;
    }
    ++result.files;
    if (*size % kMonthRecordSize != 0) {
        Report(result, BaseName(path), SizeMessage(*size, kMonthRecordSize));
        return;
    }
    FileFindings found(result, BaseName(path));
    // By ID number: 12,000 records look their employee up.
    std::vector<const Employee*> byNumber(1000, nullptr);
    if (employees) {
        for (const auto& [id, employee] : *employees) {
            byNumber[std::stoi(id)] = &employee;
        }
    }
    std::vector<bool> seen(1000 * 13, false);
    std::uint64_t n = 0;
    const auto check = [&](const std::uint8_t* p) {
        const std::string id = IdAt(p);
        const std::int32_t schemeNumber = Int32At(p + 4);
        const std::optional<PayScheme> scheme = KnownScheme(schemeNumber);
        const std::int32_t generation = Int32At(p + 8);
        const int month = p[12] | (p[13] << 8);
        const std::int32_t days = Int32At(p + 16);
        if (!IsEmployeeId(id)) {
            found.Add(n, "従業員番号 " + Shown(id) + " は 001～999 ではありません");
            return;
        }
        if (const auto wrong = MonthFieldsOutOfRange(schemeNumber, generation, month, days);
            !wrong.empty()) {
            found.Add(n, id + " の " + std::to_string(month) + "月の値が範囲外です（" +
                             JoinFields(wrong) + "）");
        }
        const int number = std::stoi(id);
        if (month >= 1 && month <= 12) {
            if (seen[number * 13 + month]) {
                found.Add(n, id + " の " + std::to_string(month) + "月が二度記録されています");
            }
            seen[number * 13 + month] = true;
        }
        // Columns up to the clock-out are typed, the others computed.
        const int lastTypedColumn =
            scheme == PayScheme::Hourly ? int{kHourlyClockOutColumn} : int{kClockOutColumn};
        int badCells = 0;
        std::string example;
        for (int c = 0; c < kCellColumns; ++c) {
            for (int r = 0; r < kCellRows; ++r) {
                const std::uint8_t* cell = p + 20 + c * 186 + r * 6;
                if (IsPlainTime(cell)) {
                    continue;
                }
                const bool fits = cell[0] <= kCellLength;
                const std::string_view text(reinterpret_cast<const char*>(cell + 1),
                                            fits ? cell[0] : kCellLength);
                const bool typed = c + 1 <= lastTypedColumn;
                if (!fits || !(typed ? IsStoredTimeOfDay(text) : IsStoredDayFigure(text))) {
                    if (++badCells == 1) {
                        example = std::to_string(r + 1) + " 行 " + std::to_string(c + 1) + " 列 " +
                                  Shown(std::string(text));
                    }
                }
            }
        }
        if (badCells != 0) {
            found.Add(n, id + " の " + std::to_string(month) + "月に時刻として読めない値が " +
                             std::to_string(badCells) + " 個あります（" + example + " など）");
        }
        const Employee* employee = byNumber[number];
        if (!employees) {
            return;
        }
        if (!employee) {
            found.Add(n, id + " の " + std::to_string(month) + "月がありますが、" + id +
                             " は従業員として登録されていません");
            return;
        }
        if (employee->scheme && scheme && employee->scheme != scheme) {
            found.Add(n,
                      id + " の " + std::to_string(month) + "月の給与体系が従業員の登録と違います");
            return;
        }
        if (!scheme) {
            return;
        }
        // The wage record the month is paid by: its generation, or for 0 the
        // one in force (whose absence is listed under Name.dat when the
        // employee is registered in this scheme).
        const WageTable& table = scheme == PayScheme::Daily ? daily : hourly;
        const auto wages = table.find(id);
        if (generation > 0 &&
            (wages == table.end() || !wages->second.generations.count(generation))) {
            found.Add(n, id + " の " + std::to_string(month) + "月が使う第" +
                             std::to_string(generation) + "世代の賃金データがありません");
        } else if (generation == 0 && employee->scheme != scheme &&
                   (wages == table.end() || wages->second.current == 0)) {
            found.Add(n,
                      id + " の " + std::to_string(month) + "月が使う現在の賃金データがありません");
        }
    };
    constexpr std::size_t kPiece = kMonthRecordSize * 42;  // about 64 KiB
    files.fs->ReadPieces(path, 0, kPiece, [&](const std::uint8_t* data, std::size_t bytes) {
        for (std::size_t o = 0; o + kMonthRecordSize <= bytes; o += kMonthRecordSize, ++n) {
            check(data + o);
        }
        return true;
    });
    result.records += n;
}

}  // namespace

FolderCheckResult CheckFolder(const DataFiles& program) {
    // The files of the data folder and nothing else: the window reads the
    // NextCell.dat installed beside the program when the folder has none, and
    // its check must say what punchbook-export --check says.
    const DataFiles files = AssignDataFiles(program.Folder, *program.fs);
    FolderCheckResult result;
    if (const auto pending = PendingRepair(files)) {
        Report(
            result, kJournalName,
            "途中で止まった変更があります: " + *pending + "（Punchbook を起動すると修復されます）");
    }
    // The program runs on a default wherever the settings file holds a value
    // it cannot take, which the operator would not otherwise learn.
    for (const std::string& unusable : UnusableSettings(*files.fs, files.Folder))
        Report(result, kSettingsFileName, unusable);
    const auto employees = CheckNames(files, result);
    const WageTable daily = CheckWages(files, PayScheme::Daily, result);
    const WageTable hourly = CheckWages(files, PayScheme::Hourly, result);
    if (employees)
        CheckWagesInForce(files, *employees, daily, hourly, result);
    WholeRecords(files, files.NextCellFile, kNextCellRecordSize, result);
    std::vector<std::string> paths;
    ScanFolder(files, files.Folder, paths);
    for (const std::string& path : paths) {
        if (YearOfWorkFile(path)) {
            CheckYear(files, path, employees ? &*employees : nullptr, daily, hourly, result);
        }
    }
    return result;
}

std::string FindingText(const FolderFinding& finding) {
    return finding.file + ": " + finding.message;
}

std::string CheckReport(const FolderCheckResult& result) {
    std::string text;
    for (const FolderFinding& finding : result.findings) {
        text += FindingText(finding) + "\n";
    }
    const std::string scope = std::to_string(result.files) + " ファイル、" +
                              std::to_string(result.records) + " レコードを調べました。";
    if (result.Sound()) {
        return text + "異常はありません。" + scope + "\n";
    }
    return text + std::to_string(result.problems) + " 件の問題が見つかりました。" + scope + "\n";
}

}  // namespace pb
