#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPixmap>

#include "gui/shared/Images.h"

namespace pb {
namespace {

namespace drawn {
#include "gui/resources/images/1_ICON.xpm"
#include "gui/resources/images/2_ICON.xpm"
#include "gui/resources/images/Calc.xpm"
#include "gui/resources/images/Cancel.xpm"
#include "gui/resources/images/DailyWages.xpm"
#include "gui/resources/images/Delete.xpm"
#include "gui/resources/images/Erase.xpm"
#include "gui/resources/images/Exit.xpm"
#include "gui/resources/images/Input.xpm"
#include "gui/resources/images/Print.xpm"
#include "gui/resources/images/Punchbook.xpm"
#include "gui/resources/images/Restore.xpm"
#include "gui/resources/images/Salarium.xpm"
#include "gui/resources/images/Save.xpm"
#include "gui/resources/images/Settings.xpm"
#include "gui/resources/images/Start.xpm"
#include "gui/resources/images/TimeWages.xpm"
#include "gui/resources/images/View.xpm"
}  // namespace drawn

TEST(Images, EveryPictureIsCompiledInAtItsDrawnSizeAndNeedsNoImagePlugin) {
    const struct {
        const char* name;
        QSize size;
    } glyphs[] = {
        {"Exit", {32, 16}},      {"DailyWages", {32, 16}}, {"TimeWages", {32, 16}},
        {"Input", {32, 16}},     {"Settings", {32, 16}},   {"View", {32, 16}},
        {"Start", {32, 16}},     {"Delete", {32, 16}},     {"Calc", {32, 16}},
        {"Print", {32, 16}},     {"Save", {32, 16}},       {"Erase", {32, 16}},
        {"Restore", {32, 16}},   {"Cancel", {32, 16}},     {"Salarium", {64, 32}},
        {"Punchbook", {64, 64}},
    };
    for (const auto& g : glyphs)
        EXPECT_EQ(Glyph(QString::fromLatin1(g.name)).size(), g.size) << g.name;
    EXPECT_EQ(NamedIcon(QStringLiteral("1_ICON")).size(), QSize(32, 32));
    EXPECT_EQ(NamedIcon(QStringLiteral("2_ICON")).size(), QSize(32, 32));
    EXPECT_NE(NamedIcon(QStringLiteral("1_ICON")).toImage(),
              NamedIcon(QStringLiteral("2_ICON")).toImage());
    EXPECT_EQ(ApplicationIcon().toImage(), Glyph(QStringLiteral("Punchbook")).toImage());
    EXPECT_TRUE(Glyph(QStringLiteral("Nothing")).isNull());
    EXPECT_TRUE(NamedIcon(QStringLiteral("Exit")).isNull());

    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    EXPECT_FALSE(maps.readAll().contains("/imageformats/"));
}

// The program reads its own pictures itself; each must come out as Qt's XPM
// reader reads it, pixel for pixel and with the same transparency.
TEST(Images, EveryPictureReadsAsQtsOwnReaderReadsIt) {
    const struct {
        const char* name;
        const char* const* xpm;
    } pictures[] = {
        {"1_ICON", drawn::icon1_xpm},
        {"2_ICON", drawn::icon2_xpm},
        {"Calc", drawn::calc_xpm},
        {"Cancel", drawn::cancel_xpm},
        {"DailyWages", drawn::dailywages_xpm},
        {"Delete", drawn::delete_xpm},
        {"Erase", drawn::erase_xpm},
        {"Exit", drawn::exit_xpm},
        {"Input", drawn::input_xpm},
        {"Print", drawn::print_xpm},
        {"Punchbook", drawn::punchbook_xpm},
        {"Restore", drawn::restore_xpm},
        {"Salarium", drawn::salarium_xpm},
        {"Save", drawn::save_xpm},
        {"Settings", drawn::settings_xpm},
        {"Start", drawn::start_xpm},
        {"TimeWages", drawn::timewages_xpm},
        {"View", drawn::view_xpm},
    };
    for (const auto& p : pictures) {
        const QString name = QString::fromLatin1(p.name);
        const QPixmap read = name.endsWith(QStringLiteral("_ICON")) ? NamedIcon(name) : Glyph(name);
        const QImage expected = QPixmap::fromImage(QImage(p.xpm)).toImage();
        EXPECT_EQ(read.hasAlphaChannel(), expected.hasAlphaChannel()) << p.name;
        EXPECT_EQ(read.toImage().convertToFormat(QImage::Format_ARGB32),
                  expected.convertToFormat(QImage::Format_ARGB32))
            << p.name;
    }
}

}  // namespace
}  // namespace pb
