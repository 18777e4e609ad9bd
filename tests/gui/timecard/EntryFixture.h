#pragma once
// A program folder for the entry window's tests: the sample folder copied into
// a temporary directory, employees added on demand, and helpers that drive the
// window the way the operator does.

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "core/store/DataFiles.h"
#include "core/store/Records.h"
#include "core/store/Settings.h"
#include "gui/timecard/EntryWindow.h"

namespace pb {
class EntryGridView;
}  // namespace pb

namespace pb::test {

class EntryFolder {
  public:
    EntryFolder();

    const std::string& Path() const { return path_; }
    const DataFiles& Files() const { return files_; }
    Settings& CurrentSettings() { return settings_; }

    // Appends an employee with its wage record in force (generation 1).
    void AddDaily(const std::string& id, const std::string& name, DailyWagesRecord record);
    void AddHourly(const std::string& id, const std::string& name, TimeWagesRecord record);
    // Replaces "NextCell.dat" by these tables.
    void WriteNextCell(const std::vector<NextCellRecord>& records);
    // Appends bytes to a file of the folder, creating it.
    void Append(const std::string& name, const std::vector<std::uint8_t>& bytes);
    // The bytes of a file of the folder ("" when it does not exist).
    std::string Bytes(const std::string& name) const;

    // Opens the month in a window of its own; `fs` replaces the folder's file
    // system when given.
    std::unique_ptr<EntryWindow> Open(const std::string& id, int year, int month, bool newMonth,
                                      FileSystem* fs = nullptr);

  private:
    QTemporaryDir dir_;
    std::string path_;
    DataFiles files_;
    Settings settings_;
};

// A daily-wage record with the sample's band times (08:00 – 17:00, late night
// 22:00, early morning until 05:00) and rates of 1,000 yen.
DailyWagesRecord DailyRecord(int workType);
// An hourly-wage record with bands ending 08:00, 17:00 and 20:20.
TimeWagesRecord HourlyRecord(int workType);

EntryGridView* InputGrid(EntryWindow& window);
EntryGridView* DataViewGrid(EntryWindow& window);
QString Cell(EntryWindow& window, int col, int row);
QString ViewCell(EntryWindow& window, int col, int row);
// The tool tips of a cell of the day grid and of the summary.
QString CellHint(EntryWindow& window, int col, int row);
QString ViewCellHint(EntryWindow& window, int col, int row);
QString LabelText(EntryWindow& window, const char* name);
// The current cell as (col, row).
std::pair<int, int> CurrentCell(EntryWindow& window);

// Moves to a cell with the mouse, as a click on it.
void ClickCell(EntryWindow& window, int col, int row);
// Types the keys of `digits` into the current cell (the first opens the
// editor); the text stays in the editor until the cell is left.
void TypeKeys(EntryWindow& window, const QString& digits);
// Presses a key in the grid or, while a cell is being edited, in its editor.
void PressKey(EntryWindow& window, int key);
// Moves to the cell, types the time ("0800") and presses Enter.
void EnterTime(EntryWindow& window, int col, int row, const QString& digits);
// Clicks a panel button of the window by its name.
void Press(EntryWindow& window, const char* button);

}  // namespace pb::test
