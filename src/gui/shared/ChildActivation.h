#pragma once
// When a window shown in the main window's client area becomes the active
// child (or, standing on its own, the active window), it may ask the main
// window for its width or refresh what it shows. One watcher serves every such
// window.

#include <QObject>

class QMdiSubWindow;
class QWidget;

namespace pb {

class ChildActivation : public QObject {
    Q_OBJECT

  public:
    // Watches `window` (and the child window that will hold it); owned by it.
    explicit ChildActivation(QWidget* window);

  signals:
    // The window became the active one. The client area reports no active
    // child while the program itself is inactive (a message box, another
    // program); coming back from there is no new activation.
    void activated();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void AttachToSubWindow();
    void OnSubWindowActivated(QMdiSubWindow* sub);

    QWidget* window_;
    bool current_ = false;
};

}  // namespace pb
