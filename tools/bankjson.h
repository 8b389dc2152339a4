// A bank as JSON: labels, names, every byte with its parameter name and
// display text, comments and the custom settings block. Import takes the values
// back and refuses any that do not fit their fields.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "patch/customsettings.h"
#include "patch/projectdocument.h"

namespace orb8 {

nlohmann::ordered_json BankToJson(const ProjectDocument& document, const CustomSettingsBlock& settings);

// Parses text as JSON; a key given twice in one object is refused like a
// syntax error. On a problem error says what it is.
nlohmann::json ParseBankJson(const std::string& text, std::string& error);

// Fields that say the same thing must agree: a "name" must match the name
// bytes 51..58, and a "comment" given with "commentBytes" must read as those
// bytes. A disagreement is refused, naming both.
// Fills document and settings from JSON; on a problem returns false with a
// one-line description in error and leaves both unchanged.
bool BankFromJson(const nlohmann::json& json, ProjectDocument& document, CustomSettingsBlock& settings,
                  std::string& error);

bool IsValidUtf8(const std::string& text);
// Bytes that are not UTF-8 as readable text (Latin-1), and in hexadecimal.
std::string ReadableText(const std::string& bytes);
std::string ToHex(const std::string& bytes);
bool FromHex(const std::string& hex, std::string& out);
// Text into JSON without loss: `key` holds it readably, and where its bytes
// are not UTF-8 (an old comment, a file name) `key`Bytes holds them exactly.
template <class Json>
void PutText(Json& object, const std::string& key, const std::string& bytes) {
    object[key] = ReadableText(bytes);
    if (!IsValidUtf8(bytes)) object[key + "Bytes"] = ToHex(bytes);
}

}  // namespace orb8
