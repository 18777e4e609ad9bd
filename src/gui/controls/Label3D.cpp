#include "gui/controls/Label3D.h"

#include <QPainter>

namespace pb {

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
}

TLabel3D::TLabel3D(QWidget* parent) : QWidget(parent) {
    m_color = palette().color(QPalette::Base);
    resize(96, 24);
    setDiff(2);
    QFont f = font();
    f.setPixelSize(height() - 2);
    setFont(f);
}

void TLabel3D::setBackColor(const QColor& color) {
    if (color == m_backColor)
        return;
    m_backColor = color;
    update();
}

void TLabel3D::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void TLabel3D::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TLabel3D::setFontColor(const QColor& color) {
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    update();
}

void TLabel3D::setDiff(int pixels) {
    if (pixels == m_diff)
        return;
    m_diff = pixels;
    update();
}

QRect TLabel3D::captionRect() const {
    return QRect(QPoint(m_diff, m_diff), QPoint(width() - m_diff - 1, height() - m_diff - 1));
}

QRect TLabel3D::shadowRect() const {
    return captionRect().translated(m_diff, m_diff);
}

void TLabel3D::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    painter.setFont(font());
    painter.setPen(m_backColor);
    painter.drawText(shadowRect(), kTextFlags, m_caption);
    painter.setPen(m_fontColor);
    painter.drawText(captionRect(), kTextFlags, m_caption);
}

}  // namespace pb
