#pragma once
// Every widget a form names carries that name twice: as its objectName (tests
// find it with findChild) and as its accessible description (screen readers and
// black-box tests read it there). Its visible text stays its own.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace pb {

inline void Name(QObject* object, const QString& name) {
    object->setObjectName(name);
    if (auto* widget = qobject_cast<QWidget*>(object))
        widget->setAccessibleDescription(name);
}

// What a screen reader announces for a field: the text of the label beside
// it (and of a column heading, where a label names a row of fields), without
// the colon and the blanks that only line the text up on screen.
inline void NameAfter(QWidget* field, const QStringList& labels) {
    QStringList words;
    for (const QString& label : labels) {
        QString word;
        for (QChar c : label)
            if (!c.isSpace() && c != QChar(0xFF1A) && c != QLatin1Char(':'))
                word += c;
        if (!word.isEmpty())
            words << word;
    }
    field->setAccessibleName(words.join(QLatin1Char(' ')));
}

}  // namespace pb
