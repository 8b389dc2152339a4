// Any text as a bank in JSON: refused with a message or taken, never a crash,
// and a bank that is taken packs into fields that fit.
#include <cstdint>
#include <cstdlib>

#include "tools/bankjson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const nlohmann::json json = nlohmann::json::parse(data, data + size, nullptr, false);
    if (json.is_discarded()) return 0;
    orb8::ProjectDocument doc;
    orb8::CustomSettingsBlock settings = orb8::DefaultCustomSettings();
    std::string error;
    if (orb8::BankFromJson(json, doc, settings, error)) {
        for (const auto& p : doc.patches)
            if (orb8::Unpack(orb8::Pack(p)) != p) std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
