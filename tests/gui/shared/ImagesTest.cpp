#include <gtest/gtest.h>

#include <QFile>

#include "gui/shared/Images.h"

namespace pb {
namespace {

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

}  // namespace
}  // namespace pb
