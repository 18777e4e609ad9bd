#include <gtest/gtest.h>

#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "core/store/Records.h"
#include "gui/overview/MonthOverviewW.h"
#include "gui/print/PrintDailyW.h"
#include "support/GuiTestSupport.h"
#include "timecard/EntryFixture.h"

namespace pb {
namespace {

using test::EntryFolder;

OverviewContext ContextOf(EntryFolder& folder, const QString& saveAs = {}) {
    return {folder.Files(), folder.CurrentSettings(), *folder.Files().fs, RealFileSystem(),
            [saveAs](QWidget*, const QString&, const QString&) { return saveAs; }};
}

QString Text(TMonthOverview& overview, int row, int column) {
    auto* grid = test::Find<QTableView>(overview, "OverviewGrid");
    return grid->model()->index(row, column).data().toString();
}

// The overview of a month nobody has saved yet takes the save of an entry
// window without being told, and Enter on a row asks for that month.
TEST(MonthOverviewW, FollowsASaveAndOpensTheMonthOnEnter) {
    EntryFolder folder;
    TMonthOverview overview(ContextOf(folder), PayScheme::Daily, 1999, 4);
    auto* count = test::Find<QLabel>(overview, "CountLabel");
    EXPECT_EQ(count->text(), "0 / 1 記録済み");
    EXPECT_EQ(Text(overview, 0, 2), "未記録");

    auto window = folder.Open("001", 1999, 4, true);
    test::ClickCell(*window, 1, 2);
    test::TypeKeys(*window, "0410");
    test::ClickCell(*window, 2, 2);
    test::TypeKeys(*window, "2340");
    test::Press(*window, "SavePB");
    QTRY_COMPARE_WITH_TIMEOUT(count->text(), QString("1 / 1 記録済み"), 3000);
    EXPECT_EQ(Text(overview, 0, 2), "記録済み");
    EXPECT_EQ(Text(overview, 0, 9), "10:30");  // 総残業時間, as the entry window saved it

    QSignalSpy wanted(&overview, &TMonthOverview::monthWanted);
    auto* grid = test::Find<QTableView>(overview, "OverviewGrid");
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(wanted.size(), 1);
    EXPECT_EQ(wanted[0][0].value<PayScheme>(), PayScheme::Daily);
    EXPECT_EQ(wanted[0].mid(1), (QVariantList{QString("001"), 1999, 4}));
}

// Three stored months go on three pages of one PDF, the month that cannot be
// opened is named before, and the preview pages through the three.
TEST(MonthOverviewW, PrintsEveryStoredMonthOnAPageOfItsOwn) {
    EntryFolder folder;
    for (const char* id : {"003", "004", "005"})
        folder.AddDaily(id, std::string("社員 ") + id, test::DailyRecord(7));
    for (const char* id : {"003", "004", "005"}) {
        MonthRecord month;
        month.ID = id;
        month.PayScheme = 1;
        month.Month = 3;
        month.DayCount = id == std::string("004") ? 40 : 31;  // 004: no form writes that
        month.Cells[0][1] = "07:00";
        month.Cells[1][1] = "19:00";
        folder.Append("1999_fv2.pbk", ToBytes(month));
    }
    QTemporaryDir out;
    const QString pdf = out.filePath("all.pdf");
    TMonthOverview overview(ContextOf(folder, pdf), PayScheme::Daily, 1999, 3);
    EXPECT_EQ(test::Find<QLabel>(overview, "CountLabel")->text(), "4 / 4 記録済み");

    test::ScriptedMessages boxes;
    test::Click(overview, "PdfPB");
    const QStringList shown = boxes.Take();
    ASSERT_EQ(shown.size(), 2) << shown.join("\n").toStdString();
    EXPECT_TRUE(shown[0].contains("004 社員 004:")) << shown[0].toStdString();
    EXPECT_TRUE(shown[1].contains("3 人分")) << shown[1].toStdString();
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_EQ(QRegularExpression(R"(Pages:\s+(\d+))").match(text).captured(1), "3")
        << text.toStdString();

    QStringList pages;
    test::AnswerNextModal([&](QWidget* modal) {
        auto* preview = qobject_cast<TPrintD*>(modal);
        ASSERT_NE(preview, nullptr);
        for (int page = 0; page < 3; ++page) {
            pages << test::Find<QLabel>(preview, "PageLabel")->text() + " " +
                         test::Find<QLabel>(preview, "Label1")->text().section(" 殿分", 0, 0);
            test::Click(preview, "NextPB");
        }
        preview->reject();
    });
    test::Click(overview, "PrintPB");
    EXPECT_EQ(pages, (QStringList{"1 / 3 ソ表 太郎", "2 / 3 社員 003", "3 / 3 社員 005"}));
}

}  // namespace
}  // namespace pb
