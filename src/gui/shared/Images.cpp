#include "gui/shared/Images.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPixmapCache>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <iterator>

// The pictures are compiled in: XPM is C, and QImage reads it from memory
// without looking for image plugins, which a file or resource would load first.
namespace pb::pictures {
#include "gui/resources/images/1_ICON.xpm"
#include "gui/resources/images/2_ICON.xpm"
#include "gui/resources/images/Calc.xpm"
#include "gui/resources/images/Cancel.xpm"
#include "gui/resources/images/DailyWages.xpm"
#include "gui/resources/images/Delete.xpm"
#include "gui/resources/images/Erase.xpm"
#include "gui/resources/images/Exit.xpm"
#include "gui/resources/images/Input.xpm"
#include "gui/resources/images/Print.xpm"
#include "gui/resources/images/Punchbook.xpm"
#include "gui/resources/images/Restore.xpm"
#include "gui/resources/images/Salarium.xpm"
#include "gui/resources/images/Save.xpm"
#include "gui/resources/images/Settings.xpm"
#include "gui/resources/images/Start.xpm"
#include "gui/resources/images/TimeWages.xpm"
#include "gui/resources/images/View.xpm"
}  // namespace pb::pictures

namespace pb {

namespace {

struct Picture {
    const char* name;
    const char* const* xpm;
};

constexpr Picture kPictures[] = {
    {"1_ICON", pictures::icon1_xpm},
    {"2_ICON", pictures::icon2_xpm},
    {"Calc", pictures::calc_xpm},
    {"Cancel", pictures::cancel_xpm},
    {"DailyWages", pictures::dailywages_xpm},
    {"Delete", pictures::delete_xpm},
    {"Erase", pictures::erase_xpm},
    {"Exit", pictures::exit_xpm},
    {"Input", pictures::input_xpm},
    {"Print", pictures::print_xpm},
    {"Punchbook", pictures::punchbook_xpm},
    {"Restore", pictures::restore_xpm},
    {"Salarium", pictures::salarium_xpm},
    {"Save", pictures::save_xpm},
    {"Settings", pictures::settings_xpm},
    {"Start", pictures::start_xpm},
    {"TimeWages", pictures::timewages_xpm},
    {"View", pictures::view_xpm},
};

// The pictures as draw_images.py writes them (one character a pixel, colours
// "#RRGGBB" or "None"), read straight into their pixels: Qt's general XPM
// reader costs some hundred thousand instructions a picture, and a start
// shows eleven. Anything else goes to Qt's reader, which gives the same image.
QImage ReadPicture(const char* const* xpm) {
    int width = 0, height = 0, colours = 0, perPixel = 0;
    if (std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &perPixel) != 4 ||
        perPixel != 1 || width <= 0 || height <= 0 || colours <= 0 || colours > 256)
        return QImage(xpm);
    std::array<QRgb, 256> rgb{};
    std::array<bool, 256> known{};
    bool transparent = false;
    for (int i = 1; i <= colours; ++i) {
        const char* line = xpm[i];
        const auto key = static_cast<unsigned char>(line[0]);
        unsigned value = 0;
        if (std::strncmp(line + 1, " c None", 8) == 0) {
            rgb[key] = 0;
            transparent = true;
        } else if (std::strlen(line) == 11 && std::strncmp(line + 1, " c #", 4) == 0 &&
                   std::sscanf(line + 5, "%6x", &value) == 1) {
            rgb[key] = 0xff000000u | value;
        } else {
            return QImage(xpm);
        }
        known[key] = true;
    }
    QImage image(width, height, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const char* row = xpm[1 + colours + y];
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const auto key = static_cast<unsigned char>(row[x]);
            if (key == 0 || !known[key])
                return QImage(xpm);
            pixels[x] = rgb[key];
        }
    }
    return image;
}

// A null pixmap for a name that is no picture, as a missing file would give.
QPixmap Load(const QString& name) {
    const QString key = QStringLiteral("pb-picture:") + name;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    for (const Picture& picture : kPictures) {
        if (name == QLatin1String(picture.name)) {
            pixmap = QPixmap::fromImage(ReadPicture(picture.xpm));
            QPixmapCache::insert(key, pixmap);
            break;
        }
    }
    return pixmap;
}

bool IsIconName(const QString& name) {
    return name.endsWith(QStringLiteral("_ICON"));
}

}  // namespace

QPixmap Glyph(const QString& name) {
    return IsIconName(name) ? QPixmap() : Load(name);
}

QPixmap NamedIcon(const QString& name) {
    return IsIconName(name) ? Load(name) : QPixmap();
}

QPixmap ApplicationIcon() {
    return Load(QStringLiteral("Punchbook"));
}

void PreparePictures() {
    for (const Picture& picture : kPictures)
        Load(QLatin1String(picture.name));
}

int PreparePictures(int from, int milliseconds) {
    QElapsedTimer spent;
    spent.start();
    const int count = static_cast<int>(std::size(kPictures));
    for (int i = std::max(from, 0); i < count; ++i) {
        if (i > from && spent.elapsed() >= milliseconds)
            return i;
        Load(QLatin1String(kPictures[i].name));
    }
    return 0;
}

}  // namespace pb
