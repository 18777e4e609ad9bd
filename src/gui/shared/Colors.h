#pragma once
// The settings keep colours as 0x00BBGGRR integers; windows draw QColors.

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <cstdint>

namespace pb {

inline QColor FromColorRef(std::int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline std::int32_t ToColorRef(const QColor& color) {
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

// The desktop's grey-text colour, the default of InvalidColor.
inline std::int32_t GrayTextColorRef() {
    return ToColorRef(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
}

}  // namespace pb
