#include "gui/controls/Label3D.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace pb {

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;

// The label paints its caption itself; screen readers learn it from here, as
// the text of a plain label.
class Label3DAccessible : public QAccessibleWidget {
  public:
    explicit Label3DAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const TLabel3D*>(widget())->caption();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* Label3DAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("pb::TLabel3D") && object != nullptr && object->isWidgetType())
        return new Label3DAccessible(static_cast<QWidget*>(object));  // owned by QAccessible
    return nullptr;
}

}  // namespace

TLabel3D::TLabel3D(QWidget* parent) : QWidget(parent) {
    static const bool accessibleInstalled =
        (QAccessible::installFactory(&Label3DAccessibleFactory), true);
    (void)accessibleInstalled;
    color_ = palette().color(QPalette::Base);
    resize(96, 24);
    setDiff(2);
    QFont f = font();
    f.setPixelSize(height() - 2);
    setFont(f);
}

void TLabel3D::setBackColor(const QColor& color) {
    if (color == backColor_)
        return;
    backColor_ = color;
    update();
}

void TLabel3D::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void TLabel3D::setColor(const QColor& color) {
    if (color == color_)
        return;
    color_ = color;
    update();
}

void TLabel3D::setFontColor(const QColor& color) {
    if (color == fontColor_)
        return;
    fontColor_ = color;
    update();
}

void TLabel3D::setDiff(int pixels) {
    if (pixels == diff_)
        return;
    diff_ = pixels;
    update();
}

QRect TLabel3D::captionRect() const {
    return QRect(QPoint(diff_, diff_), QPoint(width() - diff_ - 1, height() - diff_ - 1));
}

QRect TLabel3D::shadowRect() const {
    return captionRect().translated(diff_, diff_);
}

void TLabel3D::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    painter.setFont(font());
    painter.setPen(backColor_);
    painter.drawText(shadowRect(), kTextFlags, caption_);
    painter.setPen(fontColor_);
    painter.drawText(captionRect(), kTextFlags, caption_);
}

}  // namespace pb
