#include "library/textfold.h"

#include <cstdint>

namespace orb8::library {

namespace {

// Base letters of U+00C0..U+017F, lower case; '\0' where there is none.
// (Arrays, not string views: the zeros are part of them.)
constexpr char kLatin1[] =
    "aaaaaaaceeeeiiii"    // C0..CF (C6 is AE: 'a')
    "dnooooo\0ouuuuyts"   // D0..DF (D7 multiplication sign, DE thorn, DF sharp s)
    "aaaaaaaceeeeiiii"    // E0..EF
    "dnooooo\0ouuuuyty";  // F0..FF (F7 division sign)
constexpr char kExtendedA[] =
    "aaaaaaccccccccdd"   // 100..10F
    "ddeeeeeeeeeegggg"   // 110..11F
    "gggghhhhiiiiiiii"   // 120..12F
    "iiiijjkkklllllll"   // 130..13F
    "lllnnnnnnnnnoooo"   // 140..14F
    "oooorrrrrrssssss"   // 150..15F
    "ssttttttuuuuuuuu"   // 160..16F
    "uuuuwwyyyzzzzzzs";  // 170..17F

void Append(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point at text[i] and its length; a byte that starts no valid
// sequence is taken alone, as itself (length 1, code 0xFFFFFFFF).
std::uint32_t Decode(std::string_view text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[i + k]); };
    const std::uint8_t b = byte(0);
    length = 1;
    int extra = 0;
    std::uint32_t c = 0;
    if (b < 0x80) return b;
    if ((b & 0xE0) == 0xC0)
        extra = 1, c = b & 0x1F;
    else if ((b & 0xF0) == 0xE0)
        extra = 2, c = b & 0x0F;
    else if ((b & 0xF8) == 0xF0)
        extra = 3, c = b & 0x07;
    else
        return 0xFFFFFFFF;
    if (i + static_cast<std::size_t>(extra) >= text.size()) return 0xFFFFFFFF;
    for (int k = 1; k <= extra; ++k) {
        if ((byte(static_cast<std::size_t>(k)) & 0xC0) != 0x80) return 0xFFFFFFFF;
        c = c << 6 | (byte(static_cast<std::size_t>(k)) & 0x3F);
    }
    static constexpr std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0xFFFFFFFF;
    length = static_cast<std::size_t>(extra) + 1;
    return c;
}

}  // namespace

std::string Fold(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 1;
        std::uint32_t c = Decode(utf8, i, length);
        if (c == 0xFFFFFFFF) {
            out += utf8[i];
            i += 1;
            continue;
        }
        i += length;
        if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
        else if (c >= 0xFF01 && c <= 0xFF5E) {  // full-width ASCII
            c -= 0xFF01 - 0x21;
            if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
        } else if (c >= 0xC0 && c <= 0xFF && kLatin1[c - 0xC0] != '\0') {
            c = static_cast<std::uint8_t>(kLatin1[c - 0xC0]);
        } else if (c >= 0x100 && c <= 0x17F) {
            c = static_cast<std::uint8_t>(kExtendedA[c - 0x100]);
        }
        Append(out, c);
    }
    return out;
}

}  // namespace orb8::library
