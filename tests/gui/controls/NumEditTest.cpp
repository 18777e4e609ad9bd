#include "gui/controls/NumEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "support/GuiTestSupport.h"

namespace pb {
namespace {

// Plays keys into the field: digits, letters and punctuation as typed
// characters; '<' Backspace, '#' Ctrl+A, '^' Left, '\r' Enter, '*'
// gaining the focus.
void Type(TNumEdit& edit, const std::string& keys) {
    for (char key : keys) {
        switch (key) {
            case '<':
                QTest::keyClick(&edit, Qt::Key_Backspace);
                break;
            case '^':
                QTest::keyClick(&edit, Qt::Key_Left);
                break;
            case '#':
                QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
                break;
            case '\r':
                QTest::keyClick(&edit, Qt::Key_Return);
                break;
            case '*': {
                QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
                QApplication::sendEvent(&edit, &focus);
                break;
            }
            default:
                QTest::keyClick(&edit, key);
        }
    }
}

TEST(NumEdit, StartsWithDefaults) {
    TNumEdit edit;
    EXPECT_TRUE(edit.canNegative());
    EXPECT_EQ(edit.leadingChar(), ' ');
    EXPECT_FALSE(edit.zeroDisplay());
    EXPECT_EQ(edit.maxDegits(), 9);
    EXPECT_EQ(edit.limit(), 1000000000);
    EXPECT_EQ(edit.value(), 0);
    EXPECT_TRUE(edit.autoSelect());
    EXPECT_FALSE(edit.isReadOnly());
    EXPECT_EQ(edit.text(), QString());
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
}

TEST(NumEdit, TypingSequences) {
    struct Case {
        const char* name;
        int maxDegits;
        bool canNegative;
        qint64 start;
        std::string keys;
        qint64 value;
        const char* text;
        int beeps;
    };
    const Case cases[] = {
        {"five nines", 5, true, 0, "99999", 99999, "99,999", 0},
        {"sixth nine beeps", 5, true, 0, "999999", 99999, "99,999", 1},
        {"negative at the limit", 5, true, 0, "99999-9", -99999, "-99,999", 1},
        {"largest of nine digits", 9, true, 0, "9999999999", 999999999, "999,999,999", 1},
        {"ten digits refused", 9, true, 100000000, "0", 100000000, "100,000,000", 1},
        {"minus toggles", 9, true, 0, "5-", -5, "-5", 0},
        {"minus twice", 9, true, 0, "5--", 5, "5", 0},
        {"minus on zero", 9, true, 0, "-", 0, "", 0},
        {"minus not allowed", 9, false, 0, "5-", 5, "5", 1},
        {"digit extends a negative", 9, true, -12, "3", -123, "-123", 0},
        {"focus selects, digit replaces", 9, true, 4321, "*7", 7, "7", 0},
        {"focus then minus keeps value", 9, true, 4321, "*-", -4321, "-4,321", 0},
        {"letters, dot and Enter dropped", 9, true, 0, "1a.\rZ 2", 12, "12", 0},
        {"backspace rounds half to even", 9, true, 0, "19<", 2, "2", 0},
        {"backspace negative", 9, true, 0, "19-<", -2, "-2", 0},
        {"left is swallowed", 9, true, 0, "12^3", 123, "123", 0},
        {"zeros before digits", 9, true, 0, "007", 7, "7", 0},
        {"Ctrl+A, Backspace clears", 9, true, 4321, "#<", 0, "", 0},
        {"Ctrl+A, digit replaces", 9, true, 4321, "#7", 7, "7", 0},
        {"focus selects, Backspace clears", 9, true, 4321, "*<", 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TNumEdit edit;
        edit.setMaxDegits(c.maxDegits);
        edit.setCanNegative(c.canNegative);
        edit.setValue(c.start);
        QSignalSpy beeps(&edit, &TNumEdit::beeped);
        Type(edit, c.keys);
        EXPECT_EQ(edit.value(), c.value);
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.text));
        EXPECT_EQ(beeps.count(), c.beeps);
        EXPECT_EQ(edit.cursorPosition(), edit.text().size());
    }
}

TEST(NumEdit, BackspaceDividesByTenHalfToEven) {
    const std::pair<qint64, qint64> cases[] = {
        {1234, 123}, {1236, 124}, {19, 2},
        {15, 2},     {25, 2},     {5, 0},
        {-19, -2},   {-15, -2},   {-25, -2},
        {1, 0},      {4, 0},      {6, 1},
        {9, 1},      {0, 0},      {std::numeric_limits<qint64>::min(), -922337203685477581},
    };
    for (auto [before, after] : cases) {
        SCOPED_TRACE(before);
        TNumEdit edit;
        edit.setValue(before);
        Type(edit, "<");
        EXPECT_EQ(edit.value(), after);
    }
}

TEST(NumEdit, RenderingByOptions) {
    struct Case {
        qint64 value;
        char leading;
        bool zeroDisplay;
        const char* text;
    };
    const Case cases[] = {
        {0, ' ', false, ""},
        {0, '\\', false, "¥"},
        {0, '\\', true, "¥0"},
        {0, ' ', true, "0"},
        {-32000, '\\', true, "-¥32,000"},
        {-32000, '\\', false, "-¥32,000"},
        {1234567, ' ', false, "1,234,567"},
        {999, ' ', false, "999"},
        {1000, '\x1f', false, "1,000"},  // control characters are no prefix
        {5, '$', false, "$5"},
        {5, '\xb1', false, "ｱ5"},  // half-width katakana byte
        {std::numeric_limits<qint64>::min(), ' ', false, "-9,223,372,036,854,775,808"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TNumEdit::RenderValue(c.value, c.leading, c.zeroDisplay),
                  QString::fromUtf8(c.text));
        TNumEdit edit;
        edit.setLeadingChar(c.leading);
        edit.setZeroDisplay(c.zeroDisplay);
        edit.setValue(c.value);
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.text));
    }
}

