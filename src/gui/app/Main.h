#pragma once
// Start-up of the program: one copy per user, the program's fonts and
// translation, then the main window until it closes.

#include <QString>

class QApplication;

namespace pb {

// The folder of the executable, ending in "/": every data file lies there.
QString ProgramFolder();

// Font substitutions for the Windows font names the windows use, Qt's Japanese
// translation, the application icon and font. Tests call it too, so windows
// look the same there.
void PrepareApplication(QApplication& app);

// The whole program: returns the exit code.
int RunPunchbook(int argc, char** argv);

}  // namespace pb
