#pragma once
// The one place where a failure of the core meets the operator. Every slot that
// calls the core runs its body through Guarded: a file that cannot be read or
// written, a damaged file, a month that cannot be opened is reported with the
// core's message (which names the file), the command ends there and the window
// stays as it was. No exception leaves a slot, so none can end the program and
// take the open windows' edits with it.

#include <functional>

class QWidget;

namespace pb {

class Operator;

// True when `body` ran through; false when it failed and the failure was
// reported through `op` (its Error).
bool Guarded(Operator& op, const std::function<void()>& body);
// The same with the program's error box over `parent`.
bool Guarded(QWidget* parent, const std::function<void()>& body);

}  // namespace pb
