// The Shift-JIS codec over any bytes: stored texts, and typed texts that are no
// proper UTF-8.

#include <cstdlib>

#include "core/common/ShiftJis.h"
#include "fuzz/FuzzFolder.h"

namespace {

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

void Require(bool holds) {
    if (!holds)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pb;
    const std::string_view bytes = fuzz::AsText(data, size);

    // Whatever a file holds shows as text, and a name shown and stored again
    // reads back as the same text.
    const DecodedText decoded = DecodeSjis(bytes);
    Require(IsUtf8(decoded.text));
    const std::string encoded = EncodeSjis(decoded.text);
    if (!decoded.lossy)
        Require(DecodeSjis(encoded).text == decoded.text);
    EncodeSjis(bytes);

    // A cut keeps a prefix within the limit and loses at most half a character.
    for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, size / 2, std::size_t{20}}) {
        const std::string cut = CutSjis(bytes, limit);
        Require(cut.size() <= limit && bytes.starts_with(cut));
        Require(cut.size() + 1 >= std::min(limit, size));
    }
    return 0;
}
