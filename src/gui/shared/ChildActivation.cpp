#include "gui/shared/ChildActivation.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace pb {

ChildActivation::ChildActivation(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
}

bool ChildActivation::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
            // A new child window has no client area yet when it takes the
            // window; by the time it is shown it has.
            case QEvent::ParentChange:
            case QEvent::Show:
                AttachToSubWindow();
                break;
            case QEvent::WindowActivate:
                if (qobject_cast<QMdiSubWindow*>(window_->parentWidget()) == nullptr)
                    emit activated();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ChildActivation::AttachToSubWindow() {
    auto* sub = qobject_cast<QMdiSubWindow*>(window_->parentWidget());
    if (sub == nullptr || sub->mdiArea() == nullptr)
        return;
    connect(sub->mdiArea(), &QMdiArea::subWindowActivated, this,
            &ChildActivation::OnSubWindowActivated, Qt::UniqueConnection);
    if (!current_ && sub->mdiArea()->currentSubWindow() == sub)
        OnSubWindowActivated(sub);
}

void ChildActivation::OnSubWindowActivated(QMdiSubWindow* sub) {
    if (sub == nullptr)
        return;
    const bool mine = sub == window_->parentWidget();
    if (mine && !current_) {
        current_ = true;
        emit activated();
    } else if (!mine) {
        current_ = false;
    }
}

}  // namespace pb
