#pragma once
// The day's backup made beside the window: its copies run on a thread of their
// own while the window keeps painting (keys typed meanwhile wait for it), and
// a progress dialog shows once it has lasted 300 ms.

#include "core/store/DataFiles.h"

class QWidget;

namespace pb {

// The backup's dialog opens over the modal window of the moment, else over `window`.
void RunBackupsBeside(QWidget* window, DataFiles::Backup& backup);

}  // namespace pb
