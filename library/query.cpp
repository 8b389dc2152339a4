#include "library/query.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "library/sounds.h"
#include "library/textfold.h"
#include "patch/effecttables.h"
#include "patch/patchdata.h"
#include "patch/utf8.h"

namespace orb8::library {

namespace {

constexpr std::string_view kOperators[] = {">=", "<=", "!=", "=", "<", ">"};
// Beyond this many, a query is no search a player types (and too deep for SQLite).
constexpr std::size_t kMaxTerms = 200;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Splits at spaces outside double quotes; the quotes stay in the tokens. A
// quote opens a phrase only where a token or a filter's value begins
// ("slap back", dly:"bpm dly", "patch level">=50); inside a word it is a
// character of the word (quote"d).
std::vector<std::string> Tokens(std::string_view text) {
    std::vector<std::string> tokens;
    std::string current;
    bool quoted = false;
    for (char c : text) {
        if (c == '\0') c = ' ';  // the word index would take a zero byte for the end of the query
        if (c == '"' && (quoted || current.empty() || current.back() == ':')) quoted = !quoted;
        if (IsSpace(c) && !quoted) {
            if (!current.empty()) tokens.push_back(std::move(current));
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.empty()) tokens.push_back(std::move(current));
    return tokens;
}

bool StartsWithOperator(std::string_view token) {
    return !token.empty() && std::string_view("<>=!").find(token[0]) != std::string_view::npos;
}
bool EndsWithOperator(std::string_view token) {
    return !token.empty() && std::string_view("<>=").find(token.back()) != std::string_view::npos;
}

// "gain >= 20", "gain>= 20", "gain >=20" become "gain>=20".
std::vector<std::string> JoinComparisons(std::vector<std::string> tokens) {
    std::vector<std::string> joined;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        std::string token = tokens[i];
        if (!joined.empty() && StartsWithOperator(token) && token[0] != '"' && !EndsWithOperator(joined.back()) &&
            joined.back().find_first_of("<>=") == std::string::npos) {
            token = joined.back() + token;
            joined.pop_back();
        }
        if (EndsWithOperator(token) && i + 1 < tokens.size()) token += tokens[++i];
        joined.push_back(std::move(token));
    }
    return joined;
}

// A phrase's words without its quotes; a word as it is.
std::string Unquoted(std::string_view text) {
    if (text.empty() || text.front() != '"') return std::string(text);
    text.remove_prefix(1);
    const std::size_t closing = text.find('"');
    return std::string(closing == std::string_view::npos ? text : text.substr(0, closing));
}

std::string Trim(std::string text) {
    while (!text.empty() && IsSpace(text.back())) text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && IsSpace(text[start])) ++start;
    return text.substr(start);
}

std::optional<double> LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t digits = i;
    while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) ++i;
    if (i == digits) return std::nullopt;
    return std::strtod(std::string(text.substr(0, i)).c_str(), nullptr);
}

bool Compare(std::string_view op, double a, double b) {
    constexpr double kEpsilon = 1e-9;
    if (op == "=") return std::fabs(a - b) < kEpsilon;
    if (op == "!=") return std::fabs(a - b) >= kEpsilon;
    if (op == "<") return a < b - kEpsilon;
    if (op == "<=") return a <= b + kEpsilon;
    if (op == ">") return a > b + kEpsilon;
    return a >= b - kEpsilon;
}

// Does a shown value satisfy "op value"?
bool Holds(const std::string& shown, std::string_view op, const std::string& value) {
    const auto wanted = LeadingNumber(value);
    const auto have = LeadingNumber(shown);
    if (wanted && have) return Compare(op, *have, *wanted);
    if (op == "=") return Fold(Trim(shown)) == Fold(value);
    if (op == "!=") return Fold(Trim(shown)) != Fold(value);
    return false;
}

int TypeByte(Module module) {
    switch (module) {
        case Module::Drive:
            return DriveType;
        case Module::Mod:
            return ModType;
        default:
            return DlyType;
    }
}

int TypeCount(Module module) {
    return module == Module::Drive ? kDriveTypeCount : kBaseTypeCount;
}

