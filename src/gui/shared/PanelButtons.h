#pragma once
// The panel buttons of every window are made one way.

#include <QKeySequence>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "gui/controls/Pbutton.h"

namespace pb {

// A panel button named `name` (its objectName and accessible description),
// showing the picture strip `glyph` (usually `Glyph(name)` of gui/shared/Images;
// none when null) placed by `layout` beside `caption`, with `hint` as its tool
// tip. When the
// mouse lets go it turns flat again, so that a button whose click opened a box
// does not stay raised. Size, font and focus are the window's business.
TPanelButton* MakePanelButton(QWidget* parent, const QString& name, const QString& caption,
                              const QPixmap& glyph, const QString& hint = {},
                              TButtonLayout layout = blGlyphTop);

// Gives `button` the key that presses it, named after its hint (or caption) in
// the tool tip as "登録 (Ctrl+S)"; screen readers announce it with the button.
void GivePanelKey(TPanelButton* button, const QKeySequence& key);

}  // namespace pb
