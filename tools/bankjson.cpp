#include "tools/bankjson.h"

#include <algorithm>
#include <set>

#include "patch/effecttables.h"
#include "patch/utf8.h"

namespace orb8 {
namespace {

constexpr const char* kFormat = "ORB-8 bank";
constexpr int kVersion = 1;


struct Failure {
    std::string text;
};

[[noreturn]] void Fail(const std::string& text) { throw Failure{text}; }

long long IntegerAt(const nlohmann::json& j, const std::string& where) {
    if (!j.is_number_integer()) Fail(where + " is not a whole number");
    if (j.is_number_unsigned()) {
        const auto v = j.get<unsigned long long>();
        if (v > 1000000) Fail(where + " value " + std::to_string(v) + " is far out of range");
        return static_cast<long long>(v);
    }
    return j.get<long long>();
}

}  // namespace

nlohmann::json ParseBankJson(const std::string& text, std::string& error) {
    error.clear();
    std::vector<std::set<std::string>> keys;  // the keys seen in each open object
    std::string duplicate;
    // A bank has some 30000 values. Past a generous limit values are dropped
    // as they are read, so a huge input can't take the memory.
    constexpr long kValueLimit = 200000;
    long values = 0;
    auto callback = [&](int, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        if (event == Event::value || event == Event::object_start || event == Event::array_start) {
            if (++values > kValueLimit) return false;
        }
        if (event == Event::object_start) keys.emplace_back();
        else if (event == Event::object_end && !keys.empty()) keys.pop_back();
        else if (event == Event::key && !keys.empty() && parsed.is_string()) {
            if (!keys.back().insert(parsed.get<std::string>()).second && duplicate.empty())
                duplicate = parsed.get<std::string>();
        }
        return true;
    };
    nlohmann::json json = nlohmann::json::parse(text, callback, false);
    if (json.is_discarded()) {
        error = "not valid JSON";
        return {};
    }
    if (values > kValueLimit) {
        error = "it holds far more values than a bank (over " + std::to_string(kValueLimit) + ")";
        return {};
    }
    if (!duplicate.empty()) {
        error = "the key \"" + duplicate + "\" is given twice in one object";
        return {};
    }
    return json;
}

std::string ToHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

// Bytes that are not UTF-8 are shown as Latin-1, so the text stays readable.
std::string ReadableText(const std::string& bytes) {
    if (IsValidUtf8(bytes)) return bytes;
    std::string text;
    for (unsigned char c : bytes) {
        utf8::Append(text, c);  // a byte as the Latin-1 character of its value
    }
    return text;
}

bool FromHex(const std::string& hex, std::string& out) {
    if (hex.size() % 2) return false;
    auto value = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    out.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int h = value(hex[i]), l = value(hex[i + 1]);
        if (h < 0 || l < 0) return false;
        out += static_cast<char>(h * 16 + l);
    }
    return true;
}

bool IsValidUtf8(const std::string& text) { return utf8::Valid(text); }

nlohmann::ordered_json BankToJson(const ProjectDocument& document, const CustomSettingsBlock& settings) {
    nlohmann::ordered_json root;
    root["format"] = kFormat;
    root["version"] = kVersion;
    root["customSettings"] = settings;
    auto& patches = root["patches"] = nlohmann::ordered_json::array();
    for (int i = 0; i < kPatchCount; ++i) {
        const PatchData& p = document.patches[static_cast<std::size_t>(i)];
        const std::string& comment = document.comments[static_cast<std::size_t>(i)];
        nlohmann::ordered_json patch;
        patch["label"] = PatchLabel(i);
        patch["name"] = DecodeName(p);
        patch["comment"] = ReadableText(comment);
        if (!IsValidUtf8(comment)) patch["commentBytes"] = ToHex(comment);
        auto& params = patch["parameters"] = nlohmann::ordered_json::array();
        for (int b = 0; b < kPatchBytes; ++b) {
            params.push_back({{"byte", b},
                              {"parameter", PatchByteName(p, b, settings)},
                              {"value", p[static_cast<std::size_t>(b)]},
                              {"text", PatchByteText(p, b, settings)}});
        }
        patches.push_back(std::move(patch));
    }
    return root;
}

