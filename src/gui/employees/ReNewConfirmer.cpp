#include "gui/employees/ReNewConfirmer.h"

#include "gui/employees/ReNewDlgDailyWagse.h"
#include "gui/employees/ReNewDlgTimeWagse.h"

namespace pb {

bool ReNewConfirmer::ConfirmDailyUpdate(const PendingDailyRegistration& pending) {
    TReNewDlgD dialog(files_, settings_, pending, parent_);
    return dialog.exec() == TReNewDlg::kUpdate;
}

bool ReNewConfirmer::ConfirmTimeUpdate(const PendingTimeRegistration& pending) {
    TReNewDlgT dialog(files_, settings_, pending, parent_);
    return dialog.exec() == TReNewDlg::kUpdate;
}

}  // namespace pb
