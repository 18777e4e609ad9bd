#include "gui/shared/SjisLengthValidator.h"

#include <QApplication>

#include "core/common/ShiftJis.h"
#include "gui/shared/Text.h"

namespace pb {

SjisLengthValidator::SjisLengthValidator(std::size_t maxBytes, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes) {}

QValidator::State SjisLengthValidator::validate(QString& input, int&) const {
    // A character the code page lacks counts as the one "?" it would become;
    // the registration refuses it by name.
    if (EncodeSjis(S(input)).size() <= maxBytes_)
        return Acceptable;
    QApplication::beep();
    return Invalid;
}

}  // namespace pb
