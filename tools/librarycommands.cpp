// orb8tool library: the patch library from the command line.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ctime>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "library/patchlibrary.h"
#include "patch/projectdocument.h"
#include "tools/bankjson.h"
#include "tools/toolcommands.h"

namespace orb8 {

namespace {

using library::Place;

struct LibraryOptions {
    std::string db;
    std::vector<std::string> paths;
    std::vector<std::string> words;
    std::string file;
    std::string slot;
    std::string query;
    std::vector<std::string> addTags, removeTags;
    int limit = 100;
    bool json = false, off = false, force = false, samePlaces = false;
};

// $XDG_DATA_HOME/orb8ed/library.db, where the window program keeps it too.
std::string DefaultDatabase() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string folder = data && *data ? data : std::string(home ? home : ".") + "/.local/share";
    return folder + "/orb8ed/library.db";
}

// How long a change waits for another program's writes (a scan in the window).
constexpr int kWriteWaitMs = 120000;
constexpr std::size_t kMarksLimit = 64u << 20;  // a marks file larger than this is no marks file

// A command that only reads opens the library as it is (never making one);
// one that writes waits for another program's writes, and says so.
std::unique_ptr<library::PatchLibrary> Open(const LibraryOptions& o, std::ostream& err, bool write = false) {
    const std::string path = o.db.empty() ? DefaultDatabase() : o.db;
    if (write) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    }
    try {
        auto lib = std::make_unique<library::PatchLibrary>(
            path, library::PatchLibrary::Clock{}, write ? library::PatchLibrary::Access::Write : library::PatchLibrary::Access::Read);
        lib->SetWriteWait(kWriteWaitMs);
        lib->SetWaitNotice([&err] { err << "orb8tool: waiting for another program that is writing the library...\n" << std::flush; });
        if (!lib->OpenNotice().empty()) err << "orb8tool: " << lib->OpenNotice() << "\n";
        return lib;
    } catch (const library::LibraryError& e) {
        throw ToolError{e.what()};
    }
}

std::string Date(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &tm);
    return text;
}

nlohmann::json PlaceJson(const Place& p) {
    nlohmann::json item = {{"patch", p.patch}};
    PutText(item, "file", p.path);
    item["slot"] = library::SlotLabel(p.slot);
    PutText(item, "name", p.name);
    PutText(item, "comment", p.comment);
    item["first_seen"] = p.firstSeen;
    item["last_seen"] = p.lastSeen;
    return item;
}

void PrintPlaces(const std::vector<Place>& places, std::ostream& out, const std::string& indent = "") {
    for (const Place& p : places) {
        out << indent << library::SlotLabel(p.slot) << "  " << TerminalSafe(p.name);
        out << std::string(p.name.size() < 8 ? 8 - p.name.size() : 0, ' ') << "  " << TerminalSafe(p.path);
        if (!p.comment.empty()) out << "  \"" << TerminalSafe(p.comment) << "\"";
        out << "\n";
    }
}

void PrintGroups(const std::vector<std::vector<Place>>& groups, bool json, std::ostream& out) {
    if (json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& group : groups) {
            nlohmann::json places = nlohmann::json::array();
            for (const Place& p : group) places.push_back(PlaceJson(p));
            list.push_back(places);
        }
        out << list.dump(2) << "\n";
        return;
    }
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i) out << "\n";
        PrintPlaces(groups[i], out);
    }
}

void Scan(library::PatchLibrary& lib, std::ostream& out) {
    const library::ScanReport r = lib.Scan();
    lib.BackUpIfDue();
    out << r.files << " files: " << r.read << " read, " << r.unchanged << " unchanged, " << r.skipped << " skipped, "
        << r.removed << " gone; " << r.newPatches << " new sounds\n";
    for (const std::string& source : r.missingSources)
        out << "not found (what it held is kept): " << TerminalSafe(source) << "\n";
    if (r.builtInCustom)
        out << r.builtInCustom << " patches of CUSTOM types from SysEx files, which hold no custom settings, "
            << "are taken with the built-in ones\n";
    if (r.skipped)
        for (const auto& row : lib.Problems())
            out << "skipped: " << TerminalSafe(row.path) << ": " << row.problem << "\n";
}

// The place FILE SLOT names, as the library holds it now.
Place PlaceOf(library::PatchLibrary& lib, const LibraryOptions& o) {
    const std::optional<int> slot = library::SlotFromLabel(o.slot);
    if (!slot) throw ToolError{"\"" + o.slot + "\" is not a slot (U01..U94, u01..u94, EB1..)"};
    std::error_code ignored;
    const std::string path = std::filesystem::weakly_canonical(std::filesystem::absolute(o.file), ignored).string();
    const std::optional<Place> place = lib.PlaceAt(path, *slot);
    if (!place) throw ToolError{"the library has no patch at " + o.file + " " + o.slot + " (library scan?)"};
    return *place;
}

