// 勤務データの取り込み over the sample folder: the preview shows a differing
// day side by side, keep leaves it and replace writes it.
#include "gui/files/ImportDialog.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "app/ProgramFolder.h"
#include "core/month/MonthLoader.h"
#include "core/store/Settings.h"
#include "core/timecard/WorkPattern.h"
#include "gui/shared/Text.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

using test::Find;

struct ImportRun {
    ImportRun() {
        folder.CopySamples();
        files = AssignDataFiles(S(folder.Path()));
        settings.ProgramFolder = S(folder.Path());
        ReadSettings(RealFileSystem(), settings, 0x808080);
    }
    ImportContext Context() {
        return {files,
                settings,
                RealFileSystem(),
                RealFileSystem(),
                [](QWidget*, const QString&) { return QString(); },
                [this](const std::vector<ImportMonth>& months) {
                    for (const ImportMonth& month : months)
                        closed << Q(month.id) + QStringLiteral(" %1").arg(month.month);
                    return true;
                },
                [this](const ImportReport&) { ++written; }};
    }
    // The typed cells of 001's March 1999 as stored.
    std::vector<DayCells> March() const {
        return OpenMonth(files, settings.Calc_Set, "001", 1999, 3, true).input.cells;
    }
    QString Csv(const QByteArray& bytes) const {
        const QString path = out.filePath(QStringLiteral("clock.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    test::ProgramFolder folder;
    QTemporaryDir out;
    DataFiles files;
    Settings settings;
    QStringList closed;
    int written = 0;
};

TEST(ImportDialog, ThePreviewShowsTheDifferingDayAndTheChoiceDecidesItsTimes) {
    ImportRun run;
    const OpenedMonth march = OpenMonth(run.files, run.settings.Calc_Set, "001", 1999, 3, true);
    std::size_t row = 0;
    while (row < march.input.cells.size() && march.input.cells[row][kClockInColumn].empty())
        ++row;
    ASSERT_LT(row, march.input.cells.size());
    const PayDay date = march.input.period[row];
    const std::string storedIn = march.input.cells[row][kClockInColumn];
    ASSERT_NE(storedIn, "05:55");
    const QByteArray csv =
        QStringLiteral("番号,日付,出社,退社\n1,%1/%2/%3,5:55,%4\n1,1999/13/40,9:00,18:00\n")
            .arg(date.year)
            .arg(date.month)
            .arg(date.day)
            .arg(Q(march.input.cells[row][kClockOutColumn]))
            .toUtf8();
    const QString path = run.Csv(csv);

    test::ScriptedMessages boxes;
    {
        TImportD dialog(run.Context(), {});
        ASSERT_TRUE(dialog.LoadFile(path));
        const int layout[] = {1, 2, 3, 4, 0, 0};
        const char* names[] = {"IdColumnSE",       "DateColumnSE",       "ClockInColumnSE",
                               "ClockOutColumnSE", "BreakStartColumnSE", "BreakEndColumnSE"};
        for (int i = 0; i < 6; ++i)
            Find<QSpinBox>(dialog, names[i])->setValue(layout[i]);
        ASSERT_TRUE(dialog.PreviewPBClick()) << boxes.Shown().join("|").toStdString();
        // The layout is remembered in the settings file.
        Settings reread;
        reread.ProgramFolder = run.settings.ProgramFolder;
        ReadSettings(RealFileSystem(), reread, 0x808080);
        EXPECT_EQ(reread.Import, (ClockLayout{1, 2, 3, 4, 0, 0}));

        auto* tree = Find<QTreeWidget>(dialog, "PlanTree");
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
        const QTreeWidgetItem* day = tree->topLevelItem(0)->child(0);
        EXPECT_TRUE(day->text(1).startsWith(Q(storedIn))) << day->text(1).toStdString();
        EXPECT_TRUE(day->text(2).startsWith(QStringLiteral("05:55")));
        auto* refused = Find<QListWidget>(dialog, "RefusedList");
        ASSERT_EQ(refused->count(), 1);
        EXPECT_TRUE(refused->item(0)->text().startsWith(QStringLiteral("3行目")))
            << refused->item(0)->text().toStdString();

        // Keep: nothing of the stored day changes.
        dialog.SetChoice(ImportChoice::Keep);
        boxes.Answer(Messages::Yes);  // without the refused row
        dialog.ImportPBClick();
        EXPECT_EQ(run.March()[row][kClockInColumn], storedIn);
    }

    // Replace: the file's time is stored, after the month's window was asked to close.
    boxes.Take();
    TImportD dialog(run.Context(), {});
    ASSERT_TRUE(dialog.LoadFile(path));  // the remembered layout
    ASSERT_TRUE(dialog.PreviewPBClick());
    dialog.SetChoice(ImportChoice::Replace);
    boxes.Answer(Messages::Yes);
    ASSERT_TRUE(dialog.ImportPBClick()) << boxes.Shown().join("|").toStdString();
    EXPECT_EQ(run.March()[row][kClockInColumn], "05:55");
    EXPECT_EQ(run.closed.value(0), QStringLiteral("001 3"));
    EXPECT_EQ(run.written, 1);
    EXPECT_TRUE(boxes.Shown().last().contains(QStringLiteral("取り込みました")));
    EXPECT_FALSE(dialog.ReportText().isEmpty());

    // A file that is no table is refused with a box naming why; nothing is planned.
    boxes.Take();
    EXPECT_FALSE(dialog.LoadFile(run.Csv({})));
    EXPECT_TRUE(boxes.Take().value(0).contains(QStringLiteral("取り込めません")));
}

}  // namespace
}  // namespace pb
