// Any bytes as a recovery record left by a program that did not end
// normally: refused with a reason, or a record that encodes back to them.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "workspace/recovery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    std::string why;
    const auto record = orb8::DecodeRecoveryRecord(bytes, why);
    if (!record) {
        if (why.empty()) std::abort();
        return 0;
    }
    const auto again = orb8::EncodeRecoveryRecord(*record);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
    return 0;
}
