// The road of a new user: from the main window's 登録 commands through the
// registration forms and the comparison dialog, back to refreshed lists.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "../app/ProgramFolder.h"
#include "core/store/EmployeeFiles.h"
#include "gui/app/MainWindow.h"
#include "gui/controls/NumEdit.h"
#include "gui/controls/Pbutton.h"
#include "gui/employees/DailyUpdateDialog.h"
#include "gui/employees/HourlyUpdateDialog.h"
#include "gui/employees/InputDailyWages.h"
#include "gui/employees/InputTimeWages.h"
#include "support/GuiTestSupport.h"

namespace pb::test {
namespace {

// Waits for the next visible modal window of type T and hands it to `answer`.
// Boxes open inside boxes, so the one looked for is told by its type.
template <typename T>
void AnswerModal(std::function<void(T*)> answer) {
    auto* timer = new QTimer(qApp);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, started, answer] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (modal != nullptr && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
            return;
        }
        if (started->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no " << T::staticMetaObject.className() << " appeared";
        }
    });
    timer->start();
}

void TypeIdAndName(QWidget* form, const QString& id, const QString& name) {
    auto* idcb = form->findChild<QComboBox*>("IDCB");
    idcb->setFocus();
    QTest::keyClicks(idcb, id);
    QTest::keyClick(idcb, Qt::Key_Return);
    ProcessEvents(5);
    Find<QLineEdit>(form, "NameEdit")->setText(name);
}

// Clicks 登録 and answers "登録完了".
void RegisterAndAcknowledge(QWidget* form, QString* told) {
    AnswerModal<QMessageBox>([told](QMessageBox* box) {
        *told = box->text();
        ClickButton(box, "OK");
    });
    Find<TPanelButton>(form, "PanelButton1")->click();
}

TEST(RegistrationRoad, DailyAndHourlyEmployeesAreRegisteredChangedAndListed) {
    ProgramFolder folder;
    MainWindow main(folder.Path());
    main.show();
    ASSERT_TRUE(Find<TPanelButton>(main, "PanelButton1")->isEnabled());
    ASSERT_TRUE(Find<TPanelButton>(main, "PanelButton2")->isEnabled());

    QString first, second, comparedRow, hourlyTold;
    AnswerModal<TInputD>([&](TInputD* form) {
        TypeIdAndName(form, "1", "山田太郎");
        RegisterAndAcknowledge(form, &first);
        // A changed overtime rate: the comparison dialog shows it in its own
        // colour and 更新 makes it the new generation.
        Find<TNumEdit>(form, "NumEdit2")->setValue(1250);
        form->PayEditExit(2);
        AnswerModal<DailyUpdateDialog>([&](DailyUpdateDialog* dialog) {
            comparedRow = dialog->Grid()->item(10, 2)->text();
            EXPECT_NE(dialog->RowColour(10), dialog->RowColour(9));
            AnswerModal<QMessageBox>([&](QMessageBox* box) {
                second = box->text();
                ClickButton(box, "OK");
            });
            Find<TPanelButton>(dialog, "PanelButton1")->click();
        });
        Find<TPanelButton>(form, "PanelButton1")->click();
        Find<TPanelButton>(form, "PanelButton2")->click();
    });
    main.RegisterDailyClicked();
    EXPECT_EQ(first, "登録完了");
    EXPECT_EQ(comparedRow, "¥1,250");
    EXPECT_EQ(second, "登録完了");

    AnswerModal<TInputT>([&](TInputT* form) {
        TypeIdAndName(form, "2", "鈴木花子");
        RegisterAndAcknowledge(form, &hourlyTold);
        Find<TPanelButton>(form, "PanelButton2")->click();
    });
    main.RegisterHourlyClicked();
    EXPECT_EQ(hourlyTold, "登録完了");

    // The lists follow: the selection panel's input button and the IDs.
    const DataFiles files = AssignDataFiles(folder.Path().toStdString());
    EXPECT_EQ(LookupEmployee(files, "001", "").WagesCode, 1002);
    EXPECT_EQ(LookupEmployee(files, "002", "").WagesCode, 2001);
    EXPECT_TRUE(Find<TPanelButton>(main, "PanelButton3")->isEnabled());
    auto* ids = main.findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(ids->count(), 1);
    EXPECT_EQ(ids->itemText(0), "001");
    EXPECT_EQ(Find<QLineEdit>(main, "NameEdit")->text(), "山田太郎");
}

// A key as the window system delivers it: to the window that has the focus,
// whose open menu, box or focused control then gets it.
void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ASSERT_NE(QGuiApplication::focusWindow(), nullptr);
    QTest::keyClick(QGuiApplication::focusWindow(), static_cast<Qt::Key>(key), modifiers);
    ProcessEvents(10);
}

// A window just opened gets the keyboard, as a window manager gives it.
bool TakesTheKeyboard(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitFor(
        [window] { return QGuiApplication::focusWindow() == window->windowHandle(); });
}

// Typed text: ASCII as keys, Japanese as the input method commits it.
void Type(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    if (text.front().unicode() < 0x80) {
        QTest::keyClicks(target, text);
    } else {
        QInputMethodEvent composed;
        composed.setCommitString(text);
        QApplication::sendEvent(target, &composed);
    }
    ProcessEvents(5);
}

