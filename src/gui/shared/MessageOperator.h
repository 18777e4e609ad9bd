#pragma once
// The core's questions to the operator, answered with the program's message
// boxes (Messages). Core operations take an Operator&; windows hand them one of
// these, parented to themselves.

#include "core/store/Operator.h"

class QWidget;

namespace pb {

class UpdateConfirmer;

class MessageOperator : public Operator {
  public:
    // Without a confirmer the update confirmation of a registration is a plain
    // question naming the employee; with one (the forms' comparison dialogs,
    // which must outlive this operator) it is the confirmer's.
    explicit MessageOperator(QWidget* parent = nullptr, UpdateConfirmer* confirmer = nullptr)
        : parent_(parent), confirmer_(confirmer) {}

    Reply Warning(const std::string& text, Buttons buttons) override;
    void Information(const std::string& text) override;
    bool Question(const std::string& text) override;
    void Error(const std::string& text) override;

    // The update confirmation of a registration.
    bool ConfirmDailyUpdate(const PendingDailyRegistration& pending) override;
    bool ConfirmTimeUpdate(const PendingTimeRegistration& pending) override;

  private:
    QWidget* parent_;
    UpdateConfirmer* confirmer_;
};

}  // namespace pb
