#pragma once
// The program's pictures, drawn by src/gui/resources/draw_images.py and
// compiled into the program.

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

// Makes every picture ready now, so the first window that shows one does not
// wait for it.
void PreparePictures();
// The same a few at a time: makes ready the pictures from `from` on for about
// `milliseconds`, and returns where the next call goes on (0 when all are ready).
int PreparePictures(int from, int milliseconds);

}  // namespace pb
