#pragma once
// The files of the sibling payroll program that share the program folder. An
// employee linked to it is removed from them when deleted here; only their record
// sizes and key fields are known.

#include <string>
#include <vector>

#include "core/store/DataFiles.h"
#include "core/store/Transaction.h"

namespace pb {

// Removes the employee from "Info.dat" (the first entry only), from
// "Salarium.Dat" and from every year's "_Pay.Dat", "_WRK.dat" and "_RH.dat"
// (every entry), years 1996 to `currentYear` + 2. Missing files are skipped.
// Either every file is changed or, on a failure, none.
void DeleteFromPayrollFiles(const DataFiles& files, const std::string& id,
                            int currentYear = CurrentYear());

// The changes DeleteFromPayrollFiles makes, in its order, for a caller that
// applies them together with others.
std::vector<FileChange> PlanPayrollRemoval(const DataFiles& files, const std::string& id,
                                           int currentYear);

}  // namespace pb
