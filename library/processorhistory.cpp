#include "library/processorhistory.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace orb8::library {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBankExtension = ".orb", kSetsExtension = ".dst";

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

bool Number(std::string_view text, int& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc{} && end == text.data() + text.size() && !text.empty();
}

// "2026-12-09" and "21-30-05" back to seconds since 1970 (UTC).
std::optional<std::int64_t> TimeOf(std::string_view date, std::string_view time) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (date.size() != 10 || time.size() != 8 || date[4] != '-' || date[7] != '-' || time[2] != '-' || time[5] != '-')
        return std::nullopt;
    if (!Number(date.substr(0, 4), y) || !Number(date.substr(5, 2), mo) || !Number(date.substr(8, 2), d) ||
        !Number(time.substr(0, 2), h) || !Number(time.substr(3, 2), mi) || !Number(time.substr(6, 2), s))
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60) return std::nullopt;
    // Days from the civil date (proleptic Gregorian), without the local time zone.
    y -= mo <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + doe - 719468;
    return days * 86400 + h * 3600 + mi * 60 + s;
}

std::string DateTimeText(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm utc{};
    gmtime_r(&t, &utc);
    return std::to_string(utc.tm_year + 1900) + "-" + TwoDigits(utc.tm_mon + 1) + "-" + TwoDigits(utc.tm_mday) + "_" +
           TwoDigits(utc.tm_hour) + "-" + TwoDigits(utc.tm_min) + "-" + TwoDigits(utc.tm_sec);
}

}  // namespace

std::string ProcessorName(const std::array<std::uint8_t, 10>& identity, int channel) {
    // identity: device byte, maker, family (2), member (2), version (4).
    std::string name = "ORB-8-ch" + TwoDigits(std::clamp(channel, 0, 15) + 1) + "-v";
    for (int i = 6; i < 10; ++i) name += std::to_string(identity[static_cast<std::size_t>(i)] & 0x7F) + (i < 9 ? "." : "");
    return name;
}

std::string SnapshotFileName(const Snapshot& s) {
    std::string processor = s.processor;
    std::replace(processor.begin(), processor.end(), '_', '-');
    const int received = std::clamp(s.received, 0, s.customDists ? kFilterCount + kSetCount : kPatchCount);
    return DateTimeText(s.time) + "_" + processor + "_" + (s.kind == SnapshotKind::Sent ? "sent" : "received") +
           std::to_string(received) + std::string(s.customDists ? kSetsExtension : kBankExtension);
}

std::optional<Snapshot> SnapshotOfFileName(const std::string& name) {
    const bool sets = name.ends_with(kSetsExtension);
    if (!sets && !name.ends_with(kBankExtension)) return std::nullopt;
    const std::string_view stem(name.data(), name.size() - kBankExtension.size());
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t next = stem.find('_', at);
        parts.push_back(stem.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at));
        if (next == std::string_view::npos) break;
        at = next + 1;
    }
    if (parts.size() != 4 || parts[2].empty()) return std::nullopt;
    const auto time = TimeOf(parts[0], parts[1]);
    if (!time) return std::nullopt;
    Snapshot s;
    s.time = *time;
    s.processor = std::string(parts[2]);
    std::string_view kind = parts[3];
    if (kind.starts_with("received")) {
        s.kind = SnapshotKind::Received;
        kind.remove_prefix(8);
    } else if (kind.starts_with("sent")) {
        s.kind = SnapshotKind::Sent;
        kind.remove_prefix(4);
    } else {
        return std::nullopt;
    }
    s.customDists = sets;
    if (!Number(kind, s.received) || s.received < 0 || s.received > (sets ? kFilterCount + kSetCount : kPatchCount))
        return std::nullopt;
    return s;
}

std::string ProcessorHistory::FreePath(Snapshot& snapshot) const {
    std::error_code error;
    fs::create_directories(folder_, error);
    // Two in the same second: the later one a second on, so that neither is lost.
    std::string path;
    for (int tries = 0; tries < 60; ++tries, ++snapshot.time) {
        path = (fs::path(folder_) / SnapshotFileName(snapshot)).string();
        if (!fs::exists(path, error)) break;
    }
    return path;
}

FileResult ProcessorHistory::Keep(Snapshot snapshot, const CustomDistDocument& sets) const {
    snapshot.customDists = true;
    CustomDistDocument kept = sets;
    kept.fileName = FreePath(snapshot);
    FileResult result = kept.Save();
    result.path = kept.fileName;
    return result;
}

FileResult ProcessorHistory::Keep(Snapshot snapshot, const ProjectDocument& bank) const {
    snapshot.customDists = false;
    ProjectDocument kept = bank;
    kept.comments = {};
    if (snapshot.received < kPatchCount) {
        // What did not arrive is what the processor held as far as the program knows.
        if (const auto last = Latest(snapshot.processor)) {
            ProjectDocument before;
            before.fileName = last->path;
            if (before.Load().ok())
                for (int i = std::max(snapshot.received, 0); i < kPatchCount; ++i)
                    kept.patches[static_cast<std::size_t>(i)] = before.patches[static_cast<std::size_t>(i)];
        }
    }
    const std::string path = FreePath(snapshot);
    kept.fileName = path;
    kept.PackAll();
    FileResult result = kept.Save();
    result.path = path;
    return result;
}

std::vector<Snapshot> ProcessorHistory::List() const {
    std::vector<Snapshot> found;
    std::error_code error;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        if (auto s = SnapshotOfFileName(it->path().filename().string())) {
            s->path = it->path().string();
            found.push_back(std::move(*s));
        }
    }
    std::sort(found.begin(), found.end(), [](const Snapshot& a, const Snapshot& b) {
        return a.time != b.time ? a.time < b.time : a.path < b.path;
    });
    return found;
}

std::optional<Snapshot> ProcessorHistory::Latest(const std::string& processor) const {
    std::optional<Snapshot> latest;
    for (Snapshot& s : List())
        if (s.processor == processor && !s.customDists) latest = std::move(s);
    return latest;
}

std::vector<SlotEntry> ProcessorHistory::SlotHistory(const std::string& processor, int slot) const {
    std::vector<SlotEntry> entries;
    if (slot < 0 || slot >= kPatchCount) return entries;
    for (const Snapshot& s : List()) {
        if (s.processor != processor || s.customDists) continue;
        ProjectDocument bank;
        bank.fileName = s.path;
        if (!bank.Load().ok()) continue;  // damaged or gone meanwhile
        SlotEntry entry{s, bank.patches[static_cast<std::size_t>(slot)]};
        entry.known = !(s.kind == SnapshotKind::Received && slot >= s.received && entries.empty());
        entry.changed = entries.empty() || entries.back().patch != entry.patch;
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace orb8::library
