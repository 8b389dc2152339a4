#include "patch/utf8.h"

namespace orb8::utf8 {

std::size_t CodePoints(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) n += !IsContinuation(c);
    return n;
}

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
        return kInvalid;
    if (i + static_cast<std::size_t>(extra) >= text.size()) return kInvalid;
    for (int k = 1; k <= extra; ++k) {
        if (!IsContinuation(byte(static_cast<std::size_t>(k)))) return kInvalid;
        c = c << 6 | (byte(static_cast<std::size_t>(k)) & 0x3F);
    }
    static constexpr std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kInvalid;
    length = static_cast<std::size_t>(extra) + 1;
    return c;
}

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

bool Valid(std::string_view text) {
    for (std::size_t i = 0, length = 0; i < text.size(); i += length)
        if (Decode(text, i, length) == kInvalid) return false;
    return true;
}

std::size_t NextCharacter(std::string_view text, std::size_t i) {
    std::size_t next = i + 1;
    while (next < text.size() && IsContinuation(text[next])) ++next;
    return next;
}

}  // namespace orb8::utf8
