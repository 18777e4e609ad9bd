#include "gui/controls/Pbutton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>

namespace pb {

namespace {

// The button paints everything itself, so screen readers and UI automation
// learn from here that it is a button named by its caption and can be pressed.
class PanelButtonAccessible : public QAccessibleWidget {
  public:
    explicit PanelButtonAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Button) {
        addControllingSignal(QStringLiteral("clicked()"));
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? button()->caption() : name;
        }
        if (t == QAccessible::Accelerator)
            return button()->shortcut().toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!button()->isEnabled())
            return;
        // Queued: a click handler may open a modal window, which must not run
        // inside the accessibility call that asked for the press.
        TPanelButton* target = button();
        QMetaObject::invokeMethod(
            target, [target]() { target->click(); }, Qt::QueuedConnection);
    }

  private:
    TPanelButton* button() const { return static_cast<TPanelButton*>(widget()); }
};

QAccessibleInterface* PanelButtonAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("pb::TPanelButton") && object != nullptr &&
        object->isWidgetType())
        return new PanelButtonAccessible(static_cast<QWidget*>(object));  // owned by QAccessible
    return nullptr;
}

// A 1-pixel ring: top-left in one colour, bottom-right in the other; the
// bottom-right lines run the full length and so own both far corners.
void DrawRing(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
    painter.fillRect(QRect(l, t, r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(l, t, 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(rr, t, 1, r.height()), bottomRight);
    painter.fillRect(QRect(l, b, r.width(), 1), bottomRight);
}

}  // namespace

TPanelButton::TPanelButton(QWidget* parent) : QWidget(parent) {
    static const bool accessibleInstalled =
        (QAccessible::installFactory(&PanelButtonAccessibleFactory), true);
    (void)accessibleInstalled;

    color_ = palette().color(QPalette::Button);
    fontColor_ = palette().color(QPalette::ButtonText);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
}

TPanelButton::~TPanelButton() = default;

TPanelButton::Placement TPanelButton::ComputePlacement(QSize button, QSize cell, QSize text,
                                                       TButtonLayout layout, int margin,
                                                       int spacing) {
    const int w = button.width(), h = button.height();
    const int gw = cell.width(), gh = cell.height();
    const int tw = text.width(), th = text.height();
    const int s = spacing;
    Placement p;
    p.text = QPoint((w - tw) / 2, (h - th) / 2);
    switch (layout) {
        case blGlyphLeft: {
            const int gx = margin >= 0 ? margin : (w - gw - tw - s) / 2;
            p.glyph = QPoint(gx, (h - gh) / 2);
            p.text.setX(gx + gw + s);
            break;
        }
        case blGlyphRight: {
            const int x0 = margin >= 0 ? margin : (w - gw - tw - s) / 2;
            p.glyph = QPoint(x0 + tw + s, (h - gh) / 2);
            p.text.setX(x0);
            break;
        }
        case blGlyphTop: {
            const int gy = margin >= 0 ? margin : (h - gh - th - s) / 2;
            p.glyph = QPoint((w - gw) / 2, gy);
            p.text.setY(gy + gh + s);
            break;
        }
        case blGlyphBottom: {
            const int y0 = margin >= 0 ? margin : (h - gh - th - s) / 2;
            p.glyph = QPoint((w - gw) / 2, y0 + th + s);
            p.text.setY(y0);
            break;
        }
        case blGlyphCenter:
            p.glyph = QPoint((w - gw) / 2, (h - gh) / 2);
            break;
    }
    return p;
}

QSize TPanelButton::cellSize() const {
    if (glyph_.isNull() || numGlyphs_ <= 0)
        return {0, 0};
    return {glyph_.width() / numGlyphs_, glyph_.height()};
}

TPanelButton::Placement TPanelButton::placement() const {
    const QFontMetrics fm(font());
    const QSize text(fm.horizontalAdvance(caption_), fm.height());
    return ComputePlacement(size(), cellSize(), text, layout_, margin_, spacing_);
}

void TPanelButton::loaded() {
    loaded_ = true;
    setBevelInner(bvCtrl_ ? bvNone : bvRaised);
    setBevelOuter(bvNone);
}

void TPanelButton::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    update();
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void TPanelButton::setColor(const QColor& color) {
    if (color == color_)
        return;
    color_ = color;
    update();
}

void TPanelButton::setFontColor(const QColor& color) {
    if (color == fontColor_)
        return;
    fontColor_ = color;
    update();
}

void TPanelButton::setBevelInner(TBevelCut bevel) {
    if (bevel == bevelInner_)
        return;
    bevelInner_ = bevel;
    update();
}

void TPanelButton::setBevelOuter(TBevelCut bevel) {
    if (bevel == bevelOuter_)
        return;
    bevelOuter_ = bevel;
    update();
}

void TPanelButton::loadGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    update();
}

