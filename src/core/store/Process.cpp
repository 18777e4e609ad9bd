#include "core/store/Process.h"

#include <signal.h>
#include <sys/types.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>

namespace pb {

std::optional<long> ProcessIdFrom(std::string_view text) {
    // from_chars takes no sign or space and reports a number too large for its
    // type instead of clipping it.
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value <= 0 ||
        value > std::numeric_limits<pid_t>::max())
        return std::nullopt;
    return value;
}

std::string ProcessStartTicks(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    // The command name (field 2) may hold spaces and parentheses: count from its end.
    const auto close = stat.rfind(')');
    if (close == std::string::npos || close + 2 > stat.size())
        return {};
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int n = 3; n <= 22 && fields >> field; ++n) {
        if (n == 22)
            return field;
    }
    return {};
}

bool ProcessRuns(long pid, const std::string& ticks) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return false;
    const std::string actual = ProcessStartTicks(pid);
    return actual.empty() || ticks.empty() || actual == ticks;
}

}  // namespace pb
