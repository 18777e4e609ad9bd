#pragma once
// A one-line field that holds a whole number. The operator types it digit by
// digit from the right, as on a pocket calculator; the text is always rendered
// anew from the value, right-aligned, with thousands separators and an
// optional one-character prefix such as the yen sign.

#include <QLineEdit>
#include <QtGlobal>

namespace pb {

class TNumEdit : public QLineEdit {
    Q_OBJECT

  public:
    static constexpr int kMinDegits = 1;
    static constexpr int kMaxDegits = 17;

    explicit TNumEdit(QWidget* parent = nullptr);

    // The minus key may toggle the sign.
    bool canNegative() const { return canNegative_; }
    void setCanNegative(bool on) { canNegative_ = on; }

    // A byte of the forms' code page put in front of the number; anything up to
    // and including the space means no prefix. 0x5C shows as "¥". Takes effect
    // at the next write of Value.
    char leadingChar() const { return leadingChar_; }
    void setLeadingChar(char c) { leadingChar_ = c; }

    // False: a value of 0 shows no number (only the prefix, if any). Takes
    // effect at the next write of Value.
    bool zeroDisplay() const { return zeroDisplay_; }
    void setZeroDisplay(bool on) { zeroDisplay_ = on; }

    // How many digits the operator may type, 1 to 17; other counts are ignored.
    // A typed value must stay strictly inside ±10^MaxDegits. Does not re-render.
    int maxDegits() const { return maxDegits_; }
    void setMaxDegits(int count);
    qint64 limit() const { return limit_; }

    // The number. Writing renders the text, puts the caret at its end and
    // raises `change` when the text differs. Any value may be stored from code,
    // also one beyond the typing limit.
    qint64 value() const { return value_; }
    void setValue(qint64 value);

    // Select the whole text whenever the field gets the focus.
    bool autoSelect() const { return autoSelect_; }
    void setAutoSelect(bool on) { autoSelect_ = on; }

    // The text shown for `value` under the given options.
    static QString RenderValue(qint64 value, char leadingChar, bool zeroDisplay);
    // `value` / 10, rounded to nearest with an exact half to the even neighbour.
    static qint64 DivideByTenHalfEven(qint64 value);

  signals:
    // The shown text has changed.
    void change();
    // Every key except Backspace and Left, before the field handles it; set
    // `key` to 0 to swallow it.
    void keyDown(int& key, Qt::KeyboardModifiers modifiers);
    // Every typed character before the field looks at it; change `ch` to type
    // something else, or set it to a null QChar to drop it.
    void keyPress(QChar& ch);
    // A digit or minus was refused with the information beep.
    void beeped();
    // The field has gained or lost the input focus.
    void enter();
    void exit();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // The text follows Value only; nobody writes it directly.
    using QLineEdit::insert;
    using QLineEdit::setText;

    void typeCharacter(QChar ch);
    void refuse();

    bool canNegative_ = true;
    char leadingChar_ = ' ';
    bool zeroDisplay_ = false;
    int maxDegits_ = 9;
    qint64 limit_ = 1000000000;
    qint64 value_ = 0;
    bool autoSelect_ = true;
    bool selectOnRelease_ = false;
};

}  // namespace pb
