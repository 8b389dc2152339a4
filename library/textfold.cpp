#include "library/textfold.h"

#include <cstdint>

#include "patch/utf8.h"

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

}  // namespace

std::string Fold(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        std::uint32_t c = utf8::Decode(text, i, length);
        if (c == utf8::kInvalid) {
            out += text[i];
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
        utf8::Append(out, c);
    }
    return out;
}

}  // namespace orb8::library
