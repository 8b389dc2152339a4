// Any text typed into a designer's edit gives a code inside its range.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "customdist/filterrecord.h"
#include "patch/patchdata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int freq = orb8::FreqCodeFromText(text), gain = orb8::GainCodeFromText(text), q = orb8::QCodeFromText(text);
    if (freq < 0 || freq > 1296 || gain < 0 || gain > 240 || q < 1 || q > 500) std::abort();
    const double v = orb8::ParseRealPrefix(text);
    if (v != v) std::abort();  // never NaN
    (void)orb8::CheckName(text);
    return 0;
}
