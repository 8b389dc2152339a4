// Any bytes as a project file: loading, showing every value, packing again and
// writing the file back stay within their bounds and keep every field.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "patch/effecttables.h"
#include "patch/projectdocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(orb8::kProjectFileBytes, 0);
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    orb8::ProjectDocument doc;
    if (!doc.FromFileImage(bytes)) std::abort();
    const orb8::CustomSettingsBlock settings = doc.customSettings;
    if (std::memcmp(settings.data(), bytes.data() + 23840, settings.size()) != 0) std::abort();
    // The rows the input reaches; the rest are new-project rows, tested elsewhere.
    const int rows = std::min<int>(orb8::kPatchCount, static_cast<int>(size / orb8::kPatchRecordBytes) + 1);
    for (int row = 1; row <= rows; ++row) {
        const auto texts = orb8::ProjectRowTexts(doc, row);
        if (texts[1].size() != 8) std::abort();
        for (int b = 0; b < orb8::kPatchBytes; ++b) {
            (void)orb8::PatchByteText(doc.PatchOfRow(row), b, settings);
            (void)orb8::PatchByteName(doc.PatchOfRow(row), b, settings);
        }
    }
    const std::vector<std::uint8_t> saved = doc.FileImage();
    if (std::memcmp(saved.data() + 23840, settings.data(), settings.size()) != 0) std::abort();
    for (int i = 0; i < rows; ++i) {
        // Every packed field survives; only the 6 pad bits at the end are cleared.
        const std::uint8_t* a = bytes.data() + i * 298;
        const std::uint8_t* b = saved.data() + i * 298;
        if (std::memcmp(a, b, 41) != 0 || (a[41] & 0x03) != b[41]) std::abort();
    }
    return 0;
}
