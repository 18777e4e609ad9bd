#pragma once
// Helpers shared by the GUI tests.

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <iosfwd>
#include <memory>

#include "gui/shared/Messages.h"

// Lets gtest print QStrings in failure messages.
void PrintTo(const QString& text, std::ostream* os);

namespace pb::test {

// The child of `parent` named `name` (its objectName); the test fails when
// there is none. For controls that must exist: look for one that may be
// missing with findChild itself.
template <typename T>
T* Find(const QObject& parent, const QString& name) {
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}
template <typename T>
T* Find(const QObject* parent, const QString& name) {
    return Find<T>(*parent, name);
}
template <typename T, typename Window>
T* Find(const std::unique_ptr<Window>& parent, const QString& name) {
    return Find<T>(*parent, name);
}

// Presses the panel button named `name` in `parent`, as a click would.
void Click(const QObject& parent, const QString& name);
inline void Click(const QObject* parent, const QString& name) {
    Click(*parent, name);
}

// Arms a timer that waits for the next modal widget (message box or dialog),
// hands it to `answer` and returns. Use before the call that opens the modal:
//     AnswerNextModal([](QWidget* w) { ClickButton(w, "はい(&Y)"); });
// `opener`, a modal already open, is passed over: the one awaited opens over it.
void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000,
                     const QWidget* opener = nullptr);

// While it lives, the program's message boxes are answered without being
// shown: each is recorded as "title:text" and answered with the next queued
// button, or with its default button when nothing is queued.
class ScriptedMessages {
  public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void Answer(Messages::Button button) { answers_.push_back(button); }
    const QStringList& Shown() const { return shown_; }
    // The boxes shown so far, then forgotten.
    QStringList Take();

  private:
    std::deque<Messages::Button> answers_;
    QStringList shown_;
    Messages::Answerer previous_;
};

// Clicks the push button with `text` in `modal`; fails the test when none.
void ClickButton(QWidget* modal, const QString& text);

// The text shown by a message box (empty for other widgets).
QString MessageText(QWidget* modal);

// Runs pending events so queued edits, paints and timers take effect.
void ProcessEvents(int ms = 0);

}  // namespace pb::test
