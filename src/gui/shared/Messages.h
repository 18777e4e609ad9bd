#pragma once
// The program's message boxes: one place for their titles ("警告", "ｴﾗｰ",
// "情報", "確認") and button texts ("OK", "ｷｬﾝｾﾙ", "はい(&Y)", "いいえ(&N)").
// They are ordinary modal QMessageBoxes, so tests answer them by button text.

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace pb {

class Messages {
  public:
    enum class Kind { Warning, Error, Information, Confirmation };
    enum Button { Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };

    // Shows a box with the given buttons (in the order OK, ｷｬﾝｾﾙ, はい, いいえ)
    // and returns the one pressed. Closing the box with its close icon or Esc
    // counts as ｷｬﾝｾﾙ or いいえ when offered, else as the only button.
    static Button Ask(QWidget* parent, Kind kind, const QString& text, int buttons,
                      Button defaultButton);

    // A title per kind, as the operator sees it.
    static QString Title(Kind kind);
    static QString ButtonText(Button button);

    static void Warning(QWidget* parent, const QString& text);
    static void Error(QWidget* parent, const QString& text);
    static void Information(QWidget* parent, const QString& text);
    // 確認 with はい(&Y) / いいえ(&N); true for はい. Enter answers
    // `defaultButton` (いいえ before a step that cannot be undone).
    static bool Confirm(QWidget* parent, const QString& text, Button defaultButton = Yes);
    // 確認 with OK / ｷｬﾝｾﾙ; true for OK.
    static bool ConfirmOkCancel(QWidget* parent, const QString& text);

    // The question before an employee is deleted, saying how many stored
    // months go with it.
    static QString EmployeeDeletionQuestion(const QString& id, int months);

    // A failed file operation or other error that ended what the operator
    // asked for: an error box with its message (which names file and reason).
    static void Failure(QWidget* parent, const std::exception& error);

    // Tests answer the boxes here instead of on screen: while an answerer is
    // set, every box is handed to it (with its buttons and the default one)
    // and nothing is shown; it returns the button pressed.
    using Answerer =
        std::function<Button(Kind kind, const QString& text, int buttons, Button defaultButton)>;
    // Sets the answerer (an empty one shows the boxes again); returns the last one.
    static Answerer SetAnswerer(Answerer answerer);
};

}  // namespace pb
