#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "support/GuiTestSupport.h"

namespace pb {
namespace {

using test::AnswerNextModal;
using test::ClickButton;

struct Seen {
    QString title;
    QString text;
    QStringList buttons;
};

// Answers the next box with `answer` and records what it showed.
void Record(Seen& seen, const QString& answer) {
    AnswerNextModal([&seen, answer](QWidget* modal) {
        seen.title = modal->windowTitle();
        seen.text = test::MessageText(modal);
        for (auto* button : modal->findChildren<QAbstractButton*>())
            if (!button->text().isEmpty())
                seen.buttons << button->text();
        seen.buttons.sort();
        ClickButton(modal, answer);
    });
}

TEST(Messages, EachKindShowsItsTitleAndButtons) {
    struct Case {
        std::function<bool()> show;
        QString answer;
        QString title;
        QStringList buttons;
        bool result;
    };
    const Case cases[] = {
        {[] {
             Messages::Warning(nullptr, "w");
             return true;
         },
         "OK",
         "警告",
         {"OK"},
         true},
        {[] {
             Messages::Error(nullptr, "w");
             return true;
         },
         "OK",
         "ｴﾗｰ",
         {"OK"},
         true},
        {[] {
             Messages::Information(nullptr, "w");
             return true;
         },
         "OK",
         "情報",
         {"OK"},
         true},
        {[] { return Messages::Confirm(nullptr, "w"); },
         "はい(&Y)",
         "確認",
         {"いいえ(&N)", "はい(&Y)"},
         true},
        {[] { return Messages::Confirm(nullptr, "w"); },
         "いいえ(&N)",
         "確認",
         {"いいえ(&N)", "はい(&Y)"},
         false},
        {[] { return Messages::ConfirmOkCancel(nullptr, "w"); },
         "ｷｬﾝｾﾙ",
         "確認",
         {"OK", "ｷｬﾝｾﾙ"},
         false},
        {[] { return Messages::ConfirmOkCancel(nullptr, "w"); },
         "OK",
         "確認",
         {"OK", "ｷｬﾝｾﾙ"},
         true},
    };
    for (const Case& c : cases) {
        Seen seen;
        Record(seen, c.answer);
        EXPECT_EQ(c.show(), c.result) << c.title.toStdString();
        EXPECT_EQ(seen.title, c.title);
        QStringList expected = c.buttons;
        expected.sort();
        EXPECT_EQ(seen.buttons, expected) << c.title.toStdString();
    }
}

TEST(Messages, ClosingAQuestionWithoutAnswerIsNo) {
    AnswerNextModal([](QWidget* modal) { modal->close(); });
    EXPECT_FALSE(Messages::Confirm(nullptr, "削除しますか？"));
    AnswerNextModal([](QWidget* modal) { modal->close(); });
    EXPECT_EQ(Messages::Ask(nullptr, Messages::Kind::Warning, "x", Messages::Yes, Messages::Yes),
              Messages::Yes);
}

TEST(Messages, AShortTextGetsABoxAsWideAsItsTitleBarAndNoMayBeTheDefault) {
    int width = 0;
    AnswerNextModal([&width](QWidget* modal) {
        width = modal->width();
        ClickButton(modal, "OK");
    });
    Messages::Information(nullptr, "登録完了");
    EXPECT_GE(width, 260);

    QString preferred;
    AnswerNextModal([&preferred](QWidget* modal) {
        preferred = static_cast<QMessageBox*>(modal)->defaultButton()->text();
        ClickButton(modal, "いいえ(&N)");
    });
    EXPECT_FALSE(Messages::Confirm(nullptr, "削除しますか？", Messages::No));
    EXPECT_EQ(preferred, "いいえ(&N)");
}

TEST(MessageOperator, CoreQuestionsGetTheProgramsBoxes) {
    struct Case {
        Buttons buttons;
        QString answer;
        Reply reply;
    };
    const Case cases[] = {
        {Buttons::Ok, "OK", Reply::Ok},
        {Buttons::Yes, "はい(&Y)", Reply::Yes},
        {Buttons::YesNo, "いいえ(&N)", Reply::No},
        {Buttons::YesNoCancel, "ｷｬﾝｾﾙ", Reply::Cancel},
    };
    MessageOperator op;
    for (const Case& c : cases) {
        Seen seen;
        Record(seen, c.answer);
        EXPECT_EQ(op.Warning("従業員データの登録を中止します。", c.buttons), c.reply);
        EXPECT_EQ(seen.title, "警告");
        EXPECT_EQ(seen.text, "従業員データの登録を中止します。");
    }
    Seen seen;
    Record(seen, "はい(&Y)");
    EXPECT_TRUE(op.Question("削除しますか？"));
    EXPECT_EQ(seen.title, "確認");
    Record(seen, "OK");
    op.Error("1999_fv2.pbk に書き込めません");
    EXPECT_EQ(seen.title, "ｴﾗｰ");
    EXPECT_EQ(seen.text, "1999_fv2.pbk に書き込めません");
}

}  // namespace
}  // namespace pb
