#include "core/common/ShiftJis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace pb {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One iconv descriptor per conversion call keeps the codec free of shared state.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; returns the errno that stopped it (0 when done).
    int Run(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[256];
        while (inLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
            const int err = errno;
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc == static_cast<std::size_t>(-1) && err != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
                return err;
            }
        }
        return 0;
    }

  private:
    iconv_t cd_;
};

bool IsSjisTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Bytes of the broken UTF-8 sequence at the front of `text`: the lead byte and
// the continuation bytes that follow it, so a sequence cut short never takes the
// next character with it.
std::size_t BrokenUtf8Length(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 1;
    if (lead >= 0xC0) {
        const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        while (length < expected && length < text.size() &&
               (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
            ++length;
        }
    }
    return length;
}

}  // namespace

bool IsAsciiText(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsSjisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

DecodedText DecodeSjis(std::string_view bytes) {
    if (IsAsciiText(bytes))
        return {std::string(bytes), false};
    DecodedText result;
    Converter conv("UTF-8", "CP932");
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        if (conv.Run(in, left, result.text) == 0)
            break;
        // A well-formed pair that the code page does not map is one character; a
        // lead byte without a proper trail byte is one damaged byte, and whatever
        // follows it is read on its own.
        result.text.append(kReplacement);
        result.lossy = true;
        const auto lead = static_cast<unsigned char>(in[0]);
        const bool pair =
            IsSjisLeadByte(lead) && left >= 2 && IsSjisTrailByte(static_cast<unsigned char>(in[1]));
        const std::size_t skip = pair ? 2 : 1;
        in += skip;
        left -= skip;
    }
    return result;
}

std::string EncodeSjis(std::string_view utf8) {
    if (IsAsciiText(utf8))
        return std::string(utf8);
    std::string out;
    Converter conv("CP932", "UTF-8");
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (left > 0) {
        if (conv.Run(in, left, out) == 0)
            break;
        out.push_back('?');
        const std::size_t skip = BrokenUtf8Length(std::string_view(in, left));
        in += skip;
        left -= skip;
    }
    return out;
}

std::string FirstUnencodable(std::string_view utf8) {
    if (IsAsciiText(utf8))
        return {};
    std::string ignored;
    Converter conv("CP932", "UTF-8");
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    if (conv.Run(in, left, ignored) == 0)
        return {};
    return std::string(in, BrokenUtf8Length(std::string_view(in, left)));
}

std::size_t SjisCutLength(std::string_view sjis, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < sjis.size()) {
        const std::size_t width = IsSjisLeadByte(static_cast<unsigned char>(sjis[pos])) ? 2 : 1;
        if (pos + width > maxBytes || pos + width > sjis.size())
            break;
        pos += width;
    }
    return pos;
}

std::string CutSjis(std::string_view sjis, std::size_t maxBytes) {
    return std::string(sjis.substr(0, SjisCutLength(sjis, maxBytes)));
}

std::string VisibleText(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            shown += "\uFFFD";
        else
            shown += c;
    }
    return shown;
}

}  // namespace pb
