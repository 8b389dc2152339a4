#include "midi/rtmidibackend.h"

#include <jack/jack.h>
#include <unistd.h>

#include <RtMidi.h>
#include <condition_variable>
#include <mutex>

#include "midi/portoutput.h"

namespace orb8 {
namespace {

void SilentRtMidiError(RtMidiError::Type, const std::string&, void*) {}
void SilentJack(const char*) {}

RtMidi::Api ToRtMidi(RealMidiApi api) { return api == RealMidiApi::Alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK; }

struct InputState {
    MidiReceiveHandler handler;
};

void InputCallback(double, std::vector<unsigned char>* message, void* user) {
    if (!message || message->empty()) return;
    auto* state = static_cast<InputState*>(user);
    state->handler(std::vector<std::uint8_t>(message->begin(), message->end()));
}

class RtMidiInPort : public MidiIn {
public:
    RtMidiInPort(std::unique_ptr<RtMidiIn> in, std::unique_ptr<InputState> state)
        : in_(std::move(in)), state_(std::move(state)) {}
    ~RtMidiInPort() override {
        try {
            in_->cancelCallback();
            in_->closePort();
        } catch (...) {
        }
    }

private:
    std::unique_ptr<RtMidiIn> in_;
    std::unique_ptr<InputState> state_;
};

// A JACK client of our own that only listens for the server's shutdown.
class JackWatch {
public:
    explicit JackWatch(const std::string& name) {
        jack_status_t status{};
        client_ = jack_client_open(name.c_str(), JackNoStartServer, &status);
        if (!client_) return;
        jack_on_shutdown(client_, &JackWatch::Shutdown, this);
        jack_activate(client_);
    }
    ~JackWatch() {
        SetHandler({});
        // After a shutdown the client is left as it is: closing it would talk
        // to a server that is gone.
        if (client_ && !gone_) {
            jack_deactivate(client_);
            jack_client_close(client_);
        }
    }
    void SetHandler(MidiLostHandler handler) {
        std::unique_lock lock(mutex_);
        handlerDone_.wait(lock, [&] { return !inHandler_; });
        handler_ = std::move(handler);
        if (gone_ && handler_) {
            auto h = handler_;
            lock.unlock();
            h(kReason);
        }
    }

private:
    static constexpr const char* kReason = "the JACK server has shut down";
    static void Shutdown(void* self) {
        auto* watch = static_cast<JackWatch*>(self);
        MidiLostHandler handler;
        {
            std::lock_guard lock(watch->mutex_);
            watch->gone_ = true;
            handler = watch->handler_;
            watch->inHandler_ = static_cast<bool>(handler);
        }
        if (!handler) return;
        handler(kReason);
        {
            std::lock_guard lock(watch->mutex_);
            watch->inHandler_ = false;
        }
        watch->handlerDone_.notify_all();
    }

    jack_client_t* client_ = nullptr;
    std::mutex mutex_;
    std::condition_variable handlerDone_;
    MidiLostHandler handler_;
    bool gone_ = false, inHandler_ = false;
};

class RtMidiBackend : public MidiBackend {
public:
    RtMidiBackend(RealMidiApi api, std::string client) : api_(api), client_(std::move(client)) {
        if (api_ == RealMidiApi::Jack) watch_ = std::make_unique<JackWatch>(client_ + " watch");
    }

    void SetLostHandler(MidiLostHandler handler) override {
        if (watch_) watch_->SetHandler(std::move(handler));
    }

    std::string Name() const override { return api_ == RealMidiApi::Alsa ? "ALSA" : "JACK"; }

    std::vector<std::string> OutputNames() override {
        std::vector<std::string> names;
        try {
            RtMidiOut probe(ToRtMidi(api_), client_ + " probe");
            probe.setErrorCallback(SilentRtMidiError);
            for (unsigned i = 0; i < probe.getPortCount(); ++i) names.push_back(probe.getPortName(i));
        } catch (...) {
        }
        return names;
    }

