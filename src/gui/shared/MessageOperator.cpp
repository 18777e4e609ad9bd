#include "gui/shared/MessageOperator.h"

#include <QString>

#include "gui/shared/Messages.h"
#include "gui/shared/Text.h"
#include "gui/shared/UpdateConfirmer.h"

namespace pb {

namespace {

// Without the files to compare with, a plain question that names the employee,
// so that nothing is updated without the operator's consent.
bool ConfirmUpdate(QWidget* parent, const std::string& id, const std::string& name) {
    return Messages::ConfirmOkCancel(
        parent,
        QStringLiteral("従業員番号 %1 (%2) の登録データを更新しますか？").arg(Q(id), Q(name)));
}
}  // namespace

Reply MessageOperator::Warning(const std::string& text, Buttons buttons) {
    int shown = Messages::Ok;
    Messages::Button preferred = Messages::Ok;
    switch (buttons) {
        case Buttons::Ok:
            break;
        case Buttons::Yes:
            shown = preferred = Messages::Yes;
            break;
        case Buttons::YesNo:
            shown = Messages::Yes | Messages::No;
            preferred = Messages::Yes;
            break;
        case Buttons::YesNoCancel:
            shown = Messages::Yes | Messages::No | Messages::Cancel;
            preferred = Messages::Yes;
            break;
    }
    switch (Messages::Ask(parent_, Messages::Kind::Warning, Q(text), shown, preferred)) {
        case Messages::Ok:
            return Reply::Ok;
        case Messages::Yes:
            return Reply::Yes;
        case Messages::No:
            return Reply::No;
        case Messages::Cancel:
            return Reply::Cancel;
    }
    return Reply::Cancel;
}

void MessageOperator::Information(const std::string& text) {
    Messages::Information(parent_, Q(text));
}

bool MessageOperator::Question(const std::string& text) {
    return Messages::Confirm(parent_, Q(text));
}

void MessageOperator::Error(const std::string& text) {
    Messages::Error(parent_, Q(text));
}

bool MessageOperator::ConfirmDailyUpdate(const PendingDailyRegistration& pending) {
    if (confirmer_ == nullptr)
        return ConfirmUpdate(parent_, pending.ID, pending.Name);
    return confirmer_->ConfirmDailyUpdate(pending);
}

bool MessageOperator::ConfirmTimeUpdate(const PendingTimeRegistration& pending) {
    if (confirmer_ == nullptr)
        return ConfirmUpdate(parent_, pending.ID, pending.Name);
    return confirmer_->ConfirmTimeUpdate(pending);
}

}  // namespace pb
