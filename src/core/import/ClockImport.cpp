#include "core/import/ClockImport.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "core/common/Routines.h"
#include "core/store/RecordFile.h"
#include "core/store/Records.h"
#include "core/store/Transaction.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/MonthCalc.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

const char kOperation[] = "勤務データの取り込み";

using MonthKey = std::tuple<std::string, std::int32_t, std::int32_t>;  // ID, year, month

std::string DateText(int year, int month, int day) {
    return (year != 0 ? std::to_string(year) + "年" : std::string()) + std::to_string(month) +
           "月" + std::to_string(day) + "日";
}

std::string MonthText(std::int32_t year, std::int32_t month) {
    return std::to_string(year) + "年" + std::to_string(month) + "月分";
}

std::int32_t WorkTypeOf(const OpenedMonth& month) {
    return month.input.payScheme == PayScheme::Hourly ? month.input.hourly.WorkType
                                                      : month.input.daily.WorkType;
}

// The grid column a clock field of a row goes to: daily wage has only clock-in
// and clock-out; 0 where the month's pattern types none.
int ColumnOf(const OpenedMonth& month, int field) {
    const std::int32_t workType = WorkTypeOf(month);
    int column = field;
    if (month.input.payScheme != PayScheme::Hourly)
        column = field == 1 ? kClockInColumn : field == kClockFields ? kClockOutColumn : 0;
    return column != 0 && !IsColumnUnused(workType, column) ? column : 0;
}

std::vector<int> TypedColumns(const OpenedMonth& month) {
    const int last = month.input.payScheme == PayScheme::Hourly
                         ? static_cast<int>(kHourlyClockOutColumn)
                         : static_cast<int>(kClockOutColumn);
    std::vector<int> columns;
    for (int column = 1; column <= last; ++column) {
        if (!IsColumnUnused(WorkTypeOf(month), column))
            columns.push_back(column);
    }
    return columns;
}

// The months opened while planning, each once.
class MonthCache {
  public:
    MonthCache(const DataFiles& files, const CalcSetSettings& rules)
        : files_(files), rules_(rules) {}

    OpenedMonth& Open(const std::string& id, std::int32_t year, std::int32_t month) {
        const MonthKey key{id, year, month};
        auto it = months_.find(key);
        if (it == months_.end())
            it = months_.emplace(key, OpenMonth(files_, rules_, id, year, month, false)).first;
        return it->second;
    }

    // The pay month holding the date: the calendar month's, the next or the
    // one before (as the closing day says), with the day's row; or why none.
    struct Found {
        OpenedMonth* month = nullptr;
        int row = 0;
        std::string refusal;
    };
    Found PayMonthOf(const std::string& id, int year, int month, int day) {
        // Rows of one employee's month mostly follow each other.
        if (last_ && last_->id == id) {
            if (const int row = RowOf(*last_, month, day, year))
                return {last_, row, {}};
        }
        Found found;
        for (const int step : {0, 1, -1}) {
            int y = year;
            int m = month + step;
            if (m == 13) {
                m = 1;
                ++y;
            } else if (m == 0) {
                m = 12;
                --y;
            }
            if (y < 1000 || y > 9999)
                continue;
            OpenedMonth& opened = Open(id, y, m);
            if (opened.status == OpenMonthStatus::EmployeeNotFound)
                return {nullptr, 0, RefusalText(opened, files_)};
            if (opened.status != OpenMonthStatus::Opened) {
                if (found.refusal.empty())
                    found.refusal = RefusalText(opened, files_);
                continue;
            }
            if (const int row = RowOf(opened, month, day, year)) {
                last_ = &opened;
                return {&opened, row, {}};
            }
        }
        if (found.refusal.empty())
            found.refusal = DateText(year, month, day) + "はどの支給月の期間にも入りません。";
        return found;
    }

