#pragma once
// The two pay schemes, and the wage code "Name.dat" keeps of an employee's
// scheme and wage generation. Files and settings hold a scheme as the number
// 1 or 2; the program converts where it reads or writes them and nowhere else.

#include <cstdint>
#include <optional>

namespace pb {

// 日給制 and 時給制.
enum class PayScheme { Daily = 1, Hourly = 2 };

// The number the files hold for `scheme`.
constexpr std::int32_t SchemeNumber(PayScheme scheme) {
    return static_cast<std::int32_t>(scheme);
}

// The scheme a number read from a file stands for: 2 is hourly, any other
// number daily, as the calculation has always read a month record.
constexpr PayScheme SchemeOfNumber(std::int32_t number) {
    return number == 2 ? PayScheme::Hourly : PayScheme::Daily;
}

// The scheme of 1 or 2; nothing for any other number.
constexpr std::optional<PayScheme> KnownScheme(std::int32_t number) {
    if (number == 1 || number == 2)
        return static_cast<PayScheme>(number);
    return std::nullopt;
}

// A choice of employees by pay scheme: one of the two, or nothing for both.
using SchemeFilter = std::optional<PayScheme>;
inline constexpr SchemeFilter kBothSchemes = std::nullopt;

// The wage code of "Name.dat": 1000 × the scheme's number + the generation of
// the wage record in force. 0 marks an employee only the payroll program keeps.
struct WagesCode {
    std::int32_t schemeNumber = 0;  // the thousands as stored: 1, 2; 0 payroll only
    std::int32_t generation = 0;    // 0 … 999

    static constexpr WagesCode Of(PayScheme scheme, std::int32_t generation) {
        return {SchemeNumber(scheme), generation};
    }
    static constexpr WagesCode Read(std::int32_t stored) { return {stored / 1000, stored % 1000}; }
    constexpr std::int32_t Stored() const { return 1000 * schemeNumber + generation; }

    // The scheme the code names, when it is one of the two.
    constexpr std::optional<PayScheme> Scheme() const { return KnownScheme(schemeNumber); }
    // Whether only the payroll program pays the employee.
    constexpr bool PayrollOnly() const { return schemeNumber == 0; }

    // Whether a stored code counts as one of `scheme`'s employees where the
    // lists select them: above 1000 × the number and below twice that.
    static constexpr bool IsOfScheme(std::int32_t stored, PayScheme scheme) {
        const std::int32_t number = SchemeNumber(scheme);
        return 1000 * number < stored && stored < 2000 * number;
    }
};

}  // namespace pb
