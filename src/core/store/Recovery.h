#pragma once
// The repair at every start: a change the program was making when it was
// stopped (killed, the power gone, the disk full) is finished or taken back
// from its journal, and temporary files nobody needs any more are removed. Only
// the copy of the program that holds the folder lock may run it.

#include <optional>
#include <string>

#include "core/store/DataFiles.h"
#include "core/store/Operator.h"

namespace pb {

// Repairs the program folder and tells the operator once what it did. False
// when the folder could not be repaired (the operator has been told why):
// nothing may then be written to it.
bool RecoverProgramFolder(const DataFiles& files, Operator& op);

// What a repair would do, found without writing anything; nothing when the
// folder needs none. Temporary files alone need none: readers never see them.
std::optional<std::string> PendingRepair(const DataFiles& files);

}  // namespace pb
