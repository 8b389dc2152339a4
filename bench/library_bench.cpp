// The patch library on a generated corpus: banks that are mutations of the
// factory bank (a few parameters changed, names and comments from a word
// list, a fifth of the patches copies of others). Prints:
//   first full index (target at least 1,000 banks a second),
//   rescan with nothing changed (target under 1 s),
//   search p50 / p95 over a mix of queries (target p95 under 20 ms),
//   similar patches, top 20 over every sound (target under 100 ms),
//   database size against the size of the indexed files (target at most 1).
// Usage: library_bench [BANKS] [FOLDER]; 10,000 banks by default, in a
// temporary folder that is removed at the end.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/librarycorpus.h"
#include "library/patchlibrary.h"
#include "patch/projectdocument.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

using namespace librarybench;

int main(int argc, char** argv) {
    const int banks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const bool ownFolder = argc <= 2;
    std::string folder =
        ownFolder ? (fs::temp_directory_path() / ("orb8-library-bench-" + std::to_string(::getpid()))).string()
                  : std::string(argv[2]);
    std::mt19937 random(20261208);
    std::printf("Patch library on %d generated banks (%d patches)\n", banks, banks * orb8::kPatchCount);
    const auto generateStart = Clock::now();
    const std::uintmax_t fileBytes = Generate(folder + "/banks", banks, random);
    std::printf("  generated in %.1f s, %.1f MB of bank files\n", Ms(Clock::now() - generateStart) / 1000,
                fileBytes / 1e6);
    {
        const std::string db = folder + "/library.db";
        for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(db + suffix);  // a first index, always
        orb8::library::PatchLibrary lib(db);
        lib.AddSource(folder + "/banks");
        auto start = Clock::now();
        const auto first = lib.Scan();
        const double firstMs = Ms(Clock::now() - start);
        std::printf("  first full index   %8.1f s   %7.0f banks/s (target at least 1,000)  %d sounds new\n",
                    firstMs / 1000, banks / (firstMs / 1000), first.newPatches);
        start = Clock::now();
        const auto again = lib.Scan();
        std::printf("  rescan, unchanged  %8.3f s   (target under 1 s)  %d read\n", Ms(Clock::now() - start) / 1000,
                    again.read);

        const std::vector<std::string> queries = {"crunch",       "warm lead",
                                                  "slap back",    "歪み",
                                                  "ディレイ",     "ab",
                                                  "drive:fuzz",   "mod:on dly:off",
                                                  "gain>=20",     "crunch gain>=10 mod:on",
                                                  "in:/12/ lead", "shimmer spacey",
                                                  "xyzzy",        "live encore",
                                                  "mod:bpm",      "dly:echo level<30"};
        std::vector<double> times;
        for (int round = 0; round < 5; ++round)
            for (const std::string& q : queries) {
                start = Clock::now();
                lib.Search(q, 100);
                times.push_back(Ms(Clock::now() - start));
            }
        std::sort(times.begin(), times.end());
        std::printf("  search (100 hits)  p50 %6.2f ms   p95 %6.2f ms (target under 20 ms)   max %6.2f ms\n",
                    times[times.size() / 2], times[times.size() * 95 / 100], times.back());
        for (const std::string& q : queries) {
            start = Clock::now();
            const auto hits = lib.Search(q, 100);
            std::printf("    %-26s %7.2f ms  %3zu hits\n", q.c_str(), Ms(Clock::now() - start), hits.size());
        }

        // Pages as the Library window reads them: the first, and one deep in
        // the results (keyset paging), in found order and by each column.
        using orb8::library::ResultOrder;
        std::vector<double> pageTimes;
        double foundDeep = 0;
        const std::pair<const char*, ResultOrder> orders[] = {
            {"found", ResultOrder::Found}, {"name", ResultOrder::Name},       {"bank", ResultOrder::Bank},
            {"slot", ResultOrder::Slot},   {"drive", ResultOrder::Drive},     {"mod", ResultOrder::Mod},
            {"dly", ResultOrder::Dly},     {"favourite", ResultOrder::Favourite}, {"comment", ResultOrder::Comment}};
        for (const auto& [label, order] : orders) {
            std::vector<double> byOrder;
            double deep = 0;
            for (const char* q : {"", "crunch", "warm lead", "mod:on dly:off", "gain>=20", "drive:fuzz"}) {
                orb8::library::PageRequest request{q, order, false, 200, std::nullopt};
                for (int page = 0; page < 25; ++page) {
                    start = Clock::now();
                    const auto read = lib.Page(request);
                    const double ms = Ms(Clock::now() - start);
                    if (page == 0) byOrder.push_back(ms);
                    if (page == 24) deep = std::max(deep, ms);
                    if (!read.next) break;
                    request.after = read.next;
                }
            }
            std::sort(byOrder.begin(), byOrder.end());
            std::printf("    page of 200 by %-9s first: median %7.2f ms, worst %7.2f ms; 25th: worst %7.2f ms\n", label,
                        byOrder[byOrder.size() / 2], byOrder.back(), deep);
            if (order == ResultOrder::Found) {
                pageTimes = byOrder;
                foundDeep = deep;
            }
        }
        std::printf("  result page in found order: median %.2f ms, worst %.2f ms, 25th page worst %.2f ms "
                    "(target under 5 ms)\n",
                    pageTimes[pageTimes.size() / 2], pageTimes.back(), foundDeep);

        const auto some = lib.Search("crunch", 5);
        std::vector<double> similarTimes;
        for (const auto& place : some) {
            start = Clock::now();
            lib.Similar(place.patch, 20);
            similarTimes.push_back(Ms(Clock::now() - start));
        }
        if (!similarTimes.empty())
            std::printf(
                "  similar, top 20    first %6.1f ms (loads every sound), then %6.1f ms (target under 100 ms)\n",
                similarTimes.front(), similarTimes.back());
        const auto stats = lib.Stats();
        std::printf("  %lld sounds in %lld places\n", static_cast<long long>(stats.patches),
                    static_cast<long long>(stats.places));
    }
    std::uintmax_t dbBytes = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename().string().rfind("library.db", 0) == 0)
            dbBytes += entry.file_size();
    std::printf("  database %.1f MB, bank files %.1f MB: ratio %.2f (target at most 1)\n", dbBytes / 1e6,
                FolderBytes(folder + "/banks") / 1e6, static_cast<double>(dbBytes) / static_cast<double>(fileBytes));
    std::printf("  peak memory of this process %.0f MB\n", PeakKb() / 1024.0);
    if (ownFolder) fs::remove_all(folder);
    return 0;
}
