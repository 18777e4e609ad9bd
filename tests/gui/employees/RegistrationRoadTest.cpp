// The road of a new user: from the main window's 登録 commands through the
// registration forms and the comparison dialog, back to refreshed lists.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "../app/ProgramFolder.h"
#include "core/store/EmployeeFiles.h"
#include "gui/app/MainFrom.h"
#include "gui/controls/NumEdit.h"
#include "gui/controls/Pbutton.h"
#include "gui/employees/InputDailyWages.h"
#include "gui/employees/InputTimeWages.h"
#include "gui/employees/ReNewDlgDailyWagse.h"
#include "gui/employees/ReNewDlgTimeWagse.h"
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
    TMainFrom main(folder.Path());
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
        AnswerModal<TReNewDlgD>([&](TReNewDlgD* dialog) {
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
    main.PanelButton1Click();
    EXPECT_EQ(first, "登録完了");
    EXPECT_EQ(comparedRow, "¥1,250");
    EXPECT_EQ(second, "登録完了");

    AnswerModal<TInputT>([&](TInputT* form) {
        TypeIdAndName(form, "2", "鈴木花子");
        RegisterAndAcknowledge(form, &hourlyTold);
        Find<TPanelButton>(form, "PanelButton2")->click();
    });
    main.PanelButton2Click();
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

TEST(RegistrationRoad, CancellingTheComparisonKeepsTheFiles) {
    ProgramFolder folder;
    TMainFrom main(folder.Path());
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
        AnswerModal<TReNewDlgT>([&](TReNewDlgT* dialog) {
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
    main.PanelButton2Click();
    EXPECT_EQ(told, "登録完了");
    EXPECT_EQ(cancelled, "従業員データの登録を中止します。");
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace pb::test
