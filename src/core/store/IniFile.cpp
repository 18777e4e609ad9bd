#include "core/store/IniFile.h"

#include <algorithm>
#include <charconv>

#include "core/common/Routines.h"

namespace pb {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// The name of a "[name]" line; nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

bool IsComment(std::string_view line) {
    line = Trim(line);
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// The key of a "key=value" line; nothing for a comment or a line without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || IsComment(line))
        return std::nullopt;
    return Trim(line.substr(0, eq));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char l = Lower(c);
    if (l >= 'a' && l <= 'f')
        return l - 'a' + 10;
    return -1;
}

}  // namespace

IniFile IniFile::Parse(std::string_view content) {
    IniFile file;
    if (content.starts_with(kBom)) {
        file.bom_ = kBom;
        content.remove_prefix(kBom.size());
    }
    bool newlineKnown = false;
    while (!content.empty()) {
        const std::size_t lf = content.find('\n');
        Line line;
        if (lf == std::string_view::npos) {
            line.text = content;
            content = {};
        } else {
            const bool crlf = lf > 0 && content[lf - 1] == '\r';
            line.text = content.substr(0, crlf ? lf - 1 : lf);
            line.eol = crlf ? "\r\n" : "\n";
            content.remove_prefix(lf + 1);
            // Lines this program adds end the way the file's first line does.
            if (!newlineKnown) {
                file.newline_ = line.eol;
                newlineKnown = true;
            }
        }
        file.lines_.push_back(std::move(line));
    }
    return file;
}

std::size_t IniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i].text);
        if (name && SameName(*name, section))
            return i;
    }
    return lines_.size();
}

std::size_t IniFile::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !SectionName(lines_[i].text))
        ++i;
    return i;
}

std::optional<std::size_t> IniFile::FindKey(std::size_t header, std::string_view key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto name = KeyName(lines_[i].text);
        if (name && SameName(*name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
    const std::size_t header = FindSection(section);
    if (header == lines_.size())
        return std::nullopt;
    const auto at = FindKey(header, key);
    if (!at)
        return std::nullopt;
    const std::string_view text = lines_[*at].text;
    std::string_view value = Trim(text.substr(text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

void IniFile::InsertLine(std::size_t at, std::string text) {
    // A last line without a line ending gets one before anything follows it.
    if (!lines_.empty() && lines_.back().eol.empty())
        lines_.back().eol = newline_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  Line{std::move(text), newline_});
}

void IniFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        InsertLine(lines_.size(), "[" + std::string(section) + "]");
        InsertLine(lines_.size(), std::string(key) + "=" + std::string(value));
        return;
    }
    if (const auto at = FindKey(header, key)) {
        // Keep the key as written and any blanks after "=": only the value changes.
        std::string& text = lines_[*at].text;
        std::size_t start = text.find('=') + 1;
        while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
            ++start;
        text = text.substr(0, start) + std::string(value);
        return;
    }
    // After the section's last key, so blank lines and comments that lead into the
    // next section stay with it.
    std::size_t insertAt = header + 1;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (KeyName(lines_[i].text))
            insertAt = i + 1;
    }
    InsertLine(insertAt, std::string(key) + "=" + std::string(value));
}

std::string IniFile::Text() const {
    std::string out = bom_;
    for (const Line& line : lines_)
        out += line.text + line.eol;
    return out;
}

std::optional<std::int32_t> ProfileInteger(std::string_view value) {
    std::string_view digits;
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        digits = value.substr(2);
    } else if (value.starts_with('$')) {
        digits = value.substr(1);
    } else {
        if (!IsIntegerText(value))
            return std::nullopt;
        if (value.starts_with('+'))
            value.remove_prefix(1);
        std::int32_t number = 0;
        std::from_chars(value.data(), value.data() + value.size(), number);
        return number;
    }
    if (digits.empty())
        return std::nullopt;
    std::uint64_t number = 0;
    for (const char c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        number = number * 16 + static_cast<std::uint64_t>(d);
        if (number > 0xFFFFFFFFu)
            return std::nullopt;
    }
    // Eight hex digits are the 32 bits of the value, as colours are written.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

}  // namespace pb
