#include "gui/controls/Pbutton.h"
#include "gui/shared/Images.h"
#include "gui/shared/PanelButtons.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "support/GuiTestSupport.h"

namespace pb {
namespace {

const QColor kFace(0xC0, 0xC0, 0xC0);
const QColor kOlive = QColor::fromRgb(TPanelButton::kDefaultTransparentColor);

// A strip of `count` pictures of `cell` pixels on the olive background; picture
// i carries a 4x4 square of colours[i] at (6, 6).
QPixmap Strip(QSize cell, const std::vector<QColor>& colours) {
    QImage image(cell.width() * static_cast<int>(colours.size()), cell.height(),
                 QImage::Format_RGB32);
    image.fill(kOlive);
    QPainter painter(&image);
    for (size_t i = 0; i < colours.size(); ++i)
        painter.fillRect(static_cast<int>(i) * cell.width() + 6, 6, 4, 4, colours[i]);
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap Plain(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return QPixmap::fromImage(image);
}

TEST(PanelButton, GlyphWriteDerivesStripProperties) {
    struct Case {
        int w, h;
        int numGlyphsBefore, positionBefore;
        int numGlyphs, position;
    };
    const Case cases[] = {
        {32, 16, 1, 1, 2, 1},  // the forms' two-picture strips
        {48, 16, 1, 2, 3, 2},  // position is left alone when the strip divides evenly
        {80, 16, 2, 3, 1, 3},  // five pictures is more than a strip may hold
        {20, 16, 2, 3, 1, 1},  // not a strip: one picture, the first
        {32, 32, 2, 2, 1, 2},  // the single 32x32 picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        TPanelButton button;
        button.setNumGlyphs(c.numGlyphsBefore);
        button.setGlyphPosition(c.positionBefore);
        button.setMargin(7);
        QImage image(c.w, c.h, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixelColor(0, c.h - 1, QColor(0x12, 0x34, 0x56));
        button.setGlyph(QPixmap::fromImage(image));
        EXPECT_EQ(button.numGlyphs(), c.numGlyphs);
        EXPECT_EQ(button.glyphPosition(), c.position);
        EXPECT_EQ(button.margin(), -1);
        EXPECT_EQ(button.spacing(), 4);
        EXPECT_EQ(button.transparentColor(), QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(button.glyph().size(), QSize(c.w, c.h));
    }
}

TEST(PanelButton, EmptyGlyphOnlyClearsSpacing) {
    TPanelButton button;
    EXPECT_EQ(button.transparentColor(), kOlive);
    button.setGlyph(Strip({16, 16}, {Qt::red, Qt::blue, Qt::green}));
    button.setMargin(7);
    button.setGlyph(QPixmap());
    EXPECT_TRUE(button.glyph().isNull());
    EXPECT_EQ(button.spacing(), 0);
    EXPECT_EQ(button.margin(), 7);
    EXPECT_EQ(button.numGlyphs(), 3);
}

TEST(PanelButton, OutOfRangeGlyphCountsAreIgnored) {
    TPanelButton button;
    button.setNumGlyphs(2);
    button.setGlyphPosition(2);
    for (int bad : {0, -1, 5}) {
        button.setNumGlyphs(bad);
        button.setGlyphPosition(bad);
    }
    EXPECT_EQ(button.numGlyphs(), 2);
    EXPECT_EQ(button.glyphPosition(), 2);
}

TEST(PanelButton, PlacementByLayout) {
    struct Case {
        const char* name;
        QSize button, cell, text;
        TButtonLayout layout;
        int margin, spacing;
        QPoint glyph, caption;
    };
    const Case cases[] = {
        {"top, centred", {60, 40}, {16, 16}, {24, 12}, blGlyphTop, -1, 4, {22, 4}, {18, 24}},
        {"left, margin 5", {60, 40}, {16, 16}, {24, 12}, blGlyphLeft, 5, 4, {5, 12}, {25, 14}},
        {"left, margin 5, wide",
         {300, 40},
         {16, 16},
         {24, 12},
         blGlyphLeft,
         5,
         4,
         {5, 12},
         {25, 14}},
        {"left, no glyph", {61, 40}, {0, 0}, {24, 12}, blGlyphLeft, -1, 4, {16, 20}, {20, 14}},
        {"right, centred", {60, 40}, {16, 16}, {24, 12}, blGlyphRight, -1, 4, {36, 12}, {8, 14}},
        {"right, margin 3", {60, 40}, {16, 16}, {24, 12}, blGlyphRight, 3, 4, {31, 12}, {3, 14}},
        {"bottom, centred", {60, 40}, {16, 16}, {24, 12}, blGlyphBottom, -1, 4, {22, 20}, {18, 4}},
        {"bottom, margin 2", {60, 40}, {16, 16}, {24, 12}, blGlyphBottom, 2, 4, {22, 18}, {18, 2}},
        {"centre ignores margin",
         {60, 40},
         {16, 16},
         {24, 12},
         blGlyphCenter,
         5,
         4,
         {22, 12},
         {18, 14}},
        // Halves of negative odd numbers truncate toward zero, not down.
        {"caption wider than button",
         {20, 21},
         {16, 16},
         {31, 12},
         blGlyphLeft,
         -1,
         4,
         {-15, 2},
         {5, 4}},
        {"top, too short", {20, 21}, {16, 16}, {9, 12}, blGlyphTop, -1, 4, {2, -5}, {5, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto p =
            TPanelButton::ComputePlacement(c.button, c.cell, c.text, c.layout, c.margin, c.spacing);
        EXPECT_EQ(p.glyph, c.glyph);
        EXPECT_EQ(p.text, c.caption);
    }
}

// Everything on the face that is not face colour must lie in the glyph cell or
// in the caption's box.
void ExpectInkOnlyIn(const QImage& image, const QRect& glyph, const QRect& text) {
    int outside = 0, inText = 0;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x) {
            if (image.pixelColor(x, y) == kFace)
                continue;
            if (text.contains(x, y))
                ++inText;
            else if (!glyph.contains(x, y))
                ++outside;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inText, 0) << "caption not drawn";
}

TEST(PanelButton, RendersGlyphCellWithTransparentFace) {
    TPanelButton button;
    button.resize(60, 40);
    button.setColor(kFace);
    button.setFontColor(Qt::black);
    button.setCaption(QStringLiteral("登録"));
    button.setGlyph(Strip({16, 16}, {Qt::red, Qt::blue}));
    button.setButtonLayout(blGlyphTop);

    for (int position : {1, 2}) {
        SCOPED_TRACE(position);
        button.setGlyphPosition(position);
        const QImage image = button.grab().toImage();
        const auto p = button.placement();
        const QRect cell(p.glyph, QSize(16, 16));
        const QColor mark = position == 1 ? QColor(Qt::red) : QColor(Qt::blue);
        const QColor other = position == 1 ? QColor(Qt::blue) : QColor(Qt::red);
        int marks = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                EXPECT_NE(c, kOlive) << x << "," << y;
                EXPECT_NE(c, other) << x << "," << y;
                if (c == mark)
                    ++marks;
            }
        }
        EXPECT_EQ(marks, 16);
        EXPECT_EQ(image.pixelColor(p.glyph + QPoint(6, 6)), mark);
        const QFontMetrics fm(button.font());
        const QRect text(p.text, QSize(fm.horizontalAdvance(button.caption()), fm.height()));
        ExpectInkOnlyIn(image, cell, text);
    }
}

TEST(PanelButton, MarginPlacesGlyphFromTheLeftEdge) {
    TPanelButton button;
    button.resize(120, 30);
    button.setColor(kFace);
    button.setCaption(QStringLiteral("終了"));
    button.loadGlyph(Plain(16, 16, Qt::red));  // no olive: the whole cell shows
    button.setSpacing(4);
    button.setMargin(5);
    const QImage image = button.grab().toImage();
    const QFontMetrics fm(button.font());
    EXPECT_EQ(image.pixelColor(4, 15), kFace);
    EXPECT_EQ(image.pixelColor(5, 15), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(20, 15), QColor(Qt::red));
    EXPECT_EQ(button.placement().text.x(), 5 + 16 + 4);
    ExpectInkOnlyIn(
        image, QRect(5, 7, 16, 16),
        QRect(button.placement().text, QSize(fm.horizontalAdvance(button.caption()), fm.height())));
}

TEST(PanelButton, HugeCaptionIsClippedWithoutFailing) {
    TPanelButton button;
    button.resize(20, 12);
    button.setCaption(QString(200, QChar(0x767B)));
    button.loadGlyph(Plain(64, 64, Qt::red));
    EXPECT_LT(button.placement().glyph.x(), 0);
    EXPECT_EQ(button.grab().size(), QSize(20, 12));
}

// Bevel state machine.

void SendEnter(QWidget* w) {
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &event);
}
void SendLeave(QWidget* w) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}
void SendFocus(QWidget* w, bool in) {
    QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &event);
}

TEST(PanelButton, BevelFollowsMouseAndFocus) {
    struct Step {
        const char* what;
        TBevelCut bvCtrlOn, bvCtrlOff;
    };
    const Step steps[] = {
        {"loaded", bvNone, bvRaised},    {"enter", bvRaised, bvRaised},
        {"press", bvLowered, bvLowered}, {"release", bvRaised, bvRaised},
        {"leave", bvNone, bvRaised},     {"focus in", bvRaised, bvRaised},
        {"focus out", bvNone, bvRaised}, {"press", bvLowered, bvLowered},
        {"release", bvRaised, bvRaised},
    };
    for (bool bvCtrl : {true, false}) {
        TPanelButton button;
        button.resize(60, 40);
        button.setBvCtrl(bvCtrl);
        QSignalSpy enters(&button, &TPanelButton::mouseEnter);
        QSignalSpy exits(&button, &TPanelButton::mouseExit);
        QSignalSpy focusIns(&button, &TPanelButton::enter);
        QSignalSpy focusOuts(&button, &TPanelButton::exit);
        for (const Step& step : steps) {
            const std::string what = step.what;
            SCOPED_TRACE(testing::Message() << "BvCtrl " << bvCtrl << ", " << what);
            if (what == "loaded")
                button.ensurePolished();
            if (what == "enter")
                SendEnter(&button);
            if (what == "leave")
                SendLeave(&button);
            if (what == "focus in")
                SendFocus(&button, true);
            if (what == "focus out")
                SendFocus(&button, false);
            if (what == "press")
                QTest::mousePress(&button, Qt::RightButton, {}, {10, 10});
            if (what == "release")
                QTest::mouseRelease(&button, Qt::RightButton, {}, {10, 10});
            EXPECT_EQ(button.bevelInner(), bvCtrl ? step.bvCtrlOn : step.bvCtrlOff);
            EXPECT_EQ(button.bevelOuter(), bvNone);
        }
        EXPECT_EQ(enters.count(), 1);
        EXPECT_EQ(exits.count(), 1);
        EXPECT_EQ(focusIns.count(), 1);
        EXPECT_EQ(focusOuts.count(), 1);
    }
}

// Every window makes its panel buttons one way: named for tests and screen
// readers, the picture's two states taken from the strip, and flat again when
// the mouse lets go, even after a release that was no click.
TEST(PanelButton, TheWindowsButtonsAreNamedAndTurnFlatWhenReleased) {
    QWidget window;
    TPanelButton* button =
        MakePanelButton(&window, "PanelButton7", "開始", Glyph("Start"), "開始する");
    button->resize(48, 40);
    EXPECT_EQ(button->objectName(), "PanelButton7");
    EXPECT_EQ(button->accessibleDescription(), "PanelButton7");
    EXPECT_EQ(button->hint(), "開始する");
    EXPECT_EQ(button->numGlyphs(), 2);
    EXPECT_EQ(button->buttonLayout(), blGlyphTop);
    QTest::mouseClick(button, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(button->bevelInner(), bvNone);
    QTest::mouseRelease(button, Qt::RightButton, {}, {10, 10});
    EXPECT_EQ(button->bevelInner(), bvNone);
}

TEST(PanelButton, ClickRunsWhileTheFaceIsLowered) {
    TPanelButton button;
    button.resize(60, 40);
    std::vector<std::string> order;
    QObject::connect(&button, &TPanelButton::clicked, [&] {
        order.push_back(button.bevelInner() == bvLowered ? "click lowered" : "click");
    });
    QObject::connect(&button, &TPanelButton::mouseUp,
                     [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
                         order.push_back(button.bevelInner() == bvRaised ? "up raised" : "up");
                         button.setBevelInner(bvNone);  // what the forms' mouse-up handlers do
                     });
    QTest::mouseClick(&button, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(order, (std::vector<std::string>{"click lowered", "up raised"}));
    EXPECT_EQ(button.bevelInner(), bvNone);

    // Released outside, or with another button: no click.
    order.clear();
    QTest::mousePress(&button, Qt::LeftButton, {}, {10, 10});
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {70, 10});
    QTest::mouseClick(&button, Qt::RightButton, {}, {10, 10});
    EXPECT_EQ(order, (std::vector<std::string>{"up raised", "up raised"}));
}

TEST(PanelButton, DisabledButtonDoesNotSink) {
    TPanelButton button;
    button.resize(60, 40);
    button.setColor(kFace);
    button.ensurePolished();
    button.setEnabled(false);
    QSignalSpy clicks(&button, &TPanelButton::clicked);
    QTest::mousePress(&button, Qt::LeftButton, {}, {10, 10});
    EXPECT_NE(button.bevelInner(), bvLowered);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button.grab().toImage().pixelColor(0, 0), kFace);
}

// How many pixels of the button are exactly `colour`, or for green (the
// antialiased caption) clearly green.
int CountPixels(TPanelButton& button, QColor colour) {
    const QImage image = button.grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            count +=
                colour == Qt::green ? p.green() - std::max(p.red(), p.blue()) > 60 : p == colour;
        }
    return count;
}

