#pragma once
// An operator that answers from a script and remembers what it was asked.

#include <deque>
#include <string>
#include <vector>

#include "core/store/Operator.h"

namespace pb {

class ScriptedOperator final : public Operator {
  public:
    struct Call {
        std::string kind;  // "warning", "information", "question", "error", "confirm"
        std::string text;
        Buttons buttons = Buttons::Ok;
    };

    // Answers for the confirmations and questions, in order; when the script runs
    // out, confirmations and questions are answered yes.
    std::deque<bool> answers;
    std::deque<Reply> warningReplies;
    std::vector<Call> calls;
    std::vector<PendingDailyRegistration> dailyPending;
    std::vector<PendingTimeRegistration> timePending;

    Reply Warning(const std::string& text, Buttons buttons) override {
        calls.push_back({"warning", text, buttons});
        if (warningReplies.empty())
            return buttons == Buttons::Ok ? Reply::Ok : Reply::Yes;
        const Reply r = warningReplies.front();
        warningReplies.pop_front();
        return r;
    }
    void Information(const std::string& text) override { calls.push_back({"information", text}); }
    bool Question(const std::string& text) override {
        calls.push_back({"question", text, Buttons::YesNo});
        return Next();
    }
    void Error(const std::string& text) override { calls.push_back({"error", text}); }
    bool ConfirmDailyUpdate(const PendingDailyRegistration& pending) override {
        calls.push_back({"confirm", pending.ID});
        dailyPending.push_back(pending);
        return Next();
    }
    bool ConfirmTimeUpdate(const PendingTimeRegistration& pending) override {
        calls.push_back({"confirm", pending.ID});
        timePending.push_back(pending);
        return Next();
    }

    std::vector<std::string> Kinds() const {
        std::vector<std::string> kinds;
        for (const auto& c : calls)
            kinds.push_back(c.kind);
        return kinds;
    }
    bool Saw(const std::string& kind) const {
        for (const auto& c : calls) {
            if (c.kind == kind)
                return true;
        }
        return false;
    }

  private:
    bool Next() {
        if (answers.empty())
            return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace pb
