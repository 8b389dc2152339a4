// UTF-8 as the program reads and writes it: characters counted, decoded,
// encoded and checked in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orb8::utf8 {

inline constexpr std::uint32_t kInvalid = 0xFFFFFFFF;

inline bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
inline bool IsContinuation(char byte) { return IsContinuation(static_cast<unsigned char>(byte)); }

// Characters: every byte but the continuation bytes.
std::size_t CodePoints(std::string_view text);
// The character at text[i] and its length in bytes; a byte that starts no
// valid sequence (too short, overlong, a surrogate, beyond U+10FFFF) is
// taken alone: kInvalid, length 1.
std::uint32_t Decode(std::string_view text, std::size_t i, std::size_t& length);
void Append(std::string& out, std::uint32_t c);
bool Valid(std::string_view text);
// The end of the character that starts at text[i] (past its continuation bytes).
std::size_t NextCharacter(std::string_view text, std::size_t i);

}  // namespace orb8::utf8
