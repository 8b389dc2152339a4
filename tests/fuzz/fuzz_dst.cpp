// Any bytes as a custom distortion file, then everything the designers and the
// transfers do with it: no undefined behaviour, every code inside its field,
// every nibble a nibble.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "customdist/customdistdata.h"
#include "customdist/response.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orb8::CustomDistData d = orb8::CustomDistData::NewDocument();
    d.ReadFileImage(std::span<const std::uint8_t>(data, size));
    for (int n = 0; n < orb8::kFilterCount; ++n) {
        const auto dump = d.FilterDumpData(n);
        for (int i = 0; i < orb8::kCoefNibbles; ++i)
            if (dump[static_cast<std::size_t>(i)] > 15) std::abort();
    }
    const orb8::FilterRecord* plot[] = {&d.filters[0], &d.filters[1], &d.filters[2]};
    (void)orb8::CurvePoints(orb8::ResponseLevels(plot), 397, 193);
    d.QuantiseAll();
    for (orb8::FilterRecord& f : d.filters) {
        orb8::ClampSettings(f);
        orb8::ComputeCoefficients(f);
        if (f.freq < 40 || f.freq > 13000 || f.q < 0.01 || f.q > 5) std::abort();
        for (auto n : f.coefNibbles)
            if (n > 15) std::abort();
        (void)orb8::FilterTypeText(f.type);
    }
    (void)orb8::CurvePoints(orb8::ResponseLevels(plot), 2, 2);
    if (d.FileImage().size() != static_cast<std::size_t>(orb8::kDstFileBytes)) std::abort();
    return 0;
}
