#pragma once
// A label that draws its caption twice, a shadow shifted down and to the right
// and the caption on top, so the text seems to stand out from the window.

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

namespace pb {

class TLabel3D : public QWidget {
    Q_OBJECT

  public:
    explicit TLabel3D(QWidget* parent = nullptr);

    // Colour of the shadow text.
    QColor backColor() const { return backColor_; }
    void setBackColor(const QColor& color);

    // May hold several lines; long lines wrap at word boundaries.
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // Background of the control.
    QColor color() const { return color_; }
    void setColor(const QColor& color);

    // Colour of the caption itself (the font's colour).
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);

    // Shadow offset and inner margin, in pixels.
    int diff() const { return diff_; }
    void setDiff(int pixels);

    // Where the caption and its shadow are laid out; both are equally wide so
    // they wrap alike.
    QRect captionRect() const;
    QRect shadowRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor backColor_ = Qt::black;
    QString caption_;
    QColor color_;
    QColor fontColor_ = Qt::white;
    int diff_ = 0;
};

}  // namespace pb
