#pragma once
// Shift-JIS (code page 932) text as the data files hold it, converted to and
// from the UTF-8 the program works in.

#include <cstddef>
#include <string>
#include <string_view>

namespace pb {

struct DecodedText {
    std::string text;    // UTF-8
    bool lossy = false;  // some bytes did not decode and became U+FFFD
};

// Decodes CP932 bytes to UTF-8; every byte sequence that does not decode
// becomes U+FFFD and the result is flagged.
DecodedText DecodeSjis(std::string_view bytes);

// Encodes UTF-8 to CP932; a character the code page lacks becomes "?".
std::string EncodeSjis(std::string_view utf8);

// The first character of `utf8` that CP932 cannot hold (its UTF-8 bytes), or
// empty when the whole text can be stored as it stands.
std::string FirstUnencodable(std::string_view utf8);

// Length of the longest prefix of `sjis` of at most `maxBytes` bytes that does
// not end inside a double-byte character.
std::size_t SjisCutLength(std::string_view sjis, std::size_t maxBytes);

// `sjis` cut to at most `maxBytes` bytes at a character boundary.
std::string CutSjis(std::string_view sjis, std::size_t maxBytes);

// `utf8` with every control character (U+0000 … U+001F, U+007F) as U+FFFD: a
// text of the files quoted in a message neither cuts it (a NUL ends the C
// string an error's text travels as) nor breaks its lines.
std::string VisibleText(std::string_view utf8);

// True for a byte that starts a double-byte CP932 character.
bool IsSjisLeadByte(unsigned char byte);

// Below 0x80 the code page is ASCII, byte for byte: most stored texts (IDs,
// clock times) need no converter, which costs more to open than they take.
bool IsAsciiText(std::string_view text);

}  // namespace pb