TEST(PanelButton, DisabledButtonShowsItsGreyedPictureAndCaption) {
    TPanelButton button;
    button.resize(60, 40);
    button.setColor(kFace);
    button.setFontColor(Qt::green);
    button.setCaption(QStringLiteral("削除"));
    button.setButtonLayout(blGlyphTop);
    button.setGlyph(Strip({16, 16}, {Qt::red, Qt::blue}));
    ASSERT_GT(CountPixels(button, Qt::green), 0);
    ASSERT_EQ(CountPixels(button, Qt::red), 16);

    button.setEnabled(false);
    EXPECT_EQ(CountPixels(button, Qt::red), 0) << "the enabled picture";
    EXPECT_EQ(CountPixels(button, Qt::blue), 16) << "the strip's greyed picture";
    EXPECT_EQ(CountPixels(button, Qt::green), 0) << "the enabled caption colour";
    EXPECT_EQ(button.glyphPosition(), 1) << "the form's choice stays";

    // A single picture is greyed by the button itself.
    button.setGlyph(Strip({16, 16}, {Qt::red}));
    EXPECT_EQ(CountPixels(button, Qt::red), 0);
    button.setEnabled(true);
    EXPECT_EQ(CountPixels(button, Qt::red), 16);
    EXPECT_GT(CountPixels(button, Qt::green), 0);
}

