#pragma once
// The question in the middle of a registration that updates an employee: the
// stored conditions against the new ones, 更新 or 中止. The employee forms
// implement it with their comparison dialogs; MessageOperator asks it when
// given one, so the shared message code knows no window.

#include "core/store/Operator.h"

namespace pb {

class UpdateConfirmer {
  public:
    virtual ~UpdateConfirmer() = default;
    // True when the operator chose to update.
    virtual bool ConfirmDailyUpdate(const PendingDailyRegistration& pending) = 0;
    virtual bool ConfirmTimeUpdate(const PendingTimeRegistration& pending) = 0;
};

}  // namespace pb
