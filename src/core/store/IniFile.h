#pragma once
// A profile (INI) file edited key by key the way the settings file has always been:
// section and key names match without regard to case, the first of duplicate
// sections or keys counts, and everything this program does not touch (other
// sections and keys, comments, blank lines, their order, the line endings and a
// byte-order mark) is written back exactly as it was read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pb {

class IniFile {
  public:
    // An empty file; lines added to it end in CRLF.
    IniFile() = default;
    static IniFile Parse(std::string_view content);

    // The value of `key` in `section`, blanks around it and one pair of enclosing
    // quotes removed; nothing when the section or key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Sets the value of the first such key; a missing key is added after the last
    // key of its section, a missing section is appended at the end.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

  private:
    struct Line {
        std::string text;
        std::string eol;  // "\r\n", "\n", or "" for a last line without one
    };

    // Index of the first header of `section`, or lines_.size().
    std::size_t FindSection(std::string_view section) const;
    // One past the last line of the section whose header is at `header`.
    std::size_t SectionEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
    void InsertLine(std::size_t at, std::string text);

    std::string bom_;
    std::vector<Line> lines_;
    std::string newline_ = "\r\n";
};

// The integer of a profile value: decimal with an optional sign, or hexadecimal
// (up to 32 bits) after "0x"/"0X" (when longer than two characters) or "$".
// Anything else, including an empty text, is nothing.
std::optional<std::int32_t> ProfileInteger(std::string_view value);

}  // namespace pb