    // The day's row in the month's pay period (any year when `year` is 0); 0 if none.
    static int RowOf(const OpenedMonth& opened, int month, int day, int year = 0) {
        const auto& period = opened.input.period;
        for (std::size_t i = 0; i < period.size(); ++i) {
            if (period[i].month == month && period[i].day == day &&
                (year == 0 || period[i].year == year))
                return static_cast<int>(i) + 1;
        }
        return 0;
    }

    // Each month's place in (ID, year, month) order.
    std::unordered_map<const OpenedMonth*, int> Ranks() const {
        std::unordered_map<const OpenedMonth*, int> ranks;
        int rank = 0;
        for (const auto& [key, month] : months_)
            ranks.emplace(&month, rank++);
        return ranks;
    }

  private:
    const DataFiles& files_;
    const CalcSetSettings& rules_;
    std::map<MonthKey, OpenedMonth> months_;
    OpenedMonth* last_ = nullptr;
};

// A row that found its month and day.
struct Placed {
    const ClockRow* row;
    OpenedMonth* month;  // the cache's, taken by the plan at the end
    int day;             // the row in the pay period
    int rank = 0;        // the month's place in (ID, year, month) order
};

// The year file with the records of `replaced` written over those of the same
// ID and month (the first of each, as lookups find them) and the others
// appended; copied through a buffer, never held whole.
FileChange PatchedYearFile(const std::string& path, std::vector<MonthRecord> records) {
    auto write = [path, records = std::move(records)](FileSystem& fs, const std::string& temp) {
        std::map<std::pair<std::string, int>, Bytes> pending;
        std::vector<std::pair<std::string, int>> order;
        for (const MonthRecord& record : records) {
            const std::pair<std::string, int> key{StoredIdOf(record.ID), record.Month};
            pending.emplace(key, ToBytes(record));
            order.push_back(key);
        }
        const std::size_t pieceSize = 64 * kMonthRecordSize;
        fs.CreateInPieces(temp, [&](const PieceWriter& put) {
            fs.ReadPieces(path, 0, pieceSize, [&](const std::uint8_t* data, std::size_t size) {
                std::size_t run = 0;
                std::size_t o = 0;
                for (; o + kMonthRecordSize <= size; o += kMonthRecordSize) {
                    const std::uint8_t* r = data + o;
                    const std::pair<std::string, int> key{
                        std::string(reinterpret_cast<const char*>(r + 1),
                                    std::min<std::size_t>(r[0], kIdLength)),
                        r[kMonthOffset] | r[kMonthOffset + 1] << 8};
                    const auto it = pending.find(key);
                    if (it == pending.end())
                        continue;
                    if (o > run)
                        put(data + run, o - run);
                    put(it->second.data(), it->second.size());
                    pending.erase(it);
                    run = o + kMonthRecordSize;
                }
                if (o > run)
                    put(data + run, o - run);
                return true;
            });
            for (const auto& key : order) {
                if (const auto it = pending.find(key); it != pending.end())
                    put(it->second.data(), it->second.size());
            }
        });
    };
    return {path, true, std::move(write)};
}

}  // namespace

int ImportMonth::FilledDays() const {
    return static_cast<int>(
        std::count_if(days.begin(), days.end(), [](const ImportDay& d) { return !d.differs; }));
}

int ImportMonth::DifferingDays() const {
    return static_cast<int>(days.size()) - FilledDays();
}

bool ImportPlan::Writes(ImportChoice choice) const {
    return std::any_of(months.begin(), months.end(), [&](const ImportMonth& m) {
        return choice == ImportChoice::Replace ? !m.days.empty() : m.FilledDays() > 0;
    });
}

