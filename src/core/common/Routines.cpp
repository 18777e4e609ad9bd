#include "core/common/Routines.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pb {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::string_view kYenSign = "\xC2\xA5";  // U+00A5

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// Optional sign and decimal digits within 32 bits; nothing else.
bool TryParseInt(std::string_view text, std::int32_t& result) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    std::int64_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return false;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return false;
    result = static_cast<std::int32_t>(value);
    return true;
}

// The integer conversion behind the clock texts. Blanks around the number are
// tolerated because texts taken over from older files may be padded.
std::int32_t TextToInt(std::string_view text) {
    std::int32_t value = 0;
    if (!TryParseInt(TrimBlanks(text), value)) {
        throw ConversionError("'" + std::string(text) + "' は有効な整数ではありません");
    }
    return value;
}

// Like substr, but an offset past the end gives "" instead of throwing.
std::string_view Part(std::string_view text, std::size_t offset, std::size_t count) {
    return offset >= text.size() ? std::string_view{} : text.substr(offset, count);
}

double EncodeTime(std::int32_t hours, std::int32_t minutes) {
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) {
        throw ConversionError("時刻の指定が正しくありません (" + std::to_string(hours) + ":" +
                              std::to_string(minutes) + ")");
    }
    return static_cast<double>((hours * 60 + minutes) * 60'000) / static_cast<double>(kMsPerDay);
}

// Milliseconds since midnight of a date-time value: the time of day is the
// absolute fraction, so a value before 1899-12-30 still has an ordinary time.
std::int64_t TimeOfDayMs(double time) {
    if (!std::isfinite(time))
        throw ConversionError("日時の値が正しくありません");
    const double fraction = std::fabs(time - std::trunc(time));
    // A fraction that rounds up to a whole day is midnight of the next day.
    return std::llround(fraction * static_cast<double>(kMsPerDay)) % kMsPerDay;
}

std::string PadMagnitude(std::int64_t value, std::int32_t width) {
    std::string digits = std::to_string(value);
    const std::size_t w = static_cast<std::size_t>(std::clamp(width, 0, 9));
    if (digits.size() < w)
        digits.insert(0, w - digits.size(), '0');
    return digits;
}

}  // namespace

std::int32_t PowerInt(std::int32_t base, std::int32_t exponent) {
    double result = 0;
    if (base > 0) {
        result = std::round(std::exp(exponent * std::log(static_cast<double>(base))));
    } else {
        // ln is undefined here; the plain power gives what the formula means.
        result = std::round(std::pow(static_cast<double>(base), exponent));
    }
    if (!std::isfinite(result) || result > std::numeric_limits<std::int32_t>::max() ||
        result < std::numeric_limits<std::int32_t>::min()) {
        throw ConversionError(std::to_string(base) + " の " + std::to_string(exponent) +
                              " 乗は整数の範囲を超えます");
    }
    return static_cast<std::int32_t>(result);
}

std::string FormatYen(std::int32_t value) {
    const std::int64_t wide = value;
    const std::string digits = std::to_string(wide < 0 ? -wide : wide);
    std::string grouped;
    std::size_t count = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        ++count;
        if (count > 3 && count % 3 == 1)
            grouped.insert(grouped.begin(), ',');
        grouped.insert(grouped.begin(), *it);
    }
    // Only the digits are grouped, so a minus sign never gets a comma after it.
    return std::string(kYenSign) + (wide < 0 ? "-" : "") + grouped;
}

std::int32_t ParseYen(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (IsDigit(c))
            digits.push_back(c);
    }
    if (digits.empty())
        return 0;
    // Never raises: digits beyond 32 bits read as 0, like text without digits.
    try {
        return TextToInt(digits);
    } catch (const ConversionError&) {
        return 0;
    }
}

std::string PadNumber(std::int32_t value, std::int32_t width) {
    const std::int64_t wide = value;
    // The sign stands before the padded digits: -5 with width 2 is "-05".
    if (wide < 0)
        return "-" + PadMagnitude(-wide, width);
    return PadMagnitude(wide, width);
}

std::string WeekdayText(std::int32_t weekday) {
    static constexpr const char* kNames[] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                             "木曜日", "金曜日", "土曜日"};
    if (weekday == -1)
        return "無し";
    if (weekday >= 1 && weekday <= 7)
        return kNames[weekday - 1];
    return "";
}

std::string SetStateText(bool set) {
    return set ? "設定" : "未設定";
}

