#include "gui/controls/Label3D.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QImage>
#include <QSet>

#include "support/GuiTestSupport.h"

namespace pb {
namespace {

const QColor kBackground(0, 128, 0);

// Pixels of exactly `colour`; the font is drawn without antialiasing so every
// text pixel is either the pen or the background.
QSet<std::pair<int, int>> PixelsOf(const QImage& image, const QColor& colour) {
    QSet<std::pair<int, int>> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                found.insert({x, y});
    return found;
}

void MakeCrisp(TLabel3D& label, int pixelSize) {
    QFont font = label.font();
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    label.setColor(kBackground);
}

TEST(Label3D, StartsWithDefaults) {
    TLabel3D label;
    EXPECT_EQ(label.size(), QSize(96, 24));
    EXPECT_EQ(label.diff(), 2);
    EXPECT_EQ(label.backColor(), QColor(Qt::black));
    EXPECT_EQ(label.fontColor(), QColor(Qt::white));
    EXPECT_EQ(label.font().pixelSize(), 22);
    EXPECT_TRUE(label.caption().isEmpty());
}

TEST(Label3D, TextRectanglesFollowDiff) {
    struct Case {
        QSize size;
        int diff;
        QRect caption, shadow;
    };
    const Case cases[] = {
        {{200, 50}, 2, QRect(QPoint(2, 2), QPoint(197, 47)), QRect(QPoint(4, 4), QPoint(199, 49))},
        {{200, 50}, 0, QRect(0, 0, 200, 50), QRect(0, 0, 200, 50)},
        {{100, 30}, 5, QRect(QPoint(5, 5), QPoint(94, 24)), QRect(QPoint(10, 10), QPoint(99, 29))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.diff);
        TLabel3D label;
        label.resize(c.size);
        label.setDiff(c.diff);
        EXPECT_EQ(label.captionRect(), c.caption);
        EXPECT_EQ(label.shadowRect(), c.shadow);
    }
}

TEST(Label3D, ShadowIsTheCaptionShiftedByDiff) {
    for (int diff : {1, 2, 4}) {
        SCOPED_TRACE(diff);
        TLabel3D label;
        label.resize(120, 60);
        MakeCrisp(label, 14);
        label.setDiff(diff);
        // Long enough to wrap onto several lines, with a tab to expand.
        label.setCaption(QStringLiteral("Punchbook\tVer 2.0 タイムカード 登録 削除 終了"));

        // A see-through pen leaves the other drawing alone.
        label.setBackColor(Qt::transparent);  // caption alone
        const auto caption = PixelsOf(label.grab().toImage(), Qt::white);
        label.setBackColor(Qt::black);
        label.setFontColor(Qt::transparent);  // shadow alone
        const auto shadow = PixelsOf(label.grab().toImage(), Qt::black);

        ASSERT_FALSE(caption.isEmpty());
        QSet<std::pair<int, int>> shifted;
        int lowest = 0;
        for (auto [x, y] : caption) {
            shifted.insert({x + diff, y + diff});
            lowest = std::max(lowest, y);
        }
        EXPECT_EQ(shadow, shifted);
        EXPECT_GT(lowest, 14 + diff) << "caption did not wrap";
        for (auto [x, y] : caption) {
            EXPECT_GE(x, diff);
            EXPECT_LT(x, 120 - diff);
            EXPECT_LT(y, 60 - diff);
        }
    }
}

TEST(Label3D, DiffZeroShowsOnlyTheCaption) {
    TLabel3D label;
    label.resize(120, 40);
    MakeCrisp(label, 18);
    label.setDiff(0);
    label.setCaption(QStringLiteral("登録"));
    const QImage image = label.grab().toImage();
    EXPECT_TRUE(PixelsOf(image, Qt::black).isEmpty());
    EXPECT_FALSE(PixelsOf(image, Qt::white).isEmpty());
    EXPECT_EQ(image.pixelColor(119, 39), kBackground);
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST(Label3D, EqualWritesDoNotRepaint) {
    TLabel3D label;
    label.show();
    test::ProcessEvents(50);
    PaintCounter counter;
    label.installEventFilter(&counter);

    label.setDiff(2);
    label.setBackColor(Qt::black);
    label.setCaption(QString());
    test::ProcessEvents(50);
    EXPECT_EQ(counter.paints, 0);

    label.setDiff(3);
    test::ProcessEvents(50);
    EXPECT_GE(counter.paints, 1);
    counter.paints = 0;
    label.setBackColor(Qt::red);
    test::ProcessEvents(50);
    EXPECT_GE(counter.paints, 1);
}

}  // namespace
}  // namespace pb
