#pragma once
// The core's questions to the operator, answered with the program's message
// boxes (Messages). Core operations take an Operator&; windows hand them one of
// these, parented to themselves.

#include "core/store/Operator.h"

class QWidget;

namespace pb {

class MessageOperator : public Operator {
  public:
    explicit MessageOperator(QWidget* parent = nullptr) : parent_(parent) {}

    Reply Warning(const std::string& text, Buttons buttons) override;
    void Information(const std::string& text) override;
    bool Question(const std::string& text) override;
    void Error(const std::string& text) override;

    // The update confirmation of a registration. Hook: the registration forms'
    // confirmation dialogs (TReNewDlgD / TReNewDlgT) are shown from here.
    bool ConfirmDailyUpdate(const PendingDailyRegistration& pending) override;
    bool ConfirmTimeUpdate(const PendingTimeRegistration& pending) override;

  private:
    QWidget* parent_;
};

}  // namespace pb