TEST(NumEdit, OptionsTakeEffectAtTheNextValue) {
    TNumEdit edit;
    QSignalSpy changes(&edit, &TNumEdit::change);
    edit.setValue(0);
    EXPECT_EQ(changes.count(), 0) << "same empty text is no change";
    edit.setZeroDisplay(true);
    edit.setLeadingChar('\\');
    EXPECT_EQ(edit.text(), QString());
    edit.setValue(0);
    EXPECT_EQ(edit.text(), QStringLiteral("¥0"));
    edit.setValue(0);
    EXPECT_EQ(changes.count(), 1);
    edit.setMaxDegits(2);
    edit.setValue(12345);  // code may store beyond the typing limit
    EXPECT_EQ(edit.text(), QStringLiteral("¥12,345"));
    EXPECT_EQ(changes.count(), 2);
}

TEST(NumEdit, MaxDegitsOutsideOneToSeventeenIsIgnored) {
    TNumEdit edit;
    for (int bad : {0, -1, 18, 100})
        edit.setMaxDegits(bad);
    EXPECT_EQ(edit.maxDegits(), 9);
    EXPECT_EQ(edit.limit(), 1000000000);
    edit.setMaxDegits(17);
    EXPECT_EQ(edit.limit(), 100000000000000000);
    edit.setMaxDegits(1);
    QSignalSpy beeps(&edit, &TNumEdit::beeped);
    Type(edit, "98");
    EXPECT_EQ(edit.value(), 9);
    EXPECT_EQ(beeps.count(), 1);
}

