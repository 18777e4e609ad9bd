#pragma once
// The core's questions to the operator, answered with the program's message
// boxes (Messages). Core operations take an Operator&; windows hand them one of
// these, parented to themselves.

#include "core/store/Operator.h"

class QWidget;

namespace pb {

struct DataFiles;
struct Settings;

class MessageOperator : public Operator {
  public:
    explicit MessageOperator(QWidget* parent = nullptr) : parent_(parent) {}
    // With the files and the settings the update confirmation is the
    // comparison dialog (TReNewDlgD / TReNewDlgT), which reads the stored data
    // and colours its rows; without them a plain question.
    MessageOperator(QWidget* parent, const DataFiles& files, const Settings& settings)
        : parent_(parent), files_(&files), settings_(&settings) {}

    Reply Warning(const std::string& text, Buttons buttons) override;
    void Information(const std::string& text) override;
    bool Question(const std::string& text) override;
    void Error(const std::string& text) override;

    // The update confirmation of a registration.
    bool ConfirmDailyUpdate(const PendingDailyRegistration& pending) override;
    bool ConfirmTimeUpdate(const PendingTimeRegistration& pending) override;

  private:
    QWidget* parent_;
    const DataFiles* files_ = nullptr;
    const Settings* settings_ = nullptr;
};

}  // namespace pb