// Stored values as SQL: "x IN (..)" from runs of consecutive values.
std::string ValuesCondition(const std::string& x, const std::vector<int>& values) {
    std::string sql;
    for (std::size_t i = 0; i < values.size();) {
        std::size_t j = i;
        while (j + 1 < values.size() && values[j + 1] == values[j] + 1) ++j;
        sql += sql.empty() ? "" : " OR ";
        sql += j == i ? x + " = " + std::to_string(values[i])
                      : x + " BETWEEN " + std::to_string(values[i]) + " AND " + std::to_string(values[j]);
        i = j + 1;
    }
    return "(" + sql + ")";
}

std::string ByteOf(int byte) {
    return "patch_byte(p.sound, " + std::to_string(byte) + ")";
}

// A parameter by its name: for every module type that has it, the stored
// values whose shown value satisfies the comparison.
std::string ParameterCondition(const std::string& name, std::string_view op, const std::string& value) {
    const std::string wanted = Fold(name);
    bool known = false;
    std::vector<std::string> alternatives;
    for (int byte = 0; byte < kPatchBytes; ++byte) {
        const Module module = ModuleOfByte(byte);
        const bool typed = module == Module::Drive || module == Module::Mod || module == Module::DlyRev;
        if (typed && byte == TypeByte(module)) continue;
        for (int type = typed ? 0 : -1; type < (typed ? TypeCount(module) : 0); ++type) {
            if (Fold(ParameterName(byte, type)) != wanted) continue;
            const int max = ParameterMax(byte, type);
            if (max < 0) continue;
            known = true;
            std::vector<int> values;
            for (int v = 0; v <= max; ++v)
                if (Holds(DisplayText(byte, type, v), op, value)) values.push_back(v);
            if (values.empty()) continue;
            std::string condition = ValuesCondition(ByteOf(byte), values);
            if (typed)
                condition = "(" + ByteOf(TypeByte(module)) + " = " + std::to_string(type) + " AND " + condition + ")";
            alternatives.push_back(condition);
        }
    }
    if (!known) throw QueryError("No parameter is called \"" + name + "\".");
    if (alternatives.empty()) return "0";
    std::string sql;
    for (const std::string& a : alternatives) sql += (sql.empty() ? "" : " OR ") + a;
    return "(" + sql + ")";
}

std::string TypeCondition(Module module, const std::string& moduleName, const std::string& name) {
    const std::span<const std::string_view> names = module == Module::Drive ? DriveTypeNames()
                                                    : module == Module::Mod ? ModTypeNames()
                                                                            : DlyTypeNames();
    const std::string wanted = Fold(Trim(name));
    std::vector<int> exact, partial;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string folded = Fold(Trim(std::string(names[i])));
        if (folded == wanted)
            exact.push_back(static_cast<int>(i));
        else if (!wanted.empty() && folded.find(wanted) != std::string::npos)
            partial.push_back(static_cast<int>(i));
    }
    const std::vector<int>& types = exact.empty() ? partial : exact;
    if (types.empty()) throw QueryError("No " + moduleName + " type is called \"" + name + "\".");
    return ValuesCondition(ByteOf(TypeByte(module)), types);
}

}  // namespace