ImportPlan PlanImport(const DataFiles& files, const CalcSetSettings& rules, const ClockFile& file,
                      const ImportOptions& options) {
    if (file.monthCsv && options.id.empty())
        throw ClockCsvError(0,
                            "このファイルには従業員番号の列がありません。"
                            "取り込む従業員を指定して下さい。");
    ImportPlan plan;
    MonthCache cache(files, rules);
    std::vector<Placed> placed;
    for (const ClockRow& row : file.rows) {
        const auto refuse = [&](std::string reason) {
            plan.refused.push_back({row.line, std::move(reason)});
        };
        if (!row.problem.empty()) {
            refuse(row.problem);
            continue;
        }
        if (row.IsEmpty()) {
            ++plan.emptyRows;
            continue;
        }
        const std::string id = file.monthCsv ? options.id : row.id;
        OpenedMonth* month = nullptr;
        int day = 0;
        if (row.year == 0) {
            if (options.payMonth == 0)
                throw ClockCsvError(row.line, std::to_string(row.line) +
                                                  "行目: 日付に年がありません。"
                                                  "取り込む支給月を指定して下さい。");
            OpenedMonth& opened = cache.Open(id, options.payYear, options.payMonth);
            if (opened.status != OpenMonthStatus::Opened) {
                refuse(RefusalText(opened, files));
                continue;
            }
            day = MonthCache::RowOf(opened, row.month, row.day);
            if (day == 0) {
                refuse(DateText(0, row.month, row.day) + "は " +
                       MonthText(options.payYear, options.payMonth) + "の期間にありません。");
                continue;
            }
            month = &opened;
        } else {
            const auto found = cache.PayMonthOf(id, row.year, row.month, row.day);
            if (!found.month) {
                refuse(found.refusal);
                continue;
            }
            month = found.month;
            day = found.row;
        }
        bool any = false;
        for (int f = 1; f <= kClockFields; ++f)
            any = any || (row.cells[f] && !row.cells[f]->empty() && ColumnOf(*month, f) != 0);
        if (!any) {
            refuse("勤務体系 " + PadNumber(WorkTypeOf(*month), 2) + " では記録しない時刻です。");
            continue;
        }
        placed.push_back({&row, month, day});
    }

    // In month order, each month's rows in day order, a day's rows in line order.
    const auto ranks = cache.Ranks();
    for (Placed& p : placed)
        p.rank = ranks.at(p.month);
    std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.rank, a.day, a.row->line) < std::tie(b.rank, b.day, b.row->line);
    });
    // A day given twice: neither row is taken, as either may be the wrong one.
    std::vector<std::vector<const Placed*>> byMonth;
    for (std::size_t i = 0; i < placed.size();) {
        std::size_t end = i + 1;
        while (end < placed.size() && placed[end].rank == placed[i].rank &&
               placed[end].day == placed[i].day)
            ++end;
        if (end == i + 1) {
            if (byMonth.empty() || byMonth.back().front()->rank != placed[i].rank)
                byMonth.emplace_back();
            byMonth.back().push_back(&placed[i]);
        } else {
            for (std::size_t k = i; k < end; ++k) {
                std::string others;
                for (std::size_t q = i; q < end; ++q) {
                    if (q != k)
                        others +=
                            (others.empty() ? "" : "、") + std::to_string(placed[q].row->line);
                }
                plan.refused.push_back({placed[k].row->line, others + "行目と同じ日です。"});
            }
        }
        i = end;
    }

    for (const auto& rows : byMonth) {
        OpenedMonth& opened = *rows.front()->month;
        ImportMonth month;
        month.id = opened.id;
        month.name = opened.name;
        month.year = opened.year;
        month.month = opened.month;
        month.payScheme = opened.input.payScheme;
        month.stored = opened.stored;
        month.columns = TypedColumns(opened);
        for (const Placed* p : rows) {
            ImportDay day;
            day.line = p->row->line;
            day.row = p->day;
            day.date = opened.input.period[static_cast<std::size_t>(p->day - 1)];
            for (const int column : month.columns)
                day.stored[column] =
                    opened.input.cells[static_cast<std::size_t>(p->day - 1)][column];
            day.incoming = day.stored;
            for (int f = 1; f <= kClockFields; ++f) {
                if (const int column = ColumnOf(opened, f); column != 0 && p->row->cells[f])
                    day.incoming[column] = *p->row->cells[f];
            }
            if (day.incoming == day.stored) {
                ++month.unchanged;
                continue;
            }
            for (const int column : month.columns) {
                day.differs = day.differs || (IsCellFilled(day.stored[column]) &&
                                              day.stored[column] != day.incoming[column]);
            }
            month.days.push_back(std::move(day));
        }
        month.opened = std::move(opened);  // each month is planned once
        plan.months.push_back(std::move(month));
    }
    std::sort(plan.refused.begin(), plan.refused.end(),
              [](const RefusedRow& a, const RefusedRow& b) { return a.line < b.line; });
    return plan;
}

