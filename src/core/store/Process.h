#pragma once
// Telling whether a process named in a file (the folder lock, a scratch name)
// still runs on this machine: a process id alone may have been given to
// another process since, so its start time is compared as well.

#include <optional>
#include <string>
#include <string_view>

namespace pb {

// A process id written as plain decimal digits; nothing when the text is not
// one or the number cannot be a process id (0, or past what pid_t holds).
std::optional<long> ProcessIdFrom(std::string_view text);

// When process `pid` started, in clock ticks since boot (field 22 of
// /proc/<pid>/stat); empty where the system does not say.
std::string ProcessStartTicks(long pid);

// Whether process `pid` runs on this machine and started at `ticks` (which
// are not compared when either side is unknown).
bool ProcessRuns(long pid, const std::string& ticks);

}  // namespace pb