QuerySql ParseQuery(std::string_view text) {
    QuerySql q;
    std::vector<std::string> conditions;
    const auto bindText = [&q](std::string value) {
        q.binds.emplace_back(std::move(value));
        return std::string("?");
    };
    const auto word = [&](const std::string& raw) {
        const std::string folded = Fold(Unquoted(raw));
        if (Trim(folded).empty()) return;
        if (utf8::CodePoints(folded) >= 3) {
            std::string quoted = "\"";
            for (char c : folded) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            q.match += (q.match.empty() ? "" : " ") + quoted + "\"";
            return;
        }
        std::string like = "%";
        for (char c : folded) {
            if (c == '%' || c == '_' || c == '\\') like += '\\';
            like += c;
        }
        conditions.push_back("(o.search_name || ' ' || o.search_comment) LIKE " + bindText(like + "%") +
                             " ESCAPE '\\'");
    };

    const std::vector<std::string> tokens = JoinComparisons(Tokens(text));
    if (tokens.size() > kMaxTerms)
        throw QueryError("A query can hold at most " + std::to_string(kMaxTerms) + " words and conditions; this one has " +
                         std::to_string(tokens.size()) + ".");
    for (const std::string& token : tokens) {
        // A quoted phrase, unless an operator follows its closing quote ("patch level">=50).
        const std::size_t closing = token[0] == '"' ? token.find('"', 1) : std::string::npos;
        if (token[0] == '"' && (closing == std::string::npos || closing + 1 >= token.size() ||
                                std::string_view("<>=!").find(token[closing + 1]) == std::string_view::npos)) {
            word(token);
            continue;
        }
        const std::string folded = Fold(token);
        if (folded == "fav" || folded == "favourite" || folded == "favorite" || folded == "favourites" ||
            folded == "favorites") {
            conditions.push_back("EXISTS (SELECT 1 FROM patch_notes n WHERE n.patch_id = o.patch_id AND n.favourite)");
            continue;
        }
        const std::size_t colon = token.find(':');
        const std::size_t op = token.find_first_of("<>=!");
        if (colon != std::string::npos && (op == std::string::npos || colon < op)) {
            const std::string key = Fold(token.substr(0, colon));
            const std::string value = Unquoted(std::string_view(token).substr(colon + 1));
            const Module module = key == "drive"                                     ? Module::Drive
                                  : key == "mod"                                     ? Module::Mod
                                  : key == "dly" || key == "rev" || key == "dly/rev" ? Module::DlyRev
                                  : key == "eq"                                      ? Module::Eq
                                                                                     : Module::Patch;
            if (module != Module::Patch) {
                const std::string v = Fold(value);
                const int bit = module == Module::Drive    ? DriveOn
                                : module == Module::Mod    ? ModOn
                                : module == Module::DlyRev ? DlyOn
                                                           : EqOn;
                if (v == "on" || v == "off") {
                    conditions.push_back("(" + ByteOf(ModuleSwitches) + " & " + std::to_string(bit) + ") " +
                                         (v == "on" ? "<> 0" : "= 0"));
                    continue;
                }
                if (module == Module::Eq) throw QueryError("The EQ is on or off (eq:on, eq:off); it has no types.");
                conditions.push_back(TypeCondition(module, key, value));
                continue;
            }
            if (key == "tag") {
                // A name word that makes a tag finds it too (tag:dly finds "delay").
                std::string tags = bindText(Fold(Trim(value)));
                for (const std::string& tag : AutomaticTags(value)) tags += ", " + bindText(tag);
                conditions.push_back("EXISTS (SELECT 1 FROM tags t WHERE t.patch_id = o.patch_id AND t.tag IN (" +
                                     tags + ") AND t.origin <> 'removed')");
                continue;
            }
            if (key == "in") {
                conditions.push_back("instr(f.path, " + bindText(value) + ") > 0");
                continue;
            }
            word(token);  // a colon in a word ("10:30")
            continue;
        }
        if (op != std::string::npos && op > 0) {
            std::string_view ops;
            for (std::string_view candidate : kOperators)
                if (token.compare(op, candidate.size(), candidate) == 0) {
                    ops = candidate;
                    break;
                }
            const std::string name = Unquoted(token.substr(0, op));
            const std::string value = Trim(Unquoted(token.substr(op + ops.size())));
            if (ops.empty()) {  // "wow!", "a!b": no operator, a word
                word(token);
                continue;
            }
            if (value.empty()) throw QueryError("\"" + token + "\" is not a comparison (gain>=20).");
            if (ops != "=" && ops != "!=" && !LeadingNumber(value))
                throw QueryError("\"" + token + "\" compares with a number: give one after " + std::string(ops) +
                                 " (gain>=20), or look for a shown value with = (ratio=oF).");
            if (Fold(name) == "rating") {
                const auto number = LeadingNumber(value);
                if (!number) throw QueryError("A rating is a number from 1 to 5.");
                q.binds.emplace_back(static_cast<std::int64_t>(std::lround(*number)));
                conditions.push_back(
                    "coalesce((SELECT n.rating FROM patch_notes n WHERE n.patch_id = o.patch_id), 0) " +
                    std::string(ops) + " ?");
                continue;
            }
            conditions.push_back(ParameterCondition(name, ops, value));
            continue;
        }
        word(token);
    }
    for (const std::string& c : conditions) q.where += " AND " + c;
    return q;
}

}  // namespace orb8::library
