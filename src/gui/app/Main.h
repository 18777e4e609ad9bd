#pragma once
// Start-up of the program: one copy per user, the program's fonts and
// translation, then the main window until it closes.

#include <QString>
#include <memory>

class QApplication;

namespace pb {

class SingleInstance;
class TMainFrom;

// The folder of the executable, ending in "/": every data file lies there.
QString ProgramFolder();

// Font substitutions for the Windows font names the windows use, Qt's Japanese
// translation, the application icon and font. Tests call it too, so windows
// look the same there.
void PrepareApplication(QApplication& app);

// A start of the program once the application object exists: takes the lock
// (or asks the running copy to come to the front and returns null), prepares
// the application and shows the main window.
std::unique_ptr<TMainFrom> StartProgram(QApplication& app, SingleInstance& instance);

// The whole program: returns the exit code.
int RunPunchbook(int argc, char** argv);

}  // namespace pb
