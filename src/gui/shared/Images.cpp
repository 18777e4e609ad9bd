#include "gui/shared/Images.h"

#include <QImage>
#include <QPixmapCache>

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

// A null pixmap for a name that is no picture, as a missing file would give.
QPixmap Load(const QString& name) {
    const QString key = QStringLiteral("pb-picture:") + name;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    for (const Picture& picture : kPictures) {
        if (name == QLatin1String(picture.name)) {
            pixmap = QPixmap::fromImage(QImage(picture.xpm));
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

}  // namespace pb
