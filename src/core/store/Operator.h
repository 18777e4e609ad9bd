#pragma once
// What a core operation asks the operator in the middle of its work. The GUI
// answers with the program's message boxes and confirmation dialogs; tests
// answer from a script and check what was asked.

#include <string>

#include "core/store/Records.h"

namespace pb {

enum class Buttons { Ok, Yes, YesNo, YesNoCancel };
enum class Reply { Ok, Yes, No, Cancel };

// A registration of an employee already on file, waiting for the operator's
// consent: the ID, the new name and the new wage record of the scheme.
struct PendingDailyRegistration {
    std::string ID;
    std::string Name;
    DailyWagesRecord Record;
};

struct PendingTimeRegistration {
    std::string ID;
    std::string Name;
    TimeWagesRecord Record;
};

class Operator {
  public:
    virtual ~Operator() = default;

    // A warning box (title "警告") with the given buttons; returns the one pressed.
    virtual Reply Warning(const std::string& text, Buttons buttons) = 0;
    // An information box (title "情報") with an OK button.
    virtual void Information(const std::string& text) = 0;
    // A confirmation box (title "確認") with Yes and No; true for Yes.
    virtual bool Question(const std::string& text) = 0;
    // A file-system failure (title "ｴﾗｰ"); the text names the file and the reason.
    virtual void Error(const std::string& text) = 0;
    // The update confirmation of each pay scheme; true when the operator chose to
    // update, false for cancel or a closed dialog.
    virtual bool ConfirmDailyUpdate(const PendingDailyRegistration& pending) = 0;
    virtual bool ConfirmTimeUpdate(const PendingTimeRegistration& pending) = 0;
};

}  // namespace pb
