// The program's side of the link to the processor: the reply state and work
// areas that the classifier fills, the on-line state and channel, and every
// exchange, each written once as plain sequential code over a DeviceHost.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <vector>
#include <optional>
#include <span>
#include <string>

#include "customdist/customdistdata.h"
#include "device/devicehost.h"
#include "device/messages.h"
#include "patch/projectdocument.h"

namespace orb8 {

enum class TransferResult {
    Completed,
    Declined,   // the user answered No
    NotOnLine,
    Aborted,
    Failed,     // "Data failure." was shown
    Rejected,   // the processor answered WriteReject
    Stopped,    // the processor answered WriteStop
    Busy,       // another exchange is running; nothing was done
};

std::string_view TransferResultText(TransferResult result);

class DeviceLink {
public:
    // Takes the host's returned receive buffers from now on.
    explicit DeviceLink(DeviceHost& host) : host_(host) {
        host_.onLong = [this](std::span<const std::uint8_t> recorded) { MidiLong(recorded); };
    }
    ~DeviceLink() { host_.onLong = nullptr; }
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // An exchange is running. No second one starts meanwhile, and no single
    // message goes out in the middle of its handshakes. An exchange may run on
    // a thread of its own: the state the windows read meanwhile is atomic, and
    // `areas` belongs to the exchange while it runs.
    bool Busy() const { return busy_; }

    ReplyState replyState = ReplyNone;
    std::atomic<int> deviceChannel = 0;
    std::atomic<bool> isOnLine = false;
    // areas.customSettings: the processor's custom settings block as far as
    // the program knows (read while going on line, written by Send All).
    DeviceWorkAreas areas;

    // The MIDI port's OnLong handler: classifies every returned receive buffer.
    void MidiLong(std::span<const std::uint8_t> recorded) { replyState = ClassifyReply(recorded, areas); }

    bool PortsOpen() const { return host_.OutputOpen() && host_.InputOpen(); }
    bool OutputOpen() const { return host_.OutputOpen(); }

    // What the last receive took in: patches, or filters and clippers.
    int lastReceived = 0;

    // Opens both ports and scans the 16 channels (or only channel `only`,
    // 0..15); true when an ORB-8 answered.
    bool OnLine(int only = -1);
    void OffLine();
    // The scan; returns the first channel with an ORB-8, or -1.
    int CheckOnLine(int only = -1);

    // What arrives plays through the processor's custom settings: a receive
    // that got any patch gives the bank the processor's block.
    TransferResult ReceiveAllPatches(ProjectDocument& project);
    // The bank's patches, then its own custom settings in the two settings pages.
    TransferResult SendAllPatches(const ProjectDocument& project);
    // Only the patches of `project` that differ from `known` (what the
    // processor holds as far as the program knows), each write acknowledged
    // as in Send All, then the settings pages only when the bank's custom
    // settings differ from the processor's; with `verify` those patches are
    // read back and compared. `report` says what went and what came back.
    struct ChangedReport {
        std::vector<int> sent;        // patch indices, in order
        bool settings = false;        // the settings pages went too
        bool verified = false;        // everything sent was read back
        std::vector<int> mismatched;  // read back otherwise than sent
    };
    TransferResult SendChangedPatches(const ProjectDocument& project, const ProjectDocument& known, bool verify,
                                      ChangedReport& report);
    // The patches that differ in what the processor stores of them.
    static std::vector<int> ChangedPatches(const ProjectDocument& project, const ProjectDocument& known);
    TransferResult ReceiveAllCustomDists(CustomDistDocument& document);
    TransferResult SendAllCustomDists(const CustomDistDocument& document);
    // Selects patch p on the processor and loads its edit buffer.
    TransferResult PatchChange(int patch, const PatchData& data);
    // Loads the edit buffer only: the processor plays `data` until another
    // patch is chosen, and no stored patch changes.
    TransferResult LoadEditBuffer(const PatchData& data);

