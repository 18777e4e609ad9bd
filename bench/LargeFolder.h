#pragma once
// A program folder the size of a large business: daily-wage employees with
// twelve months in each year file, saved month by month for everyone as the
// entry window saves them. Written with plain POSIX calls once per run.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/common/Routines.h"
#include "core/store/Records.h"

namespace bench {

inline void WriteFile(const std::string& path, const pb::Bytes& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        std::abort();
    ::close(fd);
}

inline void AppendBytes(pb::Bytes& to, const pb::Bytes& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

inline std::string Id(int n) {
    return pb::PadNumber(n, 3);
}

inline pb::DailyWagesRecord DailyWages(int n, int overPay = 1000) {
    pb::DailyWagesRecord wage;
    wage.ID = Id(n);
    wage.Current = 1;
    wage.Generation = 1;
    wage.WorkType = 7;
    wage.ClosingDay = 20;
    wage.HalfHoliday = 7;
    wage.Holiday = 1;
    wage.Holiday1 = 1;
    wage.WeekdayMorningPay = wage.WeekdayOverPay = overPay;
    wage.WeekdayEarMornPay = wage.WeekdayNightPay = 1100;
    wage.HolidayMorningPay = wage.HolidayOverPay = 1100;
    wage.HolidayEarMornPay = wage.HolidayNightPay = 1200;
    wage.TimeToStartWork = pb::TextToTime("08:00");
    wage.TimeToFinishWork = pb::TextToTime("17:00");
    wage.TimeToStartNight = pb::TextToTime("22:00");
    wage.TimeToFinishMorning = pb::TextToTime("05:00");
    wage.TimeToFinishWorkHH = pb::TextToTime("12:00");
    return wage;
}

inline pb::MonthRecord Month(int n, int month) {
    pb::MonthRecord m;
    m.ID = Id(n);
    m.PayScheme = 1;
    m.Month = static_cast<std::uint16_t>(month);
    m.DayCount = 31;
    for (int r = 0; r < 28; ++r) {
        m.Cells[0][r] = r % 7 == 0 ? "" : "07:40";
        m.Cells[1][r] = r % 3 == 0 ? "23:10" : "18:25";
    }
    return m;
}

// "Name.dat", "DailyWages.dat" and `years` year files from `firstYear` on in
// `folder` (ending in "/"); NextCell.dat is copied from `nextCell` when given.
inline void WriteLargeFolder(const std::string& folder, int employees, int years,
                             int firstYear = 1999, const std::string& nextCell = {}) {
    pb::Bytes names, wages, year;
    for (int e = 1; e <= employees; ++e) {
        AppendBytes(names, pb::ToBytes(pb::NameRecord{Id(e), "社員 " + Id(e), 0, 1001}));
        AppendBytes(wages, pb::ToBytes(DailyWages(e)));
    }
    for (int m = 1; m <= 12; ++m)
        for (int e = 1; e <= employees; ++e)
            AppendBytes(year, pb::ToBytes(Month(e, m)));
    WriteFile(folder + "Name.dat", names);
    WriteFile(folder + "DailyWages.dat", wages);
    for (int y = firstYear; y < firstYear + years; ++y)
        WriteFile(folder + std::to_string(y) + "_fv2.pbk", year);
    if (!nextCell.empty() && std::filesystem::exists(nextCell))
        std::filesystem::copy_file(nextCell, folder + "NextCell.dat",
                                   std::filesystem::copy_options::overwrite_existing);
}

// A new folder under the system's temporary folder, ending in "/".
inline std::string MakeTempFolder(const char* prefix) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        std::abort();
    return pattern + "/";
}

}  // namespace bench
