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

// Fills document and settings from JSON; on a problem returns false with a
// one-line description in error and leaves both unchanged.
bool BankFromJson(const nlohmann::json& json, ProjectDocument& document, CustomSettingsBlock& settings,
                  std::string& error);

bool IsValidUtf8(const std::string& text);

}  // namespace orb8
