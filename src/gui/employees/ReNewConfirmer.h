#pragma once
// The update confirmation of a registration answered with the comparison
// dialogs (DailyUpdateDialog / HourlyUpdateDialog), which read the stored data and colour their
// rows with the settings' colours.

#include "core/store/DataFiles.h"
#include "gui/shared/UpdateConfirmer.h"

class QWidget;

namespace pb {

struct Settings;

class ReNewConfirmer : public UpdateConfirmer {
  public:
    // `files` and `settings` must outlive the confirmer.
    ReNewConfirmer(QWidget* parent, const DataFiles& files, const Settings& settings)
        : parent_(parent), files_(files), settings_(settings) {}

    bool ConfirmDailyUpdate(const PendingDailyRegistration& pending) override;
    bool ConfirmTimeUpdate(const PendingTimeRegistration& pending) override;

  private:
    QWidget* parent_;
    const DataFiles& files_;
    const Settings& settings_;
};

}  // namespace pb