TEST(NumEdit, ValueBeyondTheLimitCannotGrowOrWrap) {
    // 1844674407370955162 × 10 wraps round to 4 in 64 bits; it must be refused,
    // not taken for a small number.
    for (qint64 start : {qint64{1000000000}, qint64{1844674407370955162},
                         std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()}) {
        SCOPED_TRACE(start);
        TNumEdit edit;
        edit.setValue(start);
        QSignalSpy beeps(&edit, &TNumEdit::beeped);
        Type(edit, "0");
        EXPECT_EQ(edit.value(), start);
        EXPECT_EQ(beeps.count(), 1);
    }
    TNumEdit edit;
    edit.setValue(std::numeric_limits<qint64>::min());
    Type(edit, "-");
    EXPECT_EQ(edit.value(), std::numeric_limits<qint64>::min());
}

TEST(NumEdit, FocusSelectsAllOnlyWithAutoSelect) {
    for (bool autoSelect : {true, false}) {
        SCOPED_TRACE(autoSelect);
        TNumEdit edit;
        edit.setAutoSelect(autoSelect);
        edit.setValue(4321);
        QSignalSpy enters(&edit, &TNumEdit::enter);
        QSignalSpy exits(&edit, &TNumEdit::exit);
        Type(edit, "*");
        EXPECT_EQ(edit.selectedText(), autoSelect ? QStringLiteral("4,321") : QString());
        Type(edit, "7");
        EXPECT_EQ(edit.value(), autoSelect ? 7 : 43217);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&edit, &out);
        EXPECT_EQ(enters.count(), 1);
        EXPECT_EQ(exits.count(), 1);
    }
}

TEST(NumEdit, AClickIntoTheFieldSelectsTheAmountSoTypingReplacesIt) {
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* edit = new TNumEdit(&window);
    edit->setLeadingChar('\\');
    edit->setValue(1000);
    edit->setGeometry(0, 30, 100, 22);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(80, 11));
    ASSERT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), edit->text());
    QTest::keyClicks(edit, "32500");
    EXPECT_EQ(edit->value(), 32500);
}

TEST(NumEdit, ReadOnlyIgnoresTypingButCallsTheHandlerFirst) {
    TNumEdit edit;
    edit.setValue(1234);
    edit.setReadOnly(true);
    QString seen;
    QObject::connect(&edit, &TNumEdit::keyPress, [&](QChar& ch) { seen += ch; });
    Type(edit, "5-<");
    EXPECT_EQ(edit.value(), 1234);
    EXPECT_EQ(edit.text(), QStringLiteral("1,234"));
    EXPECT_EQ(seen, QStringLiteral("5-"));
}

TEST(NumEdit, HandlersMayChangeOrSwallowKeys) {
    TNumEdit edit;
    QObject::connect(&edit, &TNumEdit::keyPress, [](QChar& ch) {
        if (ch == QLatin1Char('1'))
            ch = QLatin1Char('7');
        if (ch == QLatin1Char('2'))
            ch = QChar();
    });
    int downs = 0;
    QObject::connect(&edit, &TNumEdit::keyDown, [&](int&, Qt::KeyboardModifiers) { ++downs; });
    Type(edit, "123<^");
    EXPECT_EQ(edit.value(), 7);  // 7, dropped, 3 = 73, Backspace -> 7
    EXPECT_EQ(downs, 3) << "Backspace and Left never reach the handler";
}

TEST(NumEdit, TextChangesOnlyThroughTheValue) {
    TNumEdit edit;
    edit.setValue(123);
    QApplication::clipboard()->setText(QStringLiteral("999"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::mouseClick(&edit, Qt::MiddleButton);
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    edit.setValue(123);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("4a"));
    QApplication::sendEvent(&edit, &composed);
    EXPECT_EQ(edit.value(), 1234);
    EXPECT_EQ(edit.text(), QStringLiteral("1,234"));
}

TEST(NumEdit, ContextMenuOffersNoEditing) {
    TNumEdit edit;
    edit.setValue(123);
    edit.selectAll();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(&edit, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    int offered = 0;
    QApplication::clipboard()->setText(QStringLiteral("999"));
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        ++offered;
        action->trigger();
    }
    menu->close();
    EXPECT_EQ(offered, 2) << "copy and select all only";
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("123"));
}

}  // namespace
}  // namespace pb
