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

std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

}  // namespace

bool IsSjisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

DecodedText DecodeSjis(std::string_view bytes) {
    DecodedText result;
    Converter conv("UTF-8", "CP932");
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        if (conv.Run(in, left, result.text) == 0) break;
        // Skip the offending byte (a lead byte with a bad trail byte counts as one).
        result.text.append(kReplacement);
        result.lossy = true;
        const unsigned char lead = static_cast<unsigned char>(*in);
        const std::size_t skip = (IsSjisLeadByte(lead) && left >= 2) ? 2 : 1;
        in += skip;
        left -= skip;
    }
    return result;
}

std::string EncodeSjis(std::string_view utf8) {
    std::string out;
    Converter conv("CP932", "UTF-8");
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (left > 0) {
        if (conv.Run(in, left, out) == 0) break;
        out.push_back('?');
        const std::size_t skip =
            std::min(left, Utf8SequenceLength(static_cast<unsigned char>(*in)));
        in += skip;
        left -= skip;
    }
    return out;
}

std::size_t SjisCutLength(std::string_view sjis, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < sjis.size()) {
        const std::size_t width =
            IsSjisLeadByte(static_cast<unsigned char>(sjis[pos])) ? 2 : 1;
        if (pos + width > maxBytes || pos + width > sjis.size()) break;
        pos += width;
    }
    return pos;
}

std::string CutSjis(std::string_view sjis, std::size_t maxBytes) {
    return std::string(sjis.substr(0, SjisCutLength(sjis, maxBytes)));
}

}  // namespace pb
