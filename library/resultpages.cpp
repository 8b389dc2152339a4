// Pages of results and the details of a place, as the Library window reads
// them: one kept statement per page, ordered by a key that is unique (the
// occurrence's id last), so the next page starts after the last row.
#include <algorithm>

#include "library/patchlibrary.h"
#include "library/query.h"
#include "library/sounds.h"
#include "library/sqlite.h"

namespace orb8::library {

namespace {

// What a page selects, in the columns RowOf reads; the order's key columns follow.
constexpr std::string_view kPageColumns =
    "SELECT o.id, o.patch_id, f.path, o.slot, o.name, o.comment, o.first_seen, f.scanned, p.sound, o.name_codes, "
    "EXISTS (SELECT 1 FROM patch_notes n WHERE n.patch_id = o.patch_id AND n.favourite)";
constexpr int kKeyColumn = 11;

// Without words to look up, the tables are read in the order's own index
// (a page then reads only its rows); words go to the word index first.
constexpr std::string_view kByOccurrence =
    " FROM occurrences o JOIN files f ON f.id = o.file_id JOIN patches p ON p.id = o.patch_id ";
constexpr std::string_view kByFile =
    " FROM files f CROSS JOIN occurrences o ON f.id = o.file_id CROSS JOIN patches p ON p.id = o.patch_id ";
constexpr std::string_view kBySound =
    " FROM patches p CROSS JOIN occurrences o ON o.patch_id = p.id CROSS JOIN files f ON f.id = o.file_id ";

struct OrderKey {
    std::vector<std::string> expressions;  // before the occurrence's id
    std::vector<bool> text;                // each one's kind
    std::string_view tables = kByOccurrence;
};

OrderKey KeyOf(ResultOrder order) {
    switch (order) {
        case ResultOrder::Slot: return {{"o.slot"}, {false}};
        case ResultOrder::Name: return {{"o.name"}, {true}};
        case ResultOrder::Drive: return {{"p.drive_type", "p.id"}, {false, false}, kBySound};
        case ResultOrder::Mod: return {{"p.mod_type", "p.id"}, {false, false}, kBySound};
        case ResultOrder::Dly: return {{"p.dly_type", "p.id"}, {false, false}, kBySound};
        case ResultOrder::Bank: return {{"f.path", "o.slot"}, {true, false}, kByFile};
        case ResultOrder::Favourite:
            return {{"EXISTS (SELECT 1 FROM patch_notes n WHERE n.patch_id = o.patch_id AND n.favourite)"}, {false}};
        case ResultOrder::Comment: return {{"o.comment"}, {true}};
        case ResultOrder::Found: break;
    }
    return {};
}

ResultRow RowOf(sql::Statement& s) {
    ResultRow row;
    row.place = {s.Int(0), s.Int(1), s.Text(2), static_cast<int>(s.Int(3)), s.Text(4), s.Text(5), s.Int(6), s.Int(7)};
    row.patch = PatchFrom(s.BlobView(8), s.BlobView(9));
    row.favourite = s.Int(10) != 0;
    return row;
}

void BindAll(sql::Statement& s, int& n, const std::vector<std::variant<std::string, std::int64_t>>& binds) {
    for (const auto& bind : binds) {
        if (const auto* text = std::get_if<std::string>(&bind))
            s.Bind(n++, *text);
        else
            s.Bind(n++, std::get<std::int64_t>(bind));
    }
}

}  // namespace

ResultPage PatchLibrary::Page(const PageRequest& request) {
    const QuerySql q = ParseQuery(request.query);
    const OrderKey key = KeyOf(request.order);
    const bool found = request.order == ResultOrder::Found;
    const int limit = std::max(1, request.limit);
    ResultPage page;

    // The rows a statement gives, and the key of the last of them.
    const auto collect = [&page](sql::Statement& s, int tier, const OrderKey& key) {
        int read = 0;
        PageKey last{tier, {}, 0};
        while (s.Step()) {
            ResultRow row = RowOf(s);
            last.id = row.place.occurrence;
            last.values.clear();
            for (std::size_t k = 0; k < key.expressions.size(); ++k) {
                const int column = kKeyColumn + static_cast<int>(k);
                if (key.text[k])
                    last.values.emplace_back(s.Text(column));
                else
                    last.values.emplace_back(s.Int(column));
            }
            page.rows.push_back(std::move(row));
            ++read;
        }
        return std::pair(read, last);
    };

    // One tier of the results: `match` the words (none: no words).
    const auto run = [&](const std::string& match, int tier, const std::optional<PageKey>& after, int wanted) {
        const bool byRowid = !match.empty() && found;  // the word index gives its rows in this order
        const std::string id = byRowid ? "t.rowid" : "o.id";
        std::string sql(kPageColumns);
        for (const std::string& expression : key.expressions) sql += ", " + expression;
        sql += match.empty() ? key.tables : kByOccurrence;
        if (!match.empty()) sql += "JOIN occurrence_text t ON t.rowid = o.id AND occurrence_text MATCH ? ";
        sql += "WHERE " + q.where;
        const char* direction = request.descending && !found ? " DESC" : "";
        if (after) {
            std::string columns, marks;
            for (const std::string& expression : key.expressions) {
                columns += expression + ", ";
                marks += "?, ";
            }
            sql += " AND (" + columns + id + ") " + (request.descending && !found ? "<" : ">") + " (" + marks + "?)";
        }
        sql += " ORDER BY ";
        for (const std::string& expression : key.expressions) sql += expression + direction + ", ";
        sql += id + direction + " LIMIT ?";

        auto s = db_->Cached(sql);
        int n = 1;
        if (!match.empty()) s->Bind(n++, match);
        BindAll(*s, n, q.binds);
        if (after) {
            for (const auto& value : after->values) {
                if (const auto* text = std::get_if<std::string>(&value))
                    s->Bind(n++, *text);
                else
                    s->Bind(n++, std::get<std::int64_t>(value));
            }
            s->Bind(n++, after->id);
        }
        s->Bind(n, wanted);
        return collect(*s, tier, key);
    };

    if (!request.after) page.noSources = db_->Integer("SELECT count(*) FROM sources") == 0;
    if (request.order == ResultOrder::Favourite && q.match.empty()) {
        // The favourites (few, read by their marks) and the rest (in place
        // order, the favourites passed over), as two tiers: no sort of every place.
        const auto tierOf = [&](bool favourites, int tier, const std::optional<PageKey>& after, int wanted) {
            std::string sql(kPageColumns);
            sql += favourites ? " FROM patch_notes n CROSS JOIN occurrences o ON o.patch_id = n.patch_id AND n.favourite "
                                "JOIN files f ON f.id = o.file_id JOIN patches p ON p.id = o.patch_id "
                              : std::string(kByOccurrence);
            sql += "WHERE " + q.where;
            if (!favourites)
                sql += " AND NOT EXISTS (SELECT 1 FROM patch_notes m WHERE m.patch_id = o.patch_id AND m.favourite)";
            if (after) sql += request.descending ? " AND o.id < ?" : " AND o.id > ?";
            sql += request.descending ? " ORDER BY o.id DESC LIMIT ?" : " ORDER BY o.id LIMIT ?";
            auto s = db_->Cached(sql);
            int n = 1;
            BindAll(*s, n, q.binds);
            if (after) s->Bind(n++, after->id);
            s->Bind(n, wanted);
            return collect(*s, tier, OrderKey{});
        };
        std::optional<PageKey> after = request.after;
        for (int tier = after ? after->tier : 0; tier < 2; ++tier, after.reset()) {
            // Favourites last going up, first going down.
            const PageKey last = tierOf((tier == 0) == request.descending, tier, after,
                                        limit - static_cast<int>(page.rows.size()))
                                     .second;
            if (static_cast<int>(page.rows.size()) == limit) {
                page.next = last;
                return page;
            }
        }
        return page;
    }
    if (q.match.empty() || !found) {
        const auto [read, last] = run(q.match, 0, request.after, limit);
        if (read == limit) page.next = last;
        return page;
    }
    // Found order with words: the places whose name holds them, then those
    // where only the comment does.
    const std::string inName = "{search_name} : (" + q.match + ")";
    const std::string inComment = "(" + q.match + ") NOT " + inName;
    int tier = request.after ? request.after->tier : 0;
    std::optional<PageKey> after = request.after;
    if (tier == 0) {
        const auto [read, last] = run(inName, 0, after, limit);
        if (read == limit) {
            page.next = last;
            return page;
        }
        tier = 1;
        after.reset();
    }
    const auto [read, last] = run(inComment, 1, after, limit - static_cast<int>(page.rows.size()));
    if (static_cast<int>(page.rows.size()) == limit) page.next = last;
    return page;
}

PlaceDetails PatchLibrary::Details(const Place& place, int maxPlaces) {
    PlaceDetails details;
    details.notes = NotesOf(place.patch);
    {
        auto s = db_->Cached(
            std::string(kPageColumns) +
            " FROM occurrences o JOIN files f ON f.id = o.file_id JOIN patches p ON p.id = o.patch_id "
            "WHERE o.patch_id = ? ORDER BY f.path, o.slot LIMIT ?");
        s->Bind(1, place.patch).Bind(2, std::max(0, maxPlaces));
        while (s->Step()) details.places.push_back(RowOf(*s));
    }
    if (static_cast<int>(details.places.size()) == maxPlaces) {
        auto count = db_->Cached("SELECT count(*) FROM occurrences WHERE patch_id = ?");
        count->Bind(1, place.patch);
        if (count->Step()) details.morePlaces = std::max<std::int64_t>(0, count->Int(0) - maxPlaces);
    }
    details.history = History(place.path, place.slot);
    return details;
}

}  // namespace orb8::library