// Opens an item of the 登録 menu from the keyboard.
void RegisterMenuItem(const char* item) {
    Key(Qt::Key_R, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (int i = 0;
         i < 3 && (menu->activeAction() == nullptr || menu->activeAction()->objectName() != item);
         ++i)
        Key(Qt::Key_Down);
    Key(Qt::Key_Return);
}

// Every command of the window has a key, named in its hint and to screen readers.
void ExpectEveryCommandHasAKey(QWidget* window) {
    for (TPanelButton* button : window->findChildren<TPanelButton*>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QString key = button->shortcut().toString(QKeySequence::NativeText);
        EXPECT_FALSE(key.isEmpty());
        EXPECT_TRUE(button->hint().endsWith(" (" + key + ")")) << button->hint().toStdString();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Accelerator),
                  key);
    }
}

TEST(RegistrationRoad, TheKeyboardAloneRegistersBothSchemesAndUpdatesOne) {
    ProgramFolder folder;
    MainWindow main(folder.Path());
    main.show();
    ASSERT_TRUE(TakesTheKeyboard(&main));
    QStringList told;
    auto acknowledge = [&told] {
        AnswerModal<QMessageBox>([&told](QMessageBox* box) {
            ASSERT_TRUE(TakesTheKeyboard(box));
            told << box->text();
            Key(Qt::Key_Return);
        });
    };

    AnswerModal<TInputD>([&](TInputD* form) {
        ASSERT_TRUE(TakesTheKeyboard(form));
        ExpectEveryCommandHasAKey(form);
        ASSERT_EQ(QApplication::focusWidget()->objectName(), "IDCB");
        Type("1");
        Key(Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget()->objectName(), "NameEdit");
        Type("山田太郎");
        acknowledge();
        Key(Qt::Key_S, Qt::ControlModifier);  // 登録
        ASSERT_TRUE(TakesTheKeyboard(form));  // back from the box
        // The update: another name, 登録 again, 更新 in the comparison.
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("山田一郎");
        AnswerModal<DailyUpdateDialog>([&](DailyUpdateDialog* dialog) {
            ASSERT_TRUE(TakesTheKeyboard(dialog));
            ExpectEveryCommandHasAKey(dialog);
            acknowledge();
            Key(Qt::Key_Return);  // 更新
        });
        Key(Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(TakesTheKeyboard(form));
        Key(Qt::Key_Escape);  // 終了
    });
    RegisterMenuItem("DailyWagesItem");
    ASSERT_TRUE(TakesTheKeyboard(&main));  // back from the closed form

    AnswerModal<TInputT>([&](TInputT* form) {
        ASSERT_TRUE(TakesTheKeyboard(form));
        ExpectEveryCommandHasAKey(form);
        Type("2");
        Key(Qt::Key_Return);
        Type("鈴木花子");
        acknowledge();
        Key(Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(TakesTheKeyboard(form));
        Key(Qt::Key_Escape);
    });
    RegisterMenuItem("TimeWagesItem");

    EXPECT_EQ(told, QStringList({"登録完了", "登録完了", "登録完了"}));
    const DataFiles files = AssignDataFiles(folder.Path().toStdString());
    EXPECT_EQ(LookupEmployee(files, "001", "").WagesCode, 1002);
    EXPECT_EQ(FindEmployeeName(files, "001", kBothSchemes), "山田一郎");
    EXPECT_EQ(LookupEmployee(files, "002", "").WagesCode, 2001);
    EXPECT_EQ(FindEmployeeName(files, "002", kBothSchemes), "鈴木花子");
}

TEST(RegistrationRoad, CancellingTheComparisonKeepsTheFiles) {
    ProgramFolder folder;
    MainWindow main(folder.Path());
    QString told, cancelled;
    std::string before, after;
    const DataFiles files = AssignDataFiles(folder.Path().toStdString());
    auto masters = [&files] {
        std::string all;
        for (const std::string& path : {files.NameFile, files.TimeWagesFile}) {
            const Bytes bytes = files.fs->ReadAll(path);
            all += std::string(bytes.begin(), bytes.end()) + "|";
        }
        return all;
    };
    AnswerModal<TInputT>([&](TInputT* form) {
        TypeIdAndName(form, "7", "鈴木");
        RegisterAndAcknowledge(form, &told);
        before = masters();
        Find<QLineEdit>(form, "NameEdit")->setText("鈴木一郎");
        AnswerModal<HourlyUpdateDialog>([&](HourlyUpdateDialog* dialog) {
            EXPECT_EQ(dialog->Grid()->item(1, 2)->text(), "鈴木一郎");
            AnswerModal<QMessageBox>([&](QMessageBox* box) {
                cancelled = box->text();
                ClickButton(box, "はい(&Y)");
            });
            dialog->close();
        });
        Find<TPanelButton>(form, "PanelButton1")->click();
        after = masters();
        Find<TPanelButton>(form, "PanelButton2")->click();
    });
    main.RegisterHourlyClicked();
    EXPECT_EQ(told, "登録完了");
    EXPECT_EQ(cancelled, "従業員データの登録を中止します。");
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace pb::test
