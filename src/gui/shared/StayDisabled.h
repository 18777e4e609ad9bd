#pragma once
// A control that must stay disabled whatever its window does with it later
// (a writing command in a copy that may not write).

class QWidget;

namespace pb {

// Disables `widget` (null is ignored) and keeps it disabled.
void KeepDisabled(QWidget* widget);
// Ends KeepDisabled (the copy may write now): the control takes `enabled` and
// its window enables and disables it again.
void LetEnabled(QWidget* widget, bool enabled);

}  // namespace pb
