#pragma once
// Start-up of the program: one copy per user, the program's fonts and
// translation, then the main window until it closes.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QApplication;

namespace pb {

class SingleInstance;
class MainWindow;

// The folder of the executable, ending in "/".
QString ProgramFolder();

// The data folder for this start (see core/store/DataFolder.h), made when it is
// the user's own folder and missing; ends in "/". Throws with a message for
// the operator when there is none.
QString OpenDataFolder(const QString& folderOption);

// The command line: the --folder value ("" when not given), or nothing when
// the program is to end at once with `exitCode` (--help: 0, a wrong argument: 2).
std::optional<QString> ReadCommandLine(const QStringList& arguments, int& exitCode);

// Font substitutions for the Windows font names the windows use, Qt's Japanese
// translation, the application icon and font. Tests call it too, so windows
// look the same there.
void PrepareApplication(QApplication& app);

// A start of the program once the application object exists: takes the lock
// (or asks the running copy to come to the front and returns null), prepares
// the application, opens the data folder and shows the main window. Throws
// when there is no data folder to work in.
std::unique_ptr<MainWindow> StartProgram(QApplication& app, SingleInstance& instance,
                                         const QString& folderOption = {});

// The whole program: returns the exit code.
int RunPunchbook(int argc, char** argv);

}  // namespace pb
