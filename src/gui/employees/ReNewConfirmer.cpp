#include "gui/employees/ReNewConfirmer.h"

#include <QApplication>

#include "gui/employees/DailyUpdateDialog.h"
#include "gui/employees/HourlyUpdateDialog.h"

namespace pb {

namespace {

// The question belongs over the form whose 登録 asked it.
QWidget* Asker(QWidget* fallback) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : fallback;
}

}  // namespace

bool ReNewConfirmer::ConfirmDailyUpdate(const PendingDailyRegistration& pending) {
    DailyUpdateDialog dialog(files_, settings_, pending, Asker(parent_));
    return dialog.exec() == UpdateDialog::kUpdate;
}

bool ReNewConfirmer::ConfirmTimeUpdate(const PendingTimeRegistration& pending) {
    HourlyUpdateDialog dialog(files_, settings_, pending, Asker(parent_));
    return dialog.exec() == UpdateDialog::kUpdate;
}

}  // namespace pb