TEST(PanelButton, ShowsItsOwnHintOrNoneButNeverItsWindows) {
    QWidget window;
    window.setToolTip(QStringLiteral("1001199901"));
    auto* button = new TPanelButton(&window);
    button->resize(40, 40);
    window.show();
    QHelpEvent help(QEvent::ToolTip, {5, 5}, button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &help);
    EXPECT_NE(QToolTip::text(), QStringLiteral("1001199901"));
    button->setHint(QStringLiteral("印刷開始"));
    QApplication::sendEvent(button, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("印刷開始"));
    QToolTip::hideText();
}

TEST(PanelButton, RingsArePaintedByState) {
    TPanelButton button;
    button.resize(30, 20);
    button.setColor(kFace);
    button.ensurePolished();
    // Through rgb(): palette colours may carry more precision than a pixel.
    const QColor light = QColor(button.palette().color(QPalette::Light).rgb());
    const QColor dark = QColor(button.palette().color(QPalette::Dark).rgb());
    struct Case {
        TBevelCut inner, outer;
        QColor topLeft, bottomRight, secondTopLeft;
    };
    const Case cases[] = {
        {bvNone, bvNone, kFace, kFace, kFace},
        {bvRaised, bvNone, light, dark, kFace},
        {bvLowered, bvNone, dark, light, kFace},
        {bvLowered, bvRaised, light, dark, dark},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inner << "/" << c.outer);
        button.setBevelInner(c.inner);
        button.setBevelOuter(c.outer);
        const QImage image = button.grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 5), c.topLeft);
        EXPECT_EQ(image.pixelColor(5, 0), c.topLeft);
        EXPECT_EQ(image.pixelColor(29, 19), c.bottomRight);
        EXPECT_EQ(image.pixelColor(29, 0), c.bottomRight);
        EXPECT_EQ(image.pixelColor(1, 5), c.secondTopLeft);
        EXPECT_EQ(image.pixelColor(15, 10), kFace);
    }
}

TEST(PanelButton, AccessiblePressQueuesTheClick) {
    TPanelButton button;
    button.setCaption(QStringLiteral("開始"));
    QSignalSpy clicks(&button, &TPanelButton::clicked);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&button);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("開始"));
    QAccessibleActionInterface* actions = iface->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 0) << "press must not run the click inside the call";
    test::ProcessEvents();
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace pb