bool BankFromJson(const nlohmann::json& json, ProjectDocument& document, CustomSettingsBlock& settings,
                  std::string& error) {
    try {
        if (!json.is_object()) Fail("the top level is not an object");
        if (json.contains("format") && json["format"] != kFormat) Fail("\"format\" is not \"" + std::string(kFormat) + "\"");
        if (json.contains("version") && json["version"] != kVersion)
            Fail("version " + json["version"].dump() + " is not supported");

        CustomSettingsBlock newSettings = DefaultCustomSettings();
        if (json.contains("customSettings")) {
            const auto& cs = json["customSettings"];
            if (!cs.is_array() || cs.size() != kCustomSettingsBytes) Fail("\"customSettings\" must be 92 numbers");
            for (std::size_t i = 0; i < cs.size(); ++i) {
                const long long v = IntegerAt(cs[i], "customSettings[" + std::to_string(i) + "]");
                if (v < 0 || v > 255) Fail("customSettings[" + std::to_string(i) + "] value " + std::to_string(v) + " is not a byte");
                newSettings[i] = static_cast<std::uint8_t>(v);
            }
        }

        if (!json.contains("patches") || !json["patches"].is_array()) Fail("\"patches\" is missing or not a list");
        const auto& list = json["patches"];
        if (list.size() != kPatchCount) Fail("\"patches\" has " + std::to_string(list.size()) + " entries, a bank has 80");

        ProjectDocument next;
        for (int i = 0; i < kPatchCount; ++i) {
            const auto& entry = list[static_cast<std::size_t>(i)];
            const std::string where = "patch " + PatchLabel(i);
            if (!entry.is_object()) Fail(where + " is not an object");
            if (entry.contains("label") && entry["label"] != PatchLabel(i))
                Fail(where + ": its label is " + entry["label"].dump() + ", patches must stay in bank order");
            if (!entry.contains("parameters") || !entry["parameters"].is_array())
                Fail(where + ": \"parameters\" is missing or not a list");

            PatchData patch{};
            bool seen[kPatchBytes] = {};
            for (const auto& param : entry["parameters"]) {
                if (!param.is_object() || !param.contains("byte") || !param.contains("value"))
                    Fail(where + ": a parameter needs \"byte\" and \"value\"");
                const long long byte = IntegerAt(param["byte"], where + " byte number");
                if (byte < 0 || byte >= kPatchBytes) Fail(where + ": byte " + std::to_string(byte) + " does not exist (0..64)");
                const std::string at = where + " byte " + std::to_string(byte);
                if (seen[byte]) Fail(at + " is given twice");
                seen[byte] = true;
                const long long value = IntegerAt(param["value"], at);
                const int bits = PatchByteBits(static_cast<int>(byte));
                const long long limit = (1LL << bits) - 1;
                if (value < 0 || value > limit) {
                    Fail(at + " (" + PatchByteName(patch, static_cast<int>(byte), newSettings) + ") value " +
                         std::to_string(value) +
                         (bits ? " does not fit its " + std::to_string(bits) + "-bit field (0.." + std::to_string(limit) + ")"
                               : " must be 0 (the byte is not stored)"));
                }
                patch[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(value);
            }
            for (int b = 0; b < kPatchBytes; ++b) {
                if (!seen[b]) Fail(where + ": byte " + std::to_string(b) + " is missing");
            }

            // The name bytes are the name; "name" is there for reading and must agree.
            if (entry.contains("name")) {
                if (!entry["name"].is_string()) Fail(where + ": \"name\" is not text");
                const std::string name = entry["name"];
                if (name != DecodeName(patch)) switch (CheckName(name)) {
                    case NameCheck::Valid: break;
                    case NameCheck::Empty: break;  // an empty name is eight spaces
                    case NameCheck::TooLong: Fail(where + ": name \"" + name + "\" is longer than 8 characters");
                    case NameCheck::InvalidCharacter:
                        Fail(where + ": name \"" + name + "\" has a character the ORB-8 cannot show");
                }
                PatchData named = patch;
                EncodeName(name, named);
                if (name != DecodeName(patch) && !std::equal(named.begin() + Name0, named.begin() + Name0 + kNameLength, patch.begin() + Name0))
                    Fail(where + ": \"name\" is \"" + name + "\" but bytes 51..58 hold \"" + DecodeName(patch) +
                         "\"; change both, or leave \"name\" out");
            }

            std::string comment;
            if (entry.contains("comment")) {
                if (!entry["comment"].is_string()) Fail(where + ": \"comment\" is not text");
                comment = entry["comment"];
            }
            if (entry.contains("commentBytes")) {
                std::string bytes;
                if (!entry["commentBytes"].is_string() || !FromHex(entry["commentBytes"], bytes))
                    Fail(where + ": \"commentBytes\" is not hexadecimal");
                if (entry.contains("comment") && ReadableText(bytes) != comment)
                    Fail(where + ": \"comment\" and \"commentBytes\" disagree; change one and leave the other out");
                comment = bytes;
            }
            if (comment.find('\0') != std::string::npos) Fail(where + ": the comment holds a zero byte");
            if (comment.size() > static_cast<std::size_t>(kCommentMaxBytes))
                Fail(where + ": the comment has " + std::to_string(comment.size()) + " bytes, at most 255 fit");

            next.patches[static_cast<std::size_t>(i)] = patch;
            next.comments[static_cast<std::size_t>(i)] = comment;
        }
        next.PackAll();
        next.fileName = document.fileName;
        document = next;
        settings = newSettings;
        return true;
    } catch (const Failure& f) {
        error = f.text;
    } catch (const nlohmann::json::exception& e) {
        error = e.what();
    }
    return false;
}

}  // namespace orb8
