#include "gui/controls/Label3D.h"

#include <QPainter>

namespace pb {

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
}

TLabel3D::TLabel3D(QWidget* parent) : QWidget(parent) {
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