void TPanelButton::setGlyph(const QPixmap& glyph) {
    update();
    glyph_ = glyph;
    if (glyph.isNull() || glyph.height() <= 0) {
        spacing_ = 0;
        return;
    }
    transparentColor_ = glyph.depth() == 1
                            ? QColor(Qt::white)
                            : glyph.toImage().pixelColor(0, glyph.height() - 1).toRgb();
    transparentColor_.setAlpha(255);
    if (glyph.width() % glyph.height() != 0) {
        numGlyphs_ = 1;
        glyphPosition_ = 1;
    } else {
        const int count = glyph.width() / glyph.height();
        numGlyphs_ = count > 4 ? 1 : count;
    }
    margin_ = -1;
    spacing_ = 4;
}

void TPanelButton::setButtonLayout(TButtonLayout layout) {
    if (layout == layout_)
        return;
    layout_ = layout;
    update();
}

void TPanelButton::setNumGlyphs(int count) {
    if (count < 1 || count > 4 || count == numGlyphs_)
        return;
    numGlyphs_ = count;
    update();
}

void TPanelButton::setGlyphPosition(int position) {
    if (position < 1 || position > 4 || position == glyphPosition_)
        return;
    glyphPosition_ = position;
    update();
}

void TPanelButton::setBvCtrl(bool on) {
    if (on == bvCtrl_)
        return;
    bvCtrl_ = on;
    update();
}

void TPanelButton::setSpacing(int pixels) {
    if (pixels == spacing_)
        return;
    spacing_ = pixels;
    update();
}

void TPanelButton::setMargin(int pixels) {
    if (pixels == margin_)
        return;
    margin_ = pixels;
    update();
}

void TPanelButton::click() {
    emit clicked();
}

void TPanelButton::setShortcut(const QKeySequence& key) {
    if (shortcutId_ != 0)
        releaseShortcut(shortcutId_);
    shortcut_ = key;
    shortcutId_ = key.isEmpty() ? 0 : grabShortcut(key);
}