    std::vector<std::string> InputNames() override {
        std::vector<std::string> names;
        try {
            RtMidiIn probe(ToRtMidi(api_), client_ + " probe");
            probe.setErrorCallback(SilentRtMidiError);
            for (unsigned i = 0; i < probe.getPortCount(); ++i) names.push_back(probe.getPortName(i));
        } catch (...) {
        }
        return names;
    }

    std::unique_ptr<MidiOut> OpenOutput(int index, int& result) override {
        try {
            auto out = std::make_shared<RtMidiOut>(ToRtMidi(api_), client_);
            out->setErrorCallback(SilentRtMidiError);
            if (index < 0 || static_cast<unsigned>(index) >= out->getPortCount()) {
                result = MidiOpenInvalidDevice;
                return nullptr;
            }
            out->openPort(static_cast<unsigned>(index), client_ + " out");
            if (!out->isPortOpen()) {
                result = MidiOpenBusy;
                return nullptr;
            }
            result = MidiOpenOk;
            RtMidiOut* raw = out.get();
            return std::make_unique<SystemPortOut>(
                [raw](std::span<const std::uint8_t> m) { raw->sendMessage(m.data(), m.size()); }, out);
        } catch (const std::bad_alloc&) {
            result = MidiOpenNoMemory;
        } catch (...) {
            result = MidiOpenError;
        }
        return nullptr;
    }

    std::unique_ptr<MidiIn> OpenInput(int index, MidiReceiveHandler handler, int& result) override {
        try {
            auto in = std::make_unique<RtMidiIn>(ToRtMidi(api_), client_, 1000);
            in->setErrorCallback(SilentRtMidiError);
            if (index < 0 || static_cast<unsigned>(index) >= in->getPortCount()) {
                result = MidiOpenInvalidDevice;
                return nullptr;
            }
            auto state = std::make_unique<InputState>();
            state->handler = std::move(handler);
            in->ignoreTypes(false, true, true);  // SysEx in; clock and active sensing out
            in->setCallback(InputCallback, state.get());
            in->openPort(static_cast<unsigned>(index), client_ + " in");
            if (!in->isPortOpen()) {
                result = MidiOpenBusy;
                return nullptr;
            }
            result = MidiOpenOk;
            return std::make_unique<RtMidiInPort>(std::move(in), std::move(state));
        } catch (const std::bad_alloc&) {
            result = MidiOpenNoMemory;
        } catch (...) {
            result = MidiOpenError;
        }
        return nullptr;
    }

private:
    RealMidiApi api_;
    std::string client_;
    std::unique_ptr<JackWatch> watch_;
};

}  // namespace

bool AlsaSequencerPresent() { return ::access("/dev/snd/seq", R_OK | W_OK) == 0; }

bool JackServerRunning() {
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        jack_set_error_function(SilentJack);
        jack_set_info_function(SilentJack);
    });
    jack_status_t status{};
    jack_client_t* client = jack_client_open("orb8ed-probe", JackNoStartServer, &status);
    if (!client) return false;
    jack_client_close(client);
    return true;
}

std::unique_ptr<JackShutdownWatch> WatchJackShutdown(const std::string& clientName, MidiLostHandler handler) {
    auto watch = std::make_unique<JackShutdownWatch>();
    auto inner = std::make_shared<JackWatch>(clientName);
    inner->SetHandler(std::move(handler));
    watch->keep = inner;
    return watch;
}

std::unique_ptr<MidiBackend> CreateRtMidiBackend(RealMidiApi api, const std::string& clientName) {
    if (api == RealMidiApi::Alsa && !AlsaSequencerPresent()) return nullptr;
    if (api == RealMidiApi::Jack && !JackServerRunning()) return nullptr;
    return std::make_unique<RtMidiBackend>(api, clientName);
}

}  // namespace orb8
