#pragma once
// The flat push button of every window: a face with a glyph and a caption that
// shows a raised ring under the mouse (or with the focus) and a sunken ring
// while a mouse button is held on it.

#include <QColor>
#include <QKeySequence>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>

class QKeyEvent;
class QPainter;

namespace pb {

// Where the glyph stands relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom, blGlyphCenter };

// One 1-pixel bevel ring of the panel.
enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanelButton : public QWidget {
    Q_OBJECT

  public:
    // Where the glyph cell and the caption go on a face of a given size.
    struct Placement {
        QPoint glyph;  // top-left of the glyph cell
        QPoint text;   // top-left of the caption
    };

    // Olive of the standard palette: the background of every glyph the forms use.
    static constexpr QRgb kDefaultTransparentColor = 0x808000;

    explicit TPanelButton(QWidget* parent = nullptr);
    ~TPanelButton() override;

    // Positions of glyph cell and caption; every halving truncates toward zero
    // so the picture lands on the same pixel as on the forms' original layout.
    static Placement ComputePlacement(QSize button, QSize cell, QSize text, TButtonLayout layout,
                                      int margin, int spacing);
    Placement placement() const;

    // Settles the rest bevels: raised when BvCtrl is false, flat otherwise.
    // Runs by itself before the button is first shown; forms that set BvCtrl
    // after showing may call it again.
    void loaded();

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // Face colour (also the colour that replaces transparent glyph pixels).
    QColor color() const { return color_; }
    void setColor(const QColor& color);

    // Colour of the caption while the button is enabled; a disabled button
    // draws its caption and picture greyed.
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);

    QString hint() const { return toolTip(); }
    void setHint(const QString& hint) { setToolTip(hint); }

    TBevelCut bevelInner() const { return bevelInner_; }
    void setBevelInner(TBevelCut bevel);
    TBevelCut bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TBevelCut bevel);

    // The strip of NumGlyphs pictures. Writing copies the picture, takes its
    // bottom-left pixel as transparent colour and derives NumGlyphs, Margin and
    // Spacing from its shape; a null pixmap empties the glyph and sets Spacing 0.
    const QPixmap& glyph() const { return glyph_; }
    void setGlyph(const QPixmap& glyph);
    // Puts a picture in place without deriving anything from it, the way a form
    // stores its glyph; the transparent colour stays as it is.
    void loadGlyph(const QPixmap& glyph);

    QColor transparentColor() const { return transparentColor_; }

    // Named after the property rather than "layout" so QWidget::layout() stays.
    TButtonLayout buttonLayout() const { return layout_; }
    void setButtonLayout(TButtonLayout layout);

    // 1 to 4; other values are ignored.
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int count);
    // 1 to 4, counted from the left; other values are ignored.
    int glyphPosition() const { return glyphPosition_; }
    void setGlyphPosition(int position);

    // True: flat at rest, raised under the mouse or with the focus.
    // False: raised at rest. Counts from the next mouse or focus event.
    bool bvCtrl() const { return bvCtrl_; }
    void setBvCtrl(bool on);

    // A key that presses the button while its window (or, inside a child
    // window, that child) has the focus; a hidden or disabled button ignores
    // it. Screen readers announce it with the button.
    QKeySequence shortcut() const { return shortcut_; }
    void setShortcut(const QKeySequence& key);

    int spacing() const { return spacing_; }
    void setSpacing(int pixels);
    // Negative centres the glyph-and-caption block.
    int margin() const { return margin_; }
    void setMargin(int pixels);

  public slots:
    // Raises `clicked` as a mouse click would (the accessibility Press action
    // queues this).
    void click();

  signals:
    void clicked();
    void mouseEnter();
    void mouseExit();
    void enter();
    void exit();
    // Raised while painting, after the panel's own rings and background and
    // before the face, glyph and caption.
    void paint(QPainter* painter);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void keyDown(QKeyEvent* event);
    void keyUp(QKeyEvent* event);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    void paintPanel(QPainter& painter);
    void paintFace(QPainter& painter);
    QSize cellSize() const;

    QString caption_;
    QColor color_;
    QColor fontColor_;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvNone;
    QPixmap glyph_;
    QColor transparentColor_ = QColor::fromRgb(kDefaultTransparentColor);
    TButtonLayout layout_ = blGlyphLeft;
    int numGlyphs_ = 1;
    int glyphPosition_ = 1;
    bool bvCtrl_ = true;
    int spacing_ = 0;
    int margin_ = -1;
    bool loaded_ = false;
    bool leftPressed_ = false;
    QKeySequence shortcut_;
    int shortcutId_ = 0;
};

}  // namespace pb
