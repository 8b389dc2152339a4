#include "midi/midisystem.h"

#include <cctype>
#include <functional>
#include <mutex>

#include "midi/realmidi.h"

namespace orb8 {
namespace {

// The simulated ORB-8 as one input and one output device.
class SimulatorBackend : public MidiBackend {
public:
    // The device is made the first time a port of it is opened.
    explicit SimulatorBackend(std::function<SimulatedDevice&()> device) : device_(std::move(device)) {}
    std::string Name() const override { return "Simulator"; }
    std::vector<std::string> OutputNames() override { return {kSimulatorPortName}; }
    std::vector<std::string> InputNames() override { return {kSimulatorPortName}; }

    std::unique_ptr<MidiOut> OpenOutput(int index, int& result) override {
        std::lock_guard lock(mutex_);
        if (index != 0) return Fail(result, MidiOpenInvalidDevice);
        if (outputOpen_) return Fail(result, MidiOpenBusy);
        outputOpen_ = true;
        result = MidiOpenOk;
        return std::make_unique<Out>(*this);
    }

    std::unique_ptr<MidiIn> OpenInput(int index, MidiReceiveHandler handler, int& result) override {
        std::lock_guard lock(mutex_);
        if (index != 0) return Fail<MidiIn>(result, MidiOpenInvalidDevice);
        if (inputOpen_) return Fail<MidiIn>(result, MidiOpenBusy);
        inputOpen_ = true;
        device_().SetReplyHandler(std::move(handler));
        result = MidiOpenOk;
        return std::make_unique<In>(*this);
    }

private:
    template <class T = MidiOut>
    static std::unique_ptr<T> Fail(int& result, int code) {
        result = code;
        return nullptr;
    }
    struct Out : MidiOut {
        explicit Out(SimulatorBackend& b) : backend(b) {}
        ~Out() override {
            std::lock_guard lock(backend.mutex_);
            backend.outputOpen_ = false;
        }
        void Send(std::span<const std::uint8_t> message) override { backend.device_().Send(message); }
        bool Drain(std::chrono::milliseconds) override { return true; }
        SimulatorBackend& backend;
    };
    struct In : MidiIn {
        explicit In(SimulatorBackend& b) : backend(b) {}
        ~In() override {
            backend.device_().SetReplyHandler({});
            std::lock_guard lock(backend.mutex_);
            backend.inputOpen_ = false;
        }
        SimulatorBackend& backend;
    };

    std::function<SimulatedDevice&()> device_;
    std::mutex mutex_;
    bool outputOpen_ = false, inputOpen_ = false;
};

}  // namespace

MidiSystem::MidiSystem(MidiSystemOptions options) {
    if (options.realPorts) {
        if (auto alsa = CreateRealMidiBackend(RealMidiApi::Alsa, options.clientName, &problem_))
            real_.push_back(std::move(alsa));
        if (options.jack) AddRealBackend(CreateRealMidiBackend(RealMidiApi::Jack, options.clientName, &problem_));
    }
    if (options.simulator) {
        simulatorChannel_ = options.simulatorChannel;
        simulatorTiming_ = options.simulatorTiming;
        simBackend_ = std::make_unique<SimulatorBackend>([this]() -> SimulatedDevice& { return *Simulator(); });
    }
}

MidiSystem::MidiSystem(std::vector<std::unique_ptr<MidiBackend>> backends) : real_(std::move(backends)) {}

MidiSystem::~MidiSystem() = default;

SimulatedDevice* MidiSystem::Simulator() {
    if (!simBackend_) return nullptr;
    // Made on first use: its banks and thread cost the window program's start.
    std::call_once(simulatorMade_, [this] {
        simulator_ = std::make_unique<SimulatedDevice>(simulatorChannel_, simulatorTiming_);
    });
    return simulator_.get();
}

void MidiSystem::AddRealBackend(std::unique_ptr<MidiBackend> backend) {
    if (backend) real_.push_back(std::move(backend));
}

std::vector<MidiBackend*> MidiSystem::All() {
    std::vector<MidiBackend*> all;
    for (auto& b : real_) all.push_back(b.get());
    if (simBackend_) all.push_back(simBackend_.get());
    return all;
}

std::vector<std::string> MidiSystem::RealSystems() const {
    std::vector<std::string> names;
    for (const auto& b : real_) names.push_back(b->Name());
    return names;
}

std::vector<std::string> MidiSystem::OutputNames() {
    std::vector<std::string> names;
    for (MidiBackend* b : All()) {
        for (auto& n : b->OutputNames()) names.push_back(std::move(n));
    }
    return names;
}

std::vector<std::string> MidiSystem::InputNames() {
    std::vector<std::string> names;
    for (MidiBackend* b : All()) {
        for (auto& n : b->InputNames()) names.push_back(std::move(n));
    }
    return names;
}

std::unique_ptr<MidiOut> MidiSystem::OpenOutput(int device, int& result) {
    if (device >= 0) {
        for (MidiBackend* b : All()) {
            const int count = static_cast<int>(b->OutputNames().size());
            if (device < count) return b->OpenOutput(device, result);
            device -= count;
        }
    }
    result = MidiOpenInvalidDevice;
    return nullptr;
}

std::unique_ptr<MidiIn> MidiSystem::OpenInput(int device, MidiReceiveHandler handler, int& result) {
    if (device >= 0) {
        for (MidiBackend* b : All()) {
            const int count = static_cast<int>(b->InputNames().size());
            if (device < count) return b->OpenInput(device, std::move(handler), result);
            device -= count;
        }
    }
    result = MidiOpenInvalidDevice;
    return nullptr;
}

void MidiSystem::SetLostHandler(const MidiLostHandler& handler) {
    for (auto& b : real_) b->SetLostHandler(handler);
}

namespace {
std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}
}  // namespace

int MidiSystem::Find(const std::vector<std::string>& names, std::string_view key) {
    if (!key.empty() && key.find_first_not_of("0123456789") == std::string_view::npos) {
        if (key.size() > 6) return -1;
        const int n = std::stoi(std::string(key));
        return n < static_cast<int>(names.size()) ? n : -1;
    }
    if (key.empty()) return -1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == key) return static_cast<int>(i);
    }
    const std::string lowerKey = Lower(key);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (Lower(names[i]) == lowerKey) return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (Lower(names[i]).find(lowerKey) != std::string::npos) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace orb8
