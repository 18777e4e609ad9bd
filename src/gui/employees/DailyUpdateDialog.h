#pragma once
// Confirms the update of a daily-wage employee already on file: the stored and
// the new conditions side by side.

#include "core/store/DataFiles.h"
#include "core/store/Operator.h"
#include "gui/employees/UpdateDialog.h"

namespace pb {

class DailyUpdateDialog : public UpdateDialog {
    Q_OBJECT
  public:
    DailyUpdateDialog(const DataFiles& files, const Settings& settings,
                      const PendingDailyRegistration& pending, QWidget* parent = nullptr);

    // The texts of rows 2 … 21 for a record.
    static QStringList RowValues(const DailyWagesRecord& record);

  protected:
    QStringList StoredValues(const DataFiles& files, const std::string& id) const override;
};

}  // namespace pb
