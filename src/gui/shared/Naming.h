#pragma once
// Every widget a form names carries that name twice: as its objectName (tests
// find it with findChild) and as its accessible description (screen readers and
// black-box tests read it there). Its visible text stays its own.

#include <QObject>
#include <QString>
#include <QWidget>

namespace pb {

inline void Name(QObject* object, const QString& name) {
    object->setObjectName(name);
    if (auto* widget = qobject_cast<QWidget*>(object))
        widget->setAccessibleDescription(name);
}

}  // namespace pb
