#include "timecard/EntryFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <fstream>
#include <iterator>

#include "core/common/Routines.h"
#include "gui/controls/Pbutton.h"
#include "gui/timecard/EntryGridView.h"
#include "support/GuiTestSupport.h"

namespace pb::test {

EntryFolder::EntryFolder() {
    path_ = dir_.path().toStdString() + "/";
    const QDir samples(QStringLiteral(PUNCHBOOK_SAMPLES_DIR "/folder"));
    for (const QString& name : samples.entryList(QDir::Files)) {
        const QString target = QString::fromStdString(path_) + name;
        QFile::copy(samples.filePath(name), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    files_ = AssignDataFiles(path_);
    settings_.ProgramFolder = path_;
    ReadSettings(*files_.fs, settings_, 0x808080);
}

void EntryFolder::Append(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path_ + name, std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void EntryFolder::AddDaily(const std::string& id, const std::string& name,
                           DailyWagesRecord record) {
    record.ID = id;
    record.Current = 1;
    record.Generation = 1;
    Append("DailyWages.dat", ToBytes(record));
    Append("Name.dat", ToBytes(NameRecord{id, name, 0, 1001}));
}

void EntryFolder::AddHourly(const std::string& id, const std::string& name,
                            TimeWagesRecord record) {
    record.ID = id;
    record.Current = 1;
    record.Generation = 1;
    Append("TimeWages.dat", ToBytes(record));
    Append("Name.dat", ToBytes(NameRecord{id, name, 0, 2001}));
}

void EntryFolder::WriteNextCell(const std::vector<NextCellRecord>& records) {
    std::remove((path_ + "NextCell.dat").c_str());
    for (const auto& record : records)
        Append("NextCell.dat", ToBytes(record));
}

std::string EntryFolder::Bytes(const std::string& name) const {
    std::ifstream in(path_ + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<EntryWindow> EntryFolder::Open(const std::string& id, int year, int month,
                                               bool newMonth, FileSystem* fs) {
    DataFiles files = files_;
    if (fs != nullptr)
        files.fs = fs;
    auto window =
        std::make_unique<EntryWindow>(EntrySelection{id, year, month, newMonth}, files, settings_);
    window->resize(700, 600);
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

DailyWagesRecord DailyRecord(int workType) {
    DailyWagesRecord record;
    record.WorkType = workType;
    record.ClosingDay = 20;
    record.HalfHoliday = 7;
    record.Holiday = 1;
    record.Holiday1 = 1;
    record.WeekdayMorningPay = record.WeekdayOverPay = 1000;
    record.WeekdayEarMornPay = record.WeekdayNightPay = 1000;
    record.HolidayMorningPay = record.HolidayOverPay = 1200;
    record.HolidayEarMornPay = record.HolidayNightPay = 1200;
    record.TimeToStartWork = TextToTime("08:00");
    record.TimeToFinishWork = TextToTime("17:00");
    record.TimeToStartNight = TextToTime("22:00");
    record.TimeToFinishMorning = TextToTime("05:00");
    record.TimeToFinishWorkHH = TextToTime("12:00");
    return record;
}

TimeWagesRecord HourlyRecord(int workType) {
    TimeWagesRecord record;
    record.WorkType = workType;
    record.ClosingDay = 0;
    record.TimePay = 1000;
    for (int w = 0; w < 7; ++w) {
        record.Band1Pays[w] = 1200 + 10 * w;
        record.Band2Pays[w] = 1000 + 10 * w;
        record.Band3Pays[w] = 1100 + 10 * w;
    }
    record.ChargeDivideTime1 = 96;
    record.ChargeDivideTime2 = 204;
    record.ChargeDivideTime3 = 244;
    return record;
}

EntryGridView* InputGrid(EntryWindow& window) {
    return window.findChild<EntryGridView*>(QStringLiteral("InputGrid"));
}

EntryGridView* DataViewGrid(EntryWindow& window) {
    return window.findChild<EntryGridView*>(QStringLiteral("DataViewGrid"));
}

QString Cell(EntryWindow& window, int col, int row) {
    return InputGrid(window)->Cells(col, row);
}

QString ViewCell(EntryWindow& window, int col, int row) {
    return DataViewGrid(window)->Cells(col, row);
}

QString CellHint(EntryWindow& window, int col, int row) {
    return InputGrid(window)->model()->index(row, col).data(Qt::ToolTipRole).toString();
}

QString ViewCellHint(EntryWindow& window, int col, int row) {
    return DataViewGrid(window)->model()->index(row, col).data(Qt::ToolTipRole).toString();
}

QString LabelText(EntryWindow& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label != nullptr ? label->text() : QStringLiteral("<no label>");
}

std::pair<int, int> CurrentCell(EntryWindow& window) {
    const QModelIndex index = InputGrid(window)->currentIndex();
    return {index.column(), index.row()};
}

void ClickCell(EntryWindow& window, int col, int row) {
    EntryGridView* grid = InputGrid(window);
    grid->scrollTo(grid->model()->index(row, col));
    const QRect rect = grid->visualRect(grid->model()->index(row, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    ProcessEvents();
}

namespace {

QWidget* KeyTarget(EntryWindow& window) {
    EntryGridView* grid = InputGrid(window);
    // A closed editor lingers hidden until it is deleted.
    for (auto* editor : grid->findChildren<QLineEdit*>(QStringLiteral("InputGridEditor")))
        if (editor->isVisible())
            return editor;
    return grid;
}

}  // namespace

void TypeKeys(EntryWindow& window, const QString& digits) {
    for (QChar digit : digits) {
        QTest::keyClick(KeyTarget(window), digit.toLatin1());
        ProcessEvents();
    }
}

void PressKey(EntryWindow& window, int key) {
    QTest::keyClick(KeyTarget(window), static_cast<Qt::Key>(key));
    ProcessEvents();
}

void EnterTime(EntryWindow& window, int col, int row, const QString& digits) {
    ClickCell(window, col, row);
    TypeKeys(window, digits);
    PressKey(window, Qt::Key_Return);
}

void Press(EntryWindow& window, const char* button) {
    auto* panel = window.findChild<TPanelButton*>(QString::fromLatin1(button));
    ASSERT_NE(panel, nullptr) << button;
    panel->click();
    ProcessEvents();
}

}  // namespace pb::test