std::string TimeToText(double time) {
    const std::int64_t ms = TimeOfDayMs(time);
    const auto hours = static_cast<std::int32_t>(ms / 3'600'000);
    const auto minutes = static_cast<std::int32_t>(ms / 60'000 % 60);
    return PadNumber(hours, 2) + ":" + PadNumber(minutes, 2);
}

std::int32_t TimeToSteps(double time) {
    return TextToSteps(TimeToText(time));
}

std::int32_t TimeToMinutes(double time) {
    return static_cast<std::int32_t>(TimeOfDayMs(time) / 60'000);
}

std::int32_t TextToSteps(std::string_view text) {
    return TextToInt(Part(text, 0, 2)) * 12 + TextToInt(Part(text, 3, 2)) / 5;
}

double TextToTime(std::string_view text) {
    return EncodeTime(TextToInt(Part(text, 0, 2)), TextToInt(Part(text, 3, 2)));
}

std::int32_t TextToMinutes(std::string_view text) {
    if (text.empty())
        return 0;
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        throw ConversionError("'" + std::string(text) + "' は時間ではありません");
    }
    const std::string_view hoursText = text.substr(0, colon);
    const std::int32_t hours = TextToInt(hoursText);
    const std::int32_t minutes = TextToInt(text.substr(colon + 1));
    // A negative total is written "-01:30" (MinutesToText): the sign covers both parts.
    if (TrimBlanks(hoursText).starts_with('-'))
        return hours * 60 - minutes;
    return hours * 60 + minutes;
}

std::string StepsToText(std::int32_t steps) {
    std::string hours = PadNumber(steps / 12, 2);
    if (hours == "24")
        hours = "00";
    return hours + ":" + PadNumber((steps % 12) * 5, 2);
}

double StepsToTime(std::int32_t steps) {
    return TextToTime(StepsToText(steps));
}

std::int32_t StepsToMinutes(std::int32_t steps) {
    if (steps < 0) {
        // Whatever the text of a negative count reads as ("-01:-05" for -13).
        return TextToMinutes(StepsToText(steps));
    }
    // The minutes of StepsToText's "hh:mm" without writing it: 24:00 reads as 00:00.
    const std::int32_t hours = steps / 12 == 24 ? 0 : steps / 12;
    return hours * 60 + steps % 12 * 5;
}

std::string MinutesToText(std::int32_t minutes) {
    const std::int64_t wide = minutes;
    if (wide < 0) {
        const std::int64_t magnitude = -wide;
        return "-" + PadMagnitude(magnitude / 60, 2) + ":" + PadMagnitude(magnitude % 60, 2);
    }
    return PadMagnitude(wide / 60, 2) + ":" + PadMagnitude(wide % 60, 2);
}

bool IsIntegerText(std::string_view text) {
    std::int32_t ignored = 0;
    return TryParseInt(text, ignored);
}

bool IsTimeText(std::string_view text) {
    text = TrimBlanks(text);
    std::size_t pos = 0;
    // Reads one or two digits at pos, within 0..max.
    const auto field = [&](int max) {
        int value = 0;
        std::size_t length = 0;
        while (pos < text.size() && length < 2 && IsDigit(text[pos])) {
            value = value * 10 + (text[pos] - '0');
            ++pos;
            ++length;
        }
        return length > 0 && value <= max;
    };
    const auto colon = [&] {
        if (pos >= text.size() || text[pos] != ':')
            return false;
        ++pos;
        return true;
    };
    if (!field(23) || !colon() || !field(59))
        return false;
    if (pos < text.size() && (!colon() || !field(59)))
        return false;
    return pos == text.size();
}

std::int32_t RoundMinutes(std::int32_t minutes, std::int32_t mode, std::int32_t unit) {
    // A unit below one minute would divide by zero; one minute leaves the time as it is.
    if (unit < 1)
        return minutes;
    const std::int32_t r = (minutes % 60) % unit;
    if (r == 0)
        return minutes;
    switch (mode) {
        case 0:
            return unit * 0.5 > r ? minutes - r : minutes - r + unit;
        case 1:
            return minutes - r + unit;
        case 2:
            return minutes - r;
        default:
            return minutes;
    }
}

std::int32_t WageForMinutes(std::int32_t minutes, std::int32_t rate, std::int32_t unit) {
    const std::int64_t wholeHours = std::int64_t{rate} * (minutes / 60);
    // A unit below one minute counts as one; a unit above an hour never completes
    // within the hour, so the rest of the hour earns nothing (and nothing divides by 0).
    const std::int32_t safeUnit = unit < 1 ? 1 : unit;
    const std::int32_t unitsPerHour = 60 / safeUnit;
    if (unitsPerHour == 0)
        return static_cast<std::int32_t>(wholeHours);
    const std::int64_t rest = std::int64_t{rate / unitsPerHour} * ((minutes % 60) / safeUnit);
    return static_cast<std::int32_t>(wholeHours + rest);
}

std::int32_t BinaryTextToInt(std::string_view text) {
    const auto n = static_cast<std::int32_t>(text.size());
    std::int32_t result = 0;
    for (std::int32_t p = 1; p <= n; ++p) {
        const char c = text[static_cast<std::size_t>(p - 1)];
        if (c == '1' && p < n) {
            result += PowerInt(2, n - p);
        } else {
            result += TextToInt(std::string_view(&c, 1));
        }
    }
    return result;
}

std::string BaseFileName(std::string_view path) {
    const std::string_view stem =
        path.size() < 4 ? std::string_view{} : path.substr(0, path.size() - 4);
    const std::size_t slash = stem.rfind('/');
    return std::string(slash == std::string_view::npos ? stem : stem.substr(slash + 1));
}

}  // namespace pb
