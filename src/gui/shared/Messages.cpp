#include "gui/shared/Messages.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <utility>
#include <vector>

namespace pb {

namespace {
constexpr int kMinimumWidth = 260;
}  // namespace

QString Messages::Title(Kind kind) {
    switch (kind) {
        case Kind::Warning:
            return QStringLiteral("警告");
        case Kind::Error:
            return QStringLiteral("ｴﾗｰ");
        case Kind::Information:
            return QStringLiteral("情報");
        case Kind::Confirmation:
            return QStringLiteral("確認");
    }
    return {};
}

QString Messages::ButtonText(Button button) {
    switch (button) {
        case Ok:
            return QStringLiteral("OK");
        case Cancel:
            return QStringLiteral("ｷｬﾝｾﾙ");
        case Yes:
            return QStringLiteral("はい(&Y)");
        case No:
            return QStringLiteral("いいえ(&N)");
    }
    return {};
}

namespace {

Messages::Answerer& CurrentAnswerer() {
    static Messages::Answerer answerer;
    return answerer;
}

}  // namespace

Messages::Answerer Messages::SetAnswerer(Answerer answerer) {
    return std::exchange(CurrentAnswerer(), std::move(answerer));
}

Messages::Button Messages::Ask(QWidget* parent, Kind kind, const QString& text, int buttons,
                               Button defaultButton) {
    static constexpr std::pair<Button, QMessageBox::ButtonRole> kOrder[] = {
        {Ok, QMessageBox::AcceptRole},
        {Cancel, QMessageBox::RejectRole},
        {Yes, QMessageBox::YesRole},
        {No, QMessageBox::NoRole},
    };
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                                   QMessageBox::Information, QMessageBox::Question};
    if ((buttons & (Ok | Cancel | Yes | No)) == 0)
        buttons = Ok;
    if (const Answerer& answerer = CurrentAnswerer()) {
        const Button pressed = answerer(kind, text, buttons, defaultButton);
        return (buttons & pressed) != 0 ? pressed : defaultButton;
    }

    QMessageBox box(kIcons[static_cast<int>(kind)], Title(kind), text, QMessageBox::NoButton,
                    parent);
    std::vector<std::pair<QAbstractButton*, Button>> added;
    for (const auto& [button, role] : kOrder) {
        if ((buttons & button) == 0)
            continue;
        QPushButton* push = box.addButton(ButtonText(button), role);
        added.emplace_back(push, button);
        if (button == defaultButton)
            box.setDefaultButton(push);
    }
    // Esc and the close icon: the "no" answer when there is one.
    for (Button escape : {Cancel, No, Yes, Ok}) {
        auto it = std::find_if(added.begin(), added.end(),
                               [escape](const auto& entry) { return entry.second == escape; });
        if (it != added.end()) {
            box.setEscapeButton(it->first);
            break;
        }
    }
    // A short text ("登録完了") would leave the box narrower than its title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(kMinimumWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
    for (const auto& [push, button] : added)
        if (box.clickedButton() == push)
            return button;
    return static_cast<Button>(buttons & Cancel ? Cancel
                               : buttons & No   ? No
                                                : added.front().second);
}

void Messages::Warning(QWidget* parent, const QString& text) {
    Ask(parent, Kind::Warning, text, Ok, Ok);
}

void Messages::Error(QWidget* parent, const QString& text) {
    Ask(parent, Kind::Error, text, Ok, Ok);
}

void Messages::Information(QWidget* parent, const QString& text) {
    Ask(parent, Kind::Information, text, Ok, Ok);
}

bool Messages::Confirm(QWidget* parent, const QString& text, Button defaultButton) {
    return Ask(parent, Kind::Confirmation, text, Yes | No, defaultButton) == Yes;
}

bool Messages::ConfirmOkCancel(QWidget* parent, const QString& text) {
    return Ask(parent, Kind::Confirmation, text, Ok | Cancel, Ok) == Ok;
}

QString Messages::EmployeeDeletionQuestion(const QString& id, int months) {
    const QString employee = QStringLiteral("従業員番号 ") + id + QStringLiteral(" のデータ");
    if (months <= 0)
        return employee + QStringLiteral("を削除しますか？");
    return employee + QStringLiteral("と、その勤務データ（%1 か月分）を削除しますか？").arg(months);
}

void Messages::Failure(QWidget* parent, const std::exception& error) {
    Error(parent, QString::fromUtf8(error.what()));
}

}  // namespace pb
