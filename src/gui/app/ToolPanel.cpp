#include "gui/app/ToolPanel.h"

#include <QColorDialog>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <utility>

#include "gui/controls/Pbutton.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Images.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"

namespace pb {

namespace {

constexpr int kToolbarHeight = 44;

QFont ToolFont() {
    return QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9);
}

}  // namespace

ToolPanel::ToolPanel(QWidget* parent) : QWidget(parent) {
    Name(this, QStringLiteral("ToolPanel"));
    setFixedHeight(kToolbarHeight);
    validLabel_ = new QLabel(QStringLiteral("有効フォント色"), this);
    Name(validLabel_, QStringLiteral("ValidColorLabel"));
    invalidLabel_ = new QLabel(QStringLiteral("無効フォント色"), this);
    Name(invalidLabel_, QStringLiteral("InvalidColorLabel"));
    for (QLabel* label : {validLabel_, invalidLabel_}) {
        label->setFont(ToolFont());
        label->adjustSize();
    }
}

TPanelButton* ToolPanel::AddButton(const QString& name, const QString& caption, const QString& hint,
                                   const QString& glyph) {
    TPanelButton* button = MakePanelButton(this, name, caption, Glyph(glyph), hint);
    button->setFont(ToolFont());
    button->setGeometry(nextX_, 2, 44, 40);
    nextX_ += 45;
    return button;
}

void ToolPanel::ShowColours(const FontColorSettings& colours) {
    const std::pair<QLabel*, std::int32_t> labels[] = {
        {validLabel_, colours.ValidColor},
        {invalidLabel_, colours.InvalidColor},
    };
    for (const auto& [label, value] : labels) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, FromColorRef(value));
        label->setPalette(palette);
    }
}

bool ToolPanel::PickColour(bool valid, FontColorSettings& colours) {
    std::int32_t& field = valid ? colours.ValidColor : colours.InvalidColor;
    QColorDialog dialog(FromColorRef(field), window());
    dialog.setObjectName(QStringLiteral("FontColorDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    field = ToColorRef(dialog.selectedColor());
    ShowColours(colours);
    return true;
}

// The labels keep 10 pixels from the right edge, one above the other.
void ToolPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int right = width() - 10;
    validLabel_->move(right - validLabel_->width(), 4);
    invalidLabel_->move(right - invalidLabel_->width(), 4 + validLabel_->height() + 2);
}

}  // namespace pb