std::string ImportReport::Text() const {
    std::string text;
    int filled = 0;
    int replaced = 0;
    int kept = 0;
    for (const Month& m : months) {
        text += m.id + (m.name.empty() ? "" : " " + m.name) + " " + MonthText(m.year, m.month) +
                ": " + std::to_string(m.filled) + "日記入";
        if (m.replaced > 0)
            text += "、" + std::to_string(m.replaced) + "日置き換え";
        if (m.kept > 0)
            text += "、" + std::to_string(m.kept) + "日そのまま";
        text += "\n";
        filled += m.filled;
        replaced += m.replaced;
        kept += m.kept;
    }
    text += std::to_string(months.size()) + "か月分を記録しました（" + std::to_string(filled) +
            "日記入、" + std::to_string(replaced) + "日置き換え、" + std::to_string(kept) +
            "日そのまま）。\n";
    return text;
}

ImportReport WriteImport(const DataFiles& files, const ImportPlan& plan, ImportChoice choice) {
    ImportReport report;
    std::map<std::int32_t, std::vector<MonthRecord>> byYear;
    for (const ImportMonth& month : plan.months) {
        const OpenedMonth& opened = month.opened;
        ImportReport::Month done{month.id, month.name, month.year, month.month, 0, 0, 0};
        MonthInput input = opened.input;
        for (const ImportDay& day : month.days) {
            if (day.differs && choice == ImportChoice::Keep) {
                ++done.kept;
                continue;
            }
            ++(day.differs ? done.replaced : done.filled);
            DayCells& cells = input.cells[static_cast<std::size_t>(day.row - 1)];
            for (const int column : month.columns)
                cells[column] = day.incoming[column];
        }
        if (done.filled + done.replaced == 0) {
            ++report.keptOnly;
            continue;
        }
        // The plan was made from these records: a month saved since then by
        // another window is not written over.
        const auto now = ReadMonthRecord(files, month.id, month.year, month.month);
        if (now.has_value() != opened.stored || (now && *now != opened.record))
            throw ImportOutdated(month.id + " の " + MonthText(month.year, month.month) +
                                 "のデータが確認の後に変わりました。もう一度取り込んで下さい。");
        // As 記録 stores a month: the cells that are no time emptied, calculated.
        for (DayCells& cells : input.cells) {
            for (const int column : month.columns) {
                if (!IsValidTimeText(cells[column]))
                    cells[column].clear();
            }
        }
        byYear[month.year].push_back(UpdatedMonthRecord(opened.record, opened, CalcMonth(input)));
        report.months.push_back(done);
    }
    std::vector<FileChange> changes;
    for (auto& [year, records] : byYear) {
        const std::string path = files.WorkFile(year);
        if (const auto stamp = files.fs->Stamp(path)) {
            if (stamp->size % kMonthRecordSize != 0)
                throw DamagedFileError(path, stamp->size, kMonthRecordSize);
            changes.push_back(PatchedYearFile(path, std::move(records)));
        } else {
            Bytes content;
            content.reserve(records.size() * kMonthRecordSize);
            for (const MonthRecord& record : records) {
                const Bytes bytes = ToBytes(record);
                content.insert(content.end(), bytes.begin(), bytes.end());
            }
            changes.push_back(RewriteFile(path, false, std::move(content)));
        }
    }
    try {
        RunTransaction(files, kOperation, std::move(changes));
    } catch (...) {
        for (const auto& [year, records] : byYear)
            files.years->Forget(files.WorkFile(year));
        throw;
    }
    for (const auto& [year, records] : byYear)
        files.years->Forget(files.WorkFile(year));
    return report;
}

}  // namespace pb