bool TPanelButton::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Polish:
            // Forms set BvCtrl after construction; the rest bevel follows it once
            // they are done, just before the button is first polished for showing.
            if (!loaded_)
                loaded();
            break;
        case QEvent::Shortcut:
            // Only delivered while the button is visible and enabled.
            if (static_cast<QShortcutEvent*>(event)->shortcutId() == shortcutId_) {
                click();
                return true;
            }
            break;
        case QEvent::ToolTip:
            // A button's hint is its own: without one it shows nothing rather
            // than whatever its window keeps as a hint.
            if (toolTip().isEmpty()) {
                QToolTip::hideText();
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void TPanelButton::paintPanel(QPainter& painter) {
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    QRect r = rect();
    for (TBevelCut bevel : {bevelOuter_, bevelInner_}) {
        if (bevel == bvNone)
            continue;
        if (bevel == bvRaised)
            DrawRing(painter, r, light, dark);
        else
            DrawRing(painter, r, dark, light);
        r.adjust(1, 1, -1, -1);
    }
    painter.fillRect(r, color_);
    painter.setPen(fontColor_);
    painter.setFont(font());
    painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

void TPanelButton::paintFace(QPainter& painter) {
    const int w = width(), h = height();
    painter.fillRect(QRect(QPoint(3, 3), QPoint(w - 4, h - 4)), color_);

    const QFontMetrics fm(font());
    const QSize textSize(fm.horizontalAdvance(caption_), fm.height());
    const QSize cell = cellSize();
    const Placement p = ComputePlacement(size(), cell, textSize, layout_, margin_, spacing_);
    // A button that cannot be pressed says so: greyed caption, and the greyed
    // picture of its strip (or its only picture in grey).
    const bool greyed = !isEnabled();

    // The caption goes down opaque on the face colour, box and all.
    if (!caption_.isEmpty()) {
        painter.fillRect(QRect(p.text, textSize), color_);
        painter.setPen(greyed ? palette().color(QPalette::Disabled, QPalette::ButtonText)
                              : fontColor_);
        painter.setFont(font());
        painter.drawText(p.text + QPoint(0, fm.ascent()), caption_);
    }

    if (cell.isEmpty())
        return;
    const int position = greyed && numGlyphs_ >= 2 ? 2 : glyphPosition_;
    const bool greyPicture = greyed && numGlyphs_ < 2;
    const QRect source(cell.width() * (position - 1), 0, cell.width(), cell.height());
    QImage picture = glyph_.copy(source.intersected(glyph_.rect()))
                         .toImage()
                         .convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = transparentColor_.rgb() & RGB_MASK;
    const QRgb face = color_.rgba();
    const QRgb dark = palette().color(QPalette::Disabled, QPalette::ButtonText).rgba();
    const QRgb light = palette().color(QPalette::Light).rgba();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(line[x]) == 255 && (line[x] & RGB_MASK) == transparent)
                line[x] = face;
            else if (greyPicture && qAlpha(line[x]) > 0)
                line[x] = qGray(line[x]) < 160 ? dark : light;
        }
    }
    painter.drawImage(p.glyph, picture);
}

void TPanelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPanel(painter);
    emit paint(&painter);
    paintFace(painter);
    if (hasFocus()) {
        // Where the keyboard is: a dotted frame inside the ring.
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        focus.backgroundColor = color_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TPanelButton::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit mouseEnter();
    if (bvCtrl_)
        setBevelInner(bvRaised);
}

void TPanelButton::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit mouseExit();
    if (bvCtrl_)
        setBevelInner(bvNone);
}

void TPanelButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit enter();
    if (bvCtrl_)
        setBevelInner(bvRaised);
    update();
}

void TPanelButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    emit exit();
    if (bvCtrl_)
        setBevelInner(bvNone);
    update();
}

void TPanelButton::mousePressEvent(QMouseEvent* event) {
    // Accepted, so the release comes back here rather than to the parent.
    event->accept();
    // A double click arrives as a second press; it sinks the face but, as on
    // the original panel, does not count as a second click.
    leftPressed_ = event->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress;
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
    if (isEnabled())
        setBevelInner(bvLowered);
}

void TPanelButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const bool inside = leftPressed_ && rect().contains(pos);
        leftPressed_ = false;
        if (inside) {
            // The handler may close the form that owns this button.
            QPointer<TPanelButton> self(this);
            emit clicked();
            if (self.isNull())
                return;
        }
    }
    setBevelInner(bvRaised);
    emit mouseUp(event->button(), event->modifiers(), pos);
}

void TPanelButton::keyPressEvent(QKeyEvent* event) {
    // A button that takes the focus is pressed with Space or Enter.
    const int key = event->key();
    if (hasFocus() && isEnabled() && !event->isAutoRepeat() &&
        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        click();
        return;
    }
    // Unhandled keys travel on to the parent; a receiver keeps one by accepting it.
    event->ignore();
    emit keyDown(event);
}

void TPanelButton::keyReleaseEvent(QKeyEvent* event) {
    event->ignore();
    emit keyUp(event);
}

}  // namespace pb
