// The about dialog.
#include "gui/app/AboutDialog.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gui/controls/Label3D.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

using test::Find;

TEST(Versin, OpensCentredFixedAndDrawsBothNamesInThePaleColour) {
    AboutDialog dialog(QStringLiteral("/home/user/.local/share/punchbook/"));
    dialog.show();
    test::ProcessEvents();
    EXPECT_EQ(dialog.windowTitle(), "バージョン情報");
    EXPECT_EQ(dialog.size(), QSize(289, 160));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());  // not resizable
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // Centred to within the window frame, which the window system adds later.
    EXPECT_LE((dialog.geometry().center() - screenCentre).manhattanLength(), 8);

    const struct {
        const char* name;
        QString caption;
        QRect geometry;
    } labels[] = {
        {"Label3D1", "Punchbook", QRect(12, 8, 265, 41)},
        {"Label3D2", "Ver 2.0", QRect(164, 48, 85, 24)},
    };
    for (const auto& expected : labels) {
        auto* label = dialog.findChild<TLabel3D*>(expected.name);
        ASSERT_NE(label, nullptr) << expected.name;
        EXPECT_EQ(label->caption(), expected.caption);
        EXPECT_EQ(label->geometry(), expected.geometry);
        EXPECT_EQ(label->fontColor(), QColor(209, 254, 243)) << expected.name;
        EXPECT_EQ(label->backColor(), QColor(Qt::black));
        EXPECT_EQ(label->diff(), 2);
        // Painted by the label itself, the text still reaches screen readers.
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(label);
        EXPECT_EQ(spoken->role(), QAccessible::StaticText);
        EXPECT_EQ(spoken->text(QAccessible::Name), expected.caption);
    }
}

// The data folder is named for backups; a long one is shortened to fit but
// shown whole as the hint.
TEST(Versin, ShowsTheDataFolder) {
    const QString longFolder = QStringLiteral("/home/user/") + QString(40, QLatin1Char('x')) +
                               QStringLiteral("/.local/share/punchbook/");
    for (const QString& folder : {QStringLiteral("/srv/pb/"), longFolder}) {
        AboutDialog dialog(folder);
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label2"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->toolTip(), folder);
        EXPECT_TRUE(label->text().startsWith(QStringLiteral("データ: /")))
            << label->text().toStdString();
        EXPECT_LE(label->geometry().right(), dialog.width()) << label->text().toStdString();
    }
    AboutDialog shortOne(QStringLiteral("/srv/pb/"));
    EXPECT_EQ(Find<QLabel>(shortOne, QStringLiteral("Label2"))->text(),
              QStringLiteral("データ: /srv/pb/"));
}

TEST(Versin, OkClosesTheDialog) {
    AboutDialog dialog(QStringLiteral("/srv/pb/"));
    test::AnswerNextModal([](QWidget* modal) { test::ClickButton(modal, "OK"); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

}  // namespace
}  // namespace pb
