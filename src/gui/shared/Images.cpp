#include "gui/shared/Images.h"

#include <QtGlobal>

// The resource lives in a static library: nothing would pull its object file
// into the program unless something refers to its initialiser.
static void InitPunchbookResources() {
    Q_INIT_RESOURCE(resources);
}

namespace pb {

namespace {
QPixmap Load(const QString& path) {
    static const bool initialised = [] {
        InitPunchbookResources();
        return true;
    }();
    Q_UNUSED(initialised);
    return QPixmap(path);
}
}  // namespace

QPixmap Glyph(const QString& name) {
    return Load(QStringLiteral(":/images/") + name + QStringLiteral(".xpm"));
}

QPixmap NamedIcon(const QString& name) {
    return Load(QStringLiteral(":/icons/") + name);
}

QPixmap ApplicationIcon() {
    return Load(QStringLiteral(":/images/Punchbook.xpm"));
}

}  // namespace pb