    // Single messages of the editors; nothing is sent while the output is
    // closed. While an exchange runs they wait, in order, and go once it has
    // ended, so that the processor ends up holding what the editors show.
    void SendParameterChange(int parameter, int value);
    // A distortion character: five filters and the clipper of a set, sent as
    // the target set (set 0 in design mode).
    void SendDesignCharacter(const CustomDistData& data, int set, bool designMode);
    // One tone filter (slot 5, 6 or 7 of a set).
    void SendDesignToneFilter(const CustomDistData& data, int set, int slot, bool designMode);

    // Page 27 and page 30 as Send All composes them for a bank's block.
    SettingsPage ComposePage27(const CustomSettingsBlock& settings) const;
    SettingsPage ComposePage30(const CustomSettingsBlock& settings) const;

private:
    // Marks an exchange as running for its lifetime; the single messages
    // that came meanwhile go when it ends.
    class Exchange {
    public:
        explicit Exchange(DeviceLink& link) : link_(link) {
            std::lock_guard lock(link_.singleMutex_);
            link_.busy_ = true;
        }
        ~Exchange() { link_.EndExchange(); }

    private:
        DeviceLink& link_;
    };
    void EndExchange();
    // A single message: now, or after the running exchange.
    void SendSingle(Message message);
    std::atomic<bool> busy_ = false;
    std::mutex singleMutex_;
    std::vector<Message> waiting_;  // single messages held while an exchange runs

    enum class Wait { Reply, Abort, TimeLimit };
    Wait Request(const Message& message, int replyBytes,
                 std::optional<std::chrono::milliseconds> limit = std::nullopt);
    Wait WaitReply(std::optional<std::chrono::milliseconds> limit = std::nullopt);
    void Send(const Message& message) { host_.Send(message); }
    // Queues an acknowledgement buffer and sends a write.
    void SendForAck(const Message& message);
    // One pass of a write handshake: nothing on WriteAck, otherwise how the
    // transfer ends (WriteClose and "Data failure." already done as needed).
    std::optional<TransferResult> AwaitAck(bool stopIsFailure);
    void Status(const std::string& text);
    void ChannelItem(int channel, const std::string& caption, bool enabled, bool checked);
    TransferResult WriteSettingsPages(const CustomSettingsBlock& settings);
    // Reads the settings page, the filters and the clippers that the settings
    // pages carry (steps 1.. of `steps`); nothing, or how the transfer ends
    // (Failed: "Data failure." is still to be shown).
    std::optional<TransferResult> ReadPageSources(int steps);
    TransferResult WriteEditBuffer(std::optional<int> select, const PatchData& data);
    // The end of a transfer: the receive buffers back, the progress window gone.
    TransferResult Finish(TransferResult result) {
        host_.ResetInput();
        host_.HideProgress();
        return result;
    }
    TransferResult Begin(std::string_view caption, std::string_view question);
    // A receive of `count` numbered items: for each, the progress (from
    // `progressFrom` of `progressTotal`), "Waiting <word>NN...", the request
    // made by `request`, and `take` for a reply of the expected kind. Completed,
    // or Aborted, or Failed after "Data failure." at the first reply of another kind.
    struct ReceiveLoop {
        int count, progressFrom, progressTotal;
        std::string_view word;
        int replyBytes;
        ReplyState expected;
        bool pauseAfterEach = false;
    };
    TransferResult ReceiveEach(const ReceiveLoop& loop, const std::function<Message(int)>& request,
                               const std::function<void(int)>& take);

    DeviceHost& host_;
};

// A settings page laid out from the work areas by its runs.
// A settings page laid out by its runs from the work areas and the custom
// settings block to send.
SettingsPage ComposeSettingsPage(std::span<const PageRun> runs, const DeviceWorkAreas& areas,
                                 const CustomSettingsBlock& settings);

// "Waiting Patch" and 1 give "Waiting Patch01...".
std::string NumberedStatus(std::string_view word, int number);

}  // namespace orb8
