#include "gui/app/AboutDialog.h"

#include <QDir>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gui/controls/Label3D.h"
#include "gui/shared/Naming.h"

namespace pb {

AboutDialog::AboutDialog(const QString& dataFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    Name(this, QStringLiteral("TVersin"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setProperty("HelpContext", 12);
    setFixedSize(289, 160);
    // Pixel positions throughout: the dialog does not follow the system font.
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    auto* panel = new QFrame(this);
    Name(panel, QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 289, 160);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    QPalette green = panel->palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    panel->setPalette(green);

    const QColor pale = QColor::fromRgb(kTextColor);
    auto* product = new TLabel3D(panel);
    Name(product, QStringLiteral("Label3D1"));
    product->setGeometry(12, 8, 265, 41);
    QFont productFont(QStringLiteral("ＭＳ 明朝"));
    productFont.setPixelSize(37);
    productFont.setBold(true);
    product->setFont(productFont);
    product->setCaption(QStringLiteral("Punchbook"));

    auto* version = new TLabel3D(panel);
    Name(version, QStringLiteral("Label3D2"));
    version->setGeometry(164, 48, 85, 24);
    QFont versionFont(QStringLiteral("ＭＳ 明朝"));
    versionFont.setPixelSize(19);
    versionFont.setBold(true);
    versionFont.setItalic(true);
    version->setFont(versionFont);
    version->setCaption(QStringLiteral("Ver 2.0"));

    for (TLabel3D* label : {product, version}) {
        label->setBackColor(Qt::black);
        label->setDiff(2);
        label->setFontColor(pale);
        label->setColor(QColor(0, 128, 0));
    }

    auto smallLabel = [panel](const QString& name, const QString& text, int top,
                              const QColor& colour) {
        auto* label = new QLabel(text, panel);
        Name(label, name);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
        label->move(30, top);
        label->adjustSize();
        return label;
    };
    smallLabel(QStringLiteral("Label1"), QStringLiteral("日給制・時給制のタイムカードと勤怠計算"),
               80, Qt::yellow);
    // Where the data lies, so that the operator can find it for a backup; a
    // long path is shortened in the middle and shown whole as the hint.
    const QString shown = QDir::toNativeSeparators(dataFolder);
    QLabel* folder = smallLabel(QStringLiteral("Label2"), QString(), 100, Qt::white);
    const QString prefix = QStringLiteral("データ: ");
    const QFontMetrics metrics(folder->font());
    const int room = width() - folder->x() - 8 - metrics.horizontalAdvance(prefix);
    folder->setText(prefix + metrics.elidedText(shown, Qt::ElideMiddle, room));
    folder->setToolTip(shown);
    folder->adjustSize();

    auto* ok = new QPushButton(QStringLiteral("OK"), panel);
    Name(ok, QStringLiteral("OKButton"));
    ok->setGeometry(107, 124, 75, 25);
    QFont okFont = ok->font();
    okFont.setBold(true);
    ok->setFont(okFont);
    QPalette okPalette = ok->palette();
    okPalette.setColor(QPalette::ButtonText, QColor(0, 128, 0));
    ok->setPalette(okPalette);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace pb
