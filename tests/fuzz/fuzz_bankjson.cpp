// Any text as a bank in JSON: refused with a message or taken, never a crash,
// and a bank that is taken packs into fields that fit.
#include <cstdint>
#include <cstdlib>

#include "tools/bankjson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const nlohmann::json json = orb8::ParseBankJson(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!error.empty()) return 0;
    orb8::ProjectDocument doc;
    orb8::CustomSettingsBlock settings = orb8::DefaultCustomSettings();
    if (orb8::BankFromJson(json, doc, settings, error)) {
        for (const auto& p : doc.patches)
            if (orb8::Unpack(orb8::Pack(p)) != p) std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
