// Any bytes sent to the simulated ORB-8: it answers or not, and never reads
// past a message.
#include <cstdint>
#include <span>

#include "sim/orb8simulator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orb8::Orb8Simulator sim(0);
    // The first byte chooses the start of a message; the rest is taken as is.
    if (size > 0 && data[0] & 1) {
        std::vector<std::uint8_t> m = {0xF0, 0x52, 0x00, 0x21};
        m.insert(m.end(), data + 1, data + size);
        sim.Receive(m);
    } else {
        sim.Receive(std::span<const std::uint8_t>(data, size));
    }
    if (sim.Log().size() > 10000) sim.ClearLog();
    return 0;
}
