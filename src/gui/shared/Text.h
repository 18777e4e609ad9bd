#pragma once
// Texts cross between core (UTF-8 std::string) and the widgets (QString) here
// and only here.

#include <QString>
#include <string>

namespace pb {

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string S(const QString& text) {
    return text.toStdString();
}

}  // namespace pb