std::string Search(const std::vector<std::string>& words) {
    std::string query;
    for (const std::string& w : words) query += (query.empty() ? "" : " ") + w;
    return query;
}

}  // namespace

void AddLibraryCommands(CLI::App& app, std::ostream& out, std::ostream& err) {
    auto o = std::make_shared<LibraryOptions>();
    auto* lib = app.add_subcommand("library", "The patch library: every patch of the banks on this computer.");
    lib->require_subcommand(1);
    lib->add_option("--db", o->db, "library database (default: ~/.local/share/orb8ed/library.db)");

    auto* add = lib->add_subcommand("add", "Add folders or files to the library and read them.");
    add->add_option("PATH", o->paths, "folder or .orb/.syx/.dst file")->required();
    add->callback([=, &out, &err] {
        auto l = Open(*o, err, true);
        for (const std::string& path : o->paths) {
            try {
                out << "added " << TerminalSafe(l->AddSource(path)) << "\n";
            } catch (const library::LibraryError& e) {
                throw ToolError{e.what()};
            }
        }
        Scan(*l, out);
    });

    auto* remove = lib->add_subcommand("remove", "Forget a folder or file and everything found under it.");
    remove->add_option("PATH", o->paths, "a source as `library sources` lists it")->required();
    remove->callback([=, &err] {
        auto l = Open(*o, err, true);
        for (const std::string& path : o->paths)
            if (!l->RemoveSource(path)) throw ToolError{path + " is not one of the library's sources"};
    });

    auto* sources = lib->add_subcommand("sources", "List the folders and files the library reads.");
    sources->add_flag("--json", o->json, "as JSON");
    sources->callback([=, &out, &err] {
        const auto all = Open(*o, err)->Sources();
        if (o->json) {
            nlohmann::json list = nlohmann::json::array();
            for (const std::string& source : all) {
                nlohmann::json item = nlohmann::json::object();
                PutText(item, "path", source);
                list.push_back(item);
            }
            out << list.dump(2) << "\n";
            return;
        }
        for (const std::string& source : all) out << TerminalSafe(source) << "\n";
    });

    auto* scan = lib->add_subcommand("scan", "Read what is new or changed under the sources.");
    scan->callback([=, &out, &err] { Scan(*Open(*o, err, true), out); });

    auto* search = lib->add_subcommand("search", "Patches whose name or comment hold every word.");
    search->add_option("WORDS", o->words, "words (any case, accents ignored)");
    search->add_option("--limit", o->limit, "at most this many")->check(CLI::Range(1, 1000000));
    search->add_flag("--json", o->json, "as JSON");
    search->callback([=, &out, &err] {
        std::vector<Place> places;
        try {
            places = Open(*o, err)->Search(Search(o->words), o->limit);
        } catch (const library::LibraryError& e) {
            throw ToolError{e.what()};
        }
        if (o->json) {
            nlohmann::json list = nlohmann::json::array();
            for (const Place& p : places) list.push_back(PlaceJson(p));
            out << list.dump(2) << "\n";
        } else {
            PrintPlaces(places, out);
        }
    });

    auto* dups =
        lib->add_subcommand("dups", "Patches that sound the same in more than one place, whatever their names.");
    dups->add_flag("--json", o->json, "as JSON");
    dups->callback([=, &out, &err] { PrintGroups(Open(*o, err)->Duplicates(), o->json, out); });

    auto* names = lib->add_subcommand("names", "Names given to more than one sound.");
    names->add_flag("--json", o->json, "as JSON");
    names->callback([=, &out, &err] { PrintGroups(Open(*o, err)->SameNameOtherSound(), o->json, out); });

    auto* history = lib->add_subcommand("history", "What a slot of a bank held, newest first.");
    history->add_option("FILE", o->file, "bank file")->required();
    history->add_option("SLOT", o->slot, "U01..U94, u01..u94, or EB1.. for a SysEx file's edit buffers")->required();
    history->add_flag("--json", o->json, "as JSON");
    history->callback([=, &out, &err] {
        const std::optional<int> slot = library::SlotFromLabel(o->slot);
        if (!slot) throw ToolError{"\"" + o->slot + "\" is not a slot (U01..U94, u01..u94, EB1..)"};
        std::error_code ignored;
        const std::string path =
            std::filesystem::weakly_canonical(std::filesystem::absolute(o->file), ignored).string();
        const auto entries = Open(*o, err)->History(path, *slot);
        if (o->json) {
            nlohmann::json list = nlohmann::json::array();
            for (const auto& e : entries) {
                nlohmann::json item = {{"patch", e.patch}};
                PutText(item, "name", e.name);
                PutText(item, "comment", e.comment);
                item["from"] = e.from;
                item["until"] = e.until;
                list.push_back(item);
            }
            out << list.dump(2) << "\n";
            return;
        }
        if (entries.empty()) throw ToolError{"the library has nothing of " + o->file + " " + o->slot};
        for (const auto& e : entries)
            out << Date(e.from) << " - " << (e.until ? Date(e.until) : std::string("now             ")) << "  "
                << TerminalSafe(e.name) << (e.comment.empty() ? "" : "  \"" + TerminalSafe(e.comment) + "\"") << "\n";
    });

    auto* similar = lib->add_subcommand("similar", "Patches that sound like the one at FILE SLOT, nearest first.");
    similar->add_option("FILE", o->file, "bank file")->required();
    similar->add_option("SLOT", o->slot, "U01..U94, u01..u94, EB1..")->required();
    similar->add_option("--limit", o->limit, "at most this many")->check(CLI::Range(1, 100000));
    similar->add_flag("--dups", o->samePlaces, "list the same sound's other places first");
    similar->add_flag("--json", o->json, "as JSON");
    similar->callback([=, &out, &err] {
        auto l = Open(*o, err);
        const Place place = PlaceOf(*l, *o);
        const auto similar = l->Similar(place.patch, o->limit, o->samePlaces, place.occurrence);
        if (o->json) {
            nlohmann::json list = nlohmann::json::array();
            for (const auto& s : similar) {
                nlohmann::json item = PlaceJson(s.place);
                item["distance"] = s.distance;
                item["places"] = s.places;
                list.push_back(item);
            }
            out << list.dump(2) << "\n";
            return;
        }
        for (const auto& s : similar) {
            char distance[16];
            std::snprintf(distance, sizeof distance, "%6.3f  ", s.distance);
            out << distance;
            PrintPlaces({s.place}, out);
        }
    });

    auto* tag = lib->add_subcommand("tag", "Show, add or remove the tags of the sound at FILE SLOT.");
    tag->add_option("FILE", o->file, "bank file")->required();
    tag->add_option("SLOT", o->slot, "U01..U94, u01..u94, EB1..")->required();
    tag->add_option("--add", o->addTags, "a tag to add (any number)");
    tag->add_option("--remove", o->removeTags, "a tag to remove, automatic ones too (any number)");
    tag->callback([=, &out, &err] {
        auto l = Open(*o, err, !o->addTags.empty() || !o->removeTags.empty());
        const Place place = PlaceOf(*l, *o);
        try {
            for (const std::string& t : o->addTags) l->AddTag(place.patch, t);
            for (const std::string& t : o->removeTags) l->RemoveTag(place.patch, t);
        } catch (const library::LibraryError& e) {
            throw ToolError{e.what()};
        }
        const auto notes = l->NotesOf(place.patch);
        for (const std::string& t : notes.tags) {
            const bool automatic =
                std::find(notes.automaticTags.begin(), notes.automaticTags.end(), t) != notes.automaticTags.end();
            out << t << (automatic ? " (from the name)" : "") << "\n";
        }
    });

    auto* fav = lib->add_subcommand("fav", "Mark the sound at FILE SLOT as a favourite (--off: no longer).");
    fav->add_option("FILE", o->file, "bank file")->required();
    fav->add_option("SLOT", o->slot, "U01..U94, u01..u94, EB1..")->required();
    fav->add_flag("--off", o->off, "take the mark away");
    fav->callback([=, &err] {
        auto l = Open(*o, err, true);
        l->SetFavourite(PlaceOf(*l, *o).patch, !o->off);
    });

    auto* exportBank = lib->add_subcommand("export-bank", "Write the first 80 patches a query finds as a bank.");
    exportBank->add_option("QUERY", o->query, "a query, as for search (quote it)")->required();
    exportBank->add_option("OUT.orb", o->file, "project file to write")->required();
    exportBank->add_flag("--force", o->force, "replace an existing file");
    exportBank->callback([=, &out, &err] {
        RefuseOverwrite(o->file, o->force);
        auto l = Open(*o, err);
        std::vector<Place> places;
        try {
            places = l->Search(o->query, kPatchCount);
        } catch (const library::LibraryError& e) {
            throw ToolError{e.what()};
        }
        if (places.empty()) throw ToolError{"the query finds no patch; nothing was written"};
        ProjectDocument bank;
        for (std::size_t i = 0; i < places.size(); ++i) {
            bank.patches[i] = l->PatchAt(places[i]);
            bank.comments[i] = LimitComment(places[i].comment);
        }
        SaveBank(bank, o->file);
        out << places.size() << " patches written to " << TerminalSafe(o->file) << "\n";
    });

    auto* problems = lib->add_subcommand("problems", "Files that were skipped, and why.");
    problems->add_flag("--json", o->json, "as JSON");
    problems->callback([=, &out, &err] {
        const auto rows = Open(*o, err)->Problems();
        if (o->json) {
            nlohmann::json list = nlohmann::json::array();
            for (const auto& row : rows) {
                nlohmann::json item = nlohmann::json::object();
                PutText(item, "path", row.path);
                PutText(item, "problem", row.problem);
                list.push_back(item);
            }
            out << list.dump(2) << "\n";
            return;
        }
        for (const auto& row : rows) out << TerminalSafe(row.path) << ": " << TerminalSafe(row.problem) << "\n";
    });

    auto* marksExport = lib->add_subcommand(
        "marks-export", "Write every favourite, rating, tag and note, with the sounds they belong to, as JSON.");
    marksExport->add_option("OUT.json", o->file, "file to write")->required();
    marksExport->add_flag("--force", o->force, "replace an existing file");
    marksExport->callback([=, &out, &err] {
        RefuseOverwrite(o->file, o->force);
        const auto marks = Open(*o, err)->Marks();
        nlohmann::json list = nlohmann::json::array();
        for (const auto& m : marks) {
            nlohmann::json item = {{"sound", ToHex(std::string(m.sound.begin(), m.sound.end()))},
                                   {"favourite", m.favourite},
                                   {"rating", m.rating}};
            PutText(item, "note", m.note);
            item["tags"] = m.tags;
            item["removedTags"] = m.removedTags;
            nlohmann::json names = nlohmann::json::array();
            for (const std::string& name : m.names) names.push_back(ReadableText(name));
            item["names"] = names;
            list.push_back(item);
        }
        const std::string text = nlohmann::json{{"format", "ORB-8 library marks"}, {"version", 1}, {"marks", list}}.dump(2) + "\n";
        const FileResult r = WriteFileAtomically(
            o->file, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        if (!r.ok()) throw ToolError{FileMessageLine(r, "marks file")};
        out << marks.size() << " sounds' marks written to " << TerminalSafe(o->file) << "\n";
    });

    auto* marksImport = lib->add_subcommand("marks-import", "Take the marks of a marks-export file for the sounds this library holds.");
    marksImport->add_option("IN.json", o->file, "file to read")->required();
    marksImport->callback([=, &out, &err] {
        std::vector<std::uint8_t> bytes;
        const FileResult r = ReadFileBytes(o->file, kMarksLimit, bytes);
        if (!r.ok()) throw ToolError{FileMessageLine(r, "marks file")};
        if (bytes.size() > kMarksLimit) throw ToolError{o->file + " is too large for a marks file"};
        std::vector<library::SoundMarks> marks;
        try {
            const auto json = nlohmann::json::parse(bytes.begin(), bytes.end());
            if (!json.is_object() || json.value("format", "") != "ORB-8 library marks" || !json["marks"].is_array())
                throw ToolError{o->file + " is not a marks file written by library marks-export"};
            for (const auto& item : json["marks"]) {
                library::SoundMarks m;
                std::string sound;
                if (!FromHex(item.at("sound").get<std::string>(), sound)) throw ToolError{o->file + ": a sound is not hexadecimal"};
                m.sound.assign(sound.begin(), sound.end());
                m.favourite = item.value("favourite", false);
                m.rating = item.value("rating", 0);
                std::string note = item.value("note", "");
                if (item.contains("noteBytes") && !FromHex(item["noteBytes"].get<std::string>(), note))
                    throw ToolError{o->file + ": a note's bytes are not hexadecimal"};
                m.note = note;
                m.tags = item.value("tags", std::vector<std::string>{});
                m.removedTags = item.value("removedTags", std::vector<std::string>{});
                marks.push_back(std::move(m));
            }
        } catch (const nlohmann::json::exception& e) {
            throw ToolError{o->file + " is not a marks file: " + e.what()};
        }
        library::MarksImport taken;
        try {
            taken = Open(*o, err, true)->ImportMarks(marks);
        } catch (const library::LibraryError& e) {
            throw ToolError{e.what()};
        }
        out << "marks of " << taken.taken << " sounds taken";
        if (taken.unknown) out << "; " << taken.unknown << " sounds are not in this library and were left out";
        out << "\n";
    });

    auto* stats = lib->add_subcommand("stats", "How much the library holds.");
    stats->callback([=, &out, &err] {
        const auto s = Open(*o, err)->Stats();
        out << s.sources << " sources, " << s.files << " files, " << s.patches << " sounds in " << s.places
            << " places, " << s.problems << " files skipped\n";
    });
}

}  // namespace orb8
