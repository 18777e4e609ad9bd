#pragma once
// Files of the previous generation, built byte by byte as that program wrote them.

#include <string>
#include <vector>

#include "core/common/RecordFields.h"

namespace pb::old {

struct Employee {
    std::string id;
    std::string name;
    int current = 1;
    int generation = 1;
    int workType = 7;
    int closingDay = 20;
    int halfHoliday = -1;
    int timePay = 0;
    int overPay = 1200;
    int nightPay = 1500;
    int earMornPay = 1300;
};

inline Bytes EmployeeBytes(const Employee& e) {
    Bytes b(88, 0xCC);  // filler the reader must not look at
    PutShortString(b, 0, 3, e.id);
    PutShortString(b, 4, 20, e.name);
    PutByte(b, 25, static_cast<std::uint8_t>(e.current));
    PutByte(b, 26, static_cast<std::uint8_t>(e.generation));
    PutByte(b, 27, static_cast<std::uint8_t>(e.workType));
    PutByte(b, 28, static_cast<std::uint8_t>(e.closingDay));
    PutByte(b, 29, static_cast<std::uint8_t>(e.halfHoliday));
    PutInt32(b, 32, e.timePay);
    PutInt32(b, 36, e.overPay);
    PutInt32(b, 40, e.nightPay);
    PutInt32(b, 44, e.earMornPay);
    PutDouble(b, 48, 0.375);
    PutDouble(b, 56, 0.75);
    PutDouble(b, 64, 22.0 / 24);
    PutDouble(b, 72, 6.0 / 24);
    PutDouble(b, 80, 0.5);
    return b;
}

inline Bytes Employees(const std::vector<Employee>& list) {
    Bytes all;
    for (const auto& e : list) {
        const Bytes b = EmployeeBytes(e);
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}

struct Month {
    int generation = 1;
    int year = 1999;
    int month = 4;
    int totalOverPay = 4500;
    std::string totalOverTime = "12:30";
};

// Day r of column c holds a text that names both, e.g. "c2r07".
inline std::string CellText(int column, int row) {
    return "c" + std::to_string(column) + "r" + (row < 10 ? "0" : "") + std::to_string(row);
}

inline Bytes MonthBytes(const Month& m) {
    Bytes b(764, 0xCC);
    PutByte(b, 0, static_cast<std::uint8_t>(m.generation));
    PutUInt16(b, 2, static_cast<std::uint16_t>(m.year));
    PutUInt16(b, 4, static_cast<std::uint16_t>(m.month));
    for (int c = 1; c <= 4; ++c) {
        for (int r = 1; r <= 31; ++r)
            PutShortString(b, 6 + (c - 1) * 186 + (r - 1) * 6, 5, CellText(c, r));
    }
    PutInt32(b, 752, m.totalOverPay);
    PutShortString(b, 756, 7, m.totalOverTime);
    return b;
}

inline Bytes Months(const std::vector<Month>& list) {
    Bytes all;
    for (const auto& m : list) {
        const Bytes b = MonthBytes(m);
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}

}  // namespace pb::old
