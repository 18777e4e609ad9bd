#pragma once
// The pay scheme as every drop-down and pair of buttons offers it: 日給制
// first, 時給制 second.

#include "core/model/PayScheme.h"

namespace pb {

inline PayScheme SchemeOfIndex(int index) {
    return index == 1 ? PayScheme::Hourly : PayScheme::Daily;
}

inline int IndexOfScheme(PayScheme scheme) {
    return scheme == PayScheme::Hourly ? 1 : 0;
}

}  // namespace pb
