#pragma once
// The program's pictures, kept in its Qt resource (src/gui/resources).

#include <QPixmap>
#include <QString>

namespace pb {

// A panel button's glyph strip by name ("Exit", "DailyWages", "Start", ...):
// two 16x16 pictures side by side on the olive that buttons draw transparent.
QPixmap Glyph(const QString& name);

// An icon by its resource name, "1_ICON" (no data stored) or "2_ICON" (stored).
QPixmap NamedIcon(const QString& name);

// The application's own icon.
QPixmap ApplicationIcon();

}  // namespace pb
