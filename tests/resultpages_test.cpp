// Pages of library results read a page after another (keyset paging) in
// every order the Library window offers, the details of a place, and the
// searches a user saves by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "library/patchlibrary.h"
#include "library/query.h"
#include "library/savedsearches.h"
#include "patch/projectdocument.h"
#include "tests/testfiles.h"

using namespace orb8;
using namespace orb8::library;
namespace fs = std::filesystem;

namespace {

// Banks whose patches differ in name, comment, types and slot; "lead" in
// some names and in some comments only.
struct PagesRig {
    TempDir dir;
    PatchLibrary lib{dir.Path("library.db"), [] { return 1'700'000'000; }};
    PagesRig() {
        const std::string banks = dir.Path("banks");
        fs::create_directories(banks);
        const char* names[] = {"LEAD", "CRUNCH", "CLEAN", "LEAD 2", "AMBIENT", "BLUES", "ZED", "LEAD B"};
        for (int b = 0; b < 3; ++b) {
            ProjectDocument bank;
            for (int i = 0; i < 12; ++i) {
                PatchData& patch = bank.patches[static_cast<std::size_t>(i * 3 + b)];
                EncodeName(names[(i + b) % 8], patch);
                patch[DriveType] = static_cast<std::uint8_t>((i * 5 + b) % 7);
                patch[ModType] = static_cast<std::uint8_t>((i + b) % 4);
                patch[ModParam1] = static_cast<std::uint8_t>(i + b * 20);  // no two sounds alike
                if (i % 2) patch[ModuleSwitches] |= DriveOn;
                bank.comments[static_cast<std::size_t>(i * 3 + b)] = i % 3 == 0 ? "for the lead part" : "rhythm";
            }
            bank.fileName = banks + "/bank" + std::to_string(b) + ".orb";
            EXPECT_TRUE(bank.Save().ok());
        }
        lib.AddSource(banks);
        lib.Scan();
        for (const Place& p : lib.Search("", 1000))
            if (p.slot % 5 == 0) lib.SetFavourite(p.patch, true);
    }
    // Every page of a query in an order, `size` rows at a time.
    std::vector<ResultRow> AllPages(const std::string& query, ResultOrder order, bool descending, int size) {
        std::vector<ResultRow> rows;
        PageRequest request{query, order, descending, size, std::nullopt};
        for (int pages = 0; pages < 1000; ++pages) {
            ResultPage page = lib.Page(request);
            EXPECT_LE(static_cast<int>(page.rows.size()), size);
            rows.insert(rows.end(), page.rows.begin(), page.rows.end());
            if (!page.next) return rows;
            request.after = page.next;
        }
        ADD_FAILURE() << "the pages never end";
        return rows;
    }
};

std::string TypeKey(int type, std::int64_t sound) {
    return std::to_string(100 + type) + "/" + std::to_string(1'000'000 + sound);
}

}  // namespace

TEST(ResultPages, EveryOrderGivesEveryPlaceOnceInOrderWhateverThePageSize) {
    PagesRig rig;
    for (const std::string query : {"", "lead", "drive:on", "le"}) {
        const std::vector<Place> found = rig.lib.Search(query, 100000);
        ASSERT_FALSE(found.empty()) << query;
        std::set<std::int64_t> wanted;
        for (const Place& p : found) wanted.insert(p.occurrence);
        for (const ResultOrder order : {ResultOrder::Found, ResultOrder::Slot, ResultOrder::Name, ResultOrder::Drive,
                                        ResultOrder::Mod, ResultOrder::Dly, ResultOrder::Bank, ResultOrder::Favourite,
                                        ResultOrder::Comment})
            for (const bool descending : {false, true})
                for (const int size : {1, 7, 1000}) {
                    const std::string what = query + " order " + std::to_string(static_cast<int>(order)) +
                                             (descending ? " down" : " up") + " by " + std::to_string(size);
                    const std::vector<ResultRow> rows = rig.AllPages(query, order, descending, size);
                    std::set<std::int64_t> got;
                    for (const ResultRow& row : rows) got.insert(row.place.occurrence);
                    EXPECT_EQ(got, wanted) << what;
                    ASSERT_EQ(rows.size(), found.size()) << what;  // none twice
                    // Found order is the search's own (names holding the words first).
                    if (order == ResultOrder::Found) {
                        for (std::size_t i = 0; i < rows.size(); ++i)
                            EXPECT_EQ(rows[i].place.occurrence, found[i].occurrence) << what << " row " << i;
                        continue;
                    }
                    // The others by what the row shows, then by place.
                    const auto key = [&](const ResultRow& r) {
                        switch (order) {
                            case ResultOrder::Slot: return std::to_string(1000 + r.place.slot);
                            case ResultOrder::Name: return r.place.name;
                            // (a sound's places together)
                            case ResultOrder::Drive: return TypeKey(r.patch[DriveType], r.place.patch);
                            case ResultOrder::Mod: return TypeKey(r.patch[ModType], r.place.patch);
                            case ResultOrder::Dly: return TypeKey(r.patch[DlyType], r.place.patch);
                            case ResultOrder::Bank: return r.place.path + "/" + std::to_string(1000 + r.place.slot);
                            case ResultOrder::Favourite: return std::string(r.favourite ? "1" : "0");
                            default: return r.place.comment;
                        }
                    };
                    for (std::size_t i = 1; i < rows.size(); ++i) {
                        const auto a = std::pair(key(rows[i - 1]), rows[i - 1].place.occurrence);
                        const auto b = std::pair(key(rows[i]), rows[i].place.occurrence);
                        EXPECT_TRUE(descending ? a > b : a < b) << what << " row " << i;
                    }
                }
    }
}

TEST(ResultPages, RowsCarryTheirPatchAndMarksAndARefusedQueryThrows) {
    PagesRig rig;
    const ResultPage page = rig.lib.Page({"zed", ResultOrder::Found, false, 50, std::nullopt});
    ASSERT_FALSE(page.rows.empty());
    EXPECT_FALSE(page.next);
    EXPECT_FALSE(page.noSources);
    for (const ResultRow& row : page.rows) {
        EXPECT_EQ(row.patch, rig.lib.PatchAt(row.place));
        EXPECT_EQ(row.favourite, rig.lib.NotesOf(row.place.patch).favourite);
    }
    EXPECT_THROW(rig.lib.Page({"nosuch>3", ResultOrder::Name, false, 50, std::nullopt}), QueryError);

    PatchLibrary empty(":memory:");
    EXPECT_TRUE(empty.Page({}).noSources);
}

TEST(ResultPages, DetailsHoldTheMarksThePlacesUpToALimitAndTheSlotsHistory) {
    PagesRig rig;
    // The same sound in two places.
    const std::string copy = rig.dir.Path("banks/copy.orb");
    fs::copy_file(rig.dir.Path("banks/bank0.orb"), copy);
    rig.lib.Scan();
    const Place place = rig.lib.Search("", 1).front();
    rig.lib.SetNote(place.patch, "warm");
    const PlaceDetails all = rig.lib.Details(place, 10);
    EXPECT_EQ(all.notes.note, "warm");
    ASSERT_EQ(all.places.size(), 2u);
    EXPECT_EQ(all.morePlaces, 0);
    for (const ResultRow& row : all.places) EXPECT_EQ(row.patch, rig.lib.PatchAt(row.place));
    EXPECT_EQ(all.history.size(), 1u);  // what the slot holds now
    const PlaceDetails one = rig.lib.Details(place, 1);
    EXPECT_EQ(one.places.size(), 1u);
    EXPECT_EQ(one.morePlaces, 1);
}

TEST(SavedSearches, ListedByNameASecondSaveReplacesBlanksAreRefused) {
    SavedSearches saved({{"live", "tag:live"}, {" ", "x"}, {"Ambient", "mod:on"}, {"LIVE", "fav"}});
    ASSERT_EQ(saved.All().size(), 2u);
    EXPECT_EQ(saved.All()[0], (SavedSearch{"Ambient", "mod:on"}));
    EXPECT_EQ(saved.All()[1], (SavedSearch{"LIVE", "fav"}));  // the later one of the same name
    EXPECT_FALSE(saved.Save("empty", "  "));
    EXPECT_TRUE(saved.Save("  crunchy  ", " drive:fuzz "));
    ASSERT_TRUE(saved.Find("Crunchy"));
    EXPECT_EQ(saved.Find("crunchy")->query, "drive:fuzz");
    EXPECT_EQ(saved.All()[1].name, "crunchy");
    EXPECT_TRUE(saved.Remove("live"));
    EXPECT_FALSE(saved.Remove("live"));
    EXPECT_EQ(saved.All().size(), 2u);
}
