#pragma once
// Confirms the update of an hourly-wage employee already on file: the stored and
// the new conditions side by side.

#include "core/store/DataFiles.h"
#include "core/store/Operator.h"
#include "gui/employees/UpdateDialog.h"

namespace pb {

class HourlyUpdateDialog : public UpdateDialog {
    Q_OBJECT
  public:
    HourlyUpdateDialog(const DataFiles& files, const Settings& settings,
                       const PendingTimeRegistration& pending, QWidget* parent = nullptr);

    // The texts of rows 2 … 28 for a record.
    static QStringList RowValues(const TimeWagesRecord& record);

  protected:
    QStringList StoredValues(const DataFiles& files, const std::string& id) const override;
};

}  // namespace pb
