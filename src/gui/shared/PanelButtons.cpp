#include "gui/shared/PanelButtons.h"

#include "gui/shared/Naming.h"

namespace pb {

TPanelButton* MakePanelButton(QWidget* parent, const QString& name, const QString& caption,
                              const QPixmap& glyph, const QString& hint, TButtonLayout layout) {
    auto* button = new TPanelButton(parent);
    Name(button, name);
    button->setCaption(caption);
    if (!hint.isEmpty())
        button->setHint(hint);
    button->setButtonLayout(layout);
    if (!glyph.isNull())
        button->setGlyph(glyph);
    // A picture alone sits in the middle, with no gap kept for a caption.
    if (caption.isEmpty())
        button->setSpacing(0);
    QObject::connect(button, &TPanelButton::mouseUp, button,
                     [button] { button->setBevelInner(bvNone); });
    return button;
}

void GivePanelKey(TPanelButton* button, const QKeySequence& key) {
    button->setShortcut(key);
    const QString named = button->hint().isEmpty() ? button->caption() : button->hint();
    button->setHint(named + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                    QLatin1Char(')'));
}

}  // namespace pb
