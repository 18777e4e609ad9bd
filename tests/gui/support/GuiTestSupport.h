#pragma once
// Helpers shared by the GUI tests.

#include <QString>
#include <QWidget>
#include <functional>
#include <iosfwd>

// Lets gtest print QStrings in failure messages.
void PrintTo(const QString& text, std::ostream* os);

namespace pb::test {

// Arms a timer that waits for the next modal widget (message box or dialog),
// hands it to `answer` and returns. Use before the call that opens the modal:
//     AnswerNextModal([](QWidget* w) { ClickButton(w, "はい(&Y)"); });
void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// Clicks the push button with `text` in `modal`; fails the test when none.
void ClickButton(QWidget* modal, const QString& text);

// The text shown by a message box (empty for other widgets).
QString MessageText(QWidget* modal);

// Runs pending events so queued edits, paints and timers take effect.
void ProcessEvents(int ms = 0);

}  // namespace pb::test
