#include "gui/shared/StayDisabled.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace pb {

namespace {

const QString kKeeperName = QStringLiteral("StayDisabled");

// Turns the control off again, after the change that turned it on.
class StayDisabled final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::EnabledChange && widget != nullptr && widget->isEnabled())
            QMetaObject::invokeMethod(
                widget, [widget] { widget->setEnabled(false); }, Qt::QueuedConnection);
        return false;
    }
};

}  // namespace

void KeepDisabled(QWidget* widget) {
    if (widget == nullptr)
        return;
    widget->setEnabled(false);
    auto* keeper = new StayDisabled(widget);
    keeper->setObjectName(kKeeperName);
    widget->installEventFilter(keeper);
}

void LetEnabled(QWidget* widget, bool enabled) {
    if (widget == nullptr)
        return;
    for (QObject* keeper : widget->findChildren<QObject*>(kKeeperName, Qt::FindDirectChildrenOnly))
        delete keeper;
    widget->setEnabled(enabled);
}

}  // namespace pb
