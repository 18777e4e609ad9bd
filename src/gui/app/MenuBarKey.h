#pragma once
// F10 takes the keyboard to a main window's menu bar, wherever the focus is in
// the window: the first menu opens and the arrow keys move across the others.

class QMainWindow;

namespace pb {

void GiveMenuBarKey(QMainWindow& window);

}  // namespace pb
