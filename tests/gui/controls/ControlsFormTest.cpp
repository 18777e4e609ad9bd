// A small form with every control, as the program's windows use them. Under a
// real display it can be kept on screen to be looked at:
//   PUNCHBOOK_SHOW_SECONDS=20 QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/gui_tests --gtest_filter='ControlsForm.*'
// and PUNCHBOOK_SAVE_PNG=file.png saves what it drew.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>

#include "gui/controls/Label3D.h"
#include "gui/controls/NumEdit.h"
#include "gui/controls/Pbutton.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

void SubstituteJapaneseFonts() {
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"),
                               {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")});
}

QFont JapaneseFont(const char* family, int pixels, bool bold = false, bool italic = false) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// A two-picture strip on the olive background, as the forms' glyphs are.
QPixmap GlyphStrip(const QColor& ink) {
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(TPanelButton::kDefaultTransparentColor));
    QPainter painter(&image);
    painter.setPen(QPen(ink, 2));
    painter.drawRect(3, 3, 9, 9);
    painter.fillRect(16 + 4, 4, 8, 8, Qt::gray);
    painter.end();
    return QPixmap::fromImage(image);
}

struct Form {
    QWidget window;
    TLabel3D* title;
    TLabel3D* version;
    TPanelButton* buttons[3];
    TNumEdit* money;
    TNumEdit* closingDay;
};

void Build(Form& form) {
    form.window.resize(420, 250);
    form.window.setWindowTitle(QStringLiteral("コントロール"));
    const QColor pale(0xFF, 0xFF, 0xC0);

    form.title = new TLabel3D(&form.window);
    form.title->setObjectName(QStringLiteral("Label3D1"));
    form.title->setGeometry(16, 12, 300, 48);
    form.title->setColor(QColor(0x00, 0x00, 0x80));
    form.title->setFont(JapaneseFont("ＭＳ 明朝", 37, true));
    form.title->setFontColor(pale);
    form.title->setCaption(QStringLiteral("Punchbook 勤怠"));

    form.version = new TLabel3D(&form.window);
    form.version->setObjectName(QStringLiteral("Label3D2"));
    form.version->setGeometry(16, 62, 300, 26);
    form.version->setColor(QColor(0x00, 0x00, 0x80));
    form.version->setFont(JapaneseFont("ＭＳ 明朝", 19, true, true));
    form.version->setFontColor(pale);
    form.version->setCaption(QStringLiteral("Ver 2.0 タイムカード"));

    const char* captions[] = {"登録", "終了", "開始"};
    const QColor inks[] = {Qt::blue, Qt::red, Qt::darkGreen};
    for (int i = 0; i < 3; ++i) {
        auto* button = new TPanelButton(&form.window);
        button->setObjectName(QStringLiteral("PanelButton%1").arg(i + 1));
        button->setAccessibleDescription(button->objectName());
        button->setGeometry(16 + i * 70, 100, 64, 44);
        button->setFont(JapaneseFont("ＭＳ Ｐゴシック", 12));
        button->setCaption(QString::fromUtf8(captions[i]));
        button->setHint(QString::fromUtf8(captions[i]) + QStringLiteral("します"));
        button->setGlyph(GlyphStrip(inks[i]));
        button->setButtonLayout(blGlyphTop);
        button->setSpacing(4);
        form.buttons[i] = button;
    }

    form.money = new TNumEdit(&form.window);
    form.money->setObjectName(QStringLiteral("NumEdit1"));
    form.money->setGeometry(16, 160, 140, 24);
    form.money->setFont(JapaneseFont("ＭＳ ゴシック", 14));
    form.money->setCanNegative(false);
    form.money->setLeadingChar('\x5C');
    form.money->setZeroDisplay(true);
    form.money->setMaxDegits(5);
    form.money->setValue(32000);

    form.closingDay = new TNumEdit(&form.window);
    form.closingDay->setObjectName(QStringLiteral("NumEdit2"));
    form.closingDay->setGeometry(16, 196, 140, 24);
    form.closingDay->setFont(JapaneseFont("ＭＳ ゴシック", 14));
    form.closingDay->setValue(-1234567);
}

TEST(ControlsForm, JapaneseCaptionsRenderInTheSubstitutedFonts) {
    SubstituteJapaneseFonts();
    Form form;
    Build(form);

    // Where the IPA fonts are installed the substitutions must reach them.
    const QStringList families = QFontDatabase::families();
    if (families.contains(QStringLiteral("IPAGothic"))) {
        EXPECT_EQ(QFontInfo(form.money->font()).family(), QStringLiteral("IPAGothic"));
        EXPECT_EQ(QFontInfo(form.buttons[0]->font()).family(), QStringLiteral("IPAPGothic"));
        EXPECT_EQ(QFontInfo(form.title->font()).family(), QStringLiteral("IPAMincho"));
    }
    EXPECT_EQ(form.money->text(), QStringLiteral("¥32,000"));

    if (const char* seconds = std::getenv("PUNCHBOOK_SHOW_SECONDS")) {
        form.window.show();
        test::ProcessEvents(200);
        form.buttons[1]->setBevelInner(bvRaised);   // as under the mouse
        form.buttons[2]->setBevelInner(bvLowered);  // as while pressed
        test::ProcessEvents(std::atoi(seconds) * 1000);
    }
    const QImage image = form.window.grab().toImage();
    if (const char* png = std::getenv("PUNCHBOOK_SAVE_PNG"))
        image.save(QString::fromUtf8(png));
    EXPECT_EQ(image.size(), QSize(420, 250));
}

}  // namespace
}  // namespace pb
