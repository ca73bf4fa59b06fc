// Wildcard matching is run for every file of every folder a library scan lists.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Files.h"

#include "bench/References.h"

namespace {

std::vector<std::string> Names()
{
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i)
        names.push_back(std::to_string(100000 + i) + (i % 3 ? ".CBM" : " house.cbm"));
    return names;
}

// The reference: a plain prefix compare over the same names.
int PrefixHits(const std::vector<std::string>& names)
{
    int hits = 0;
    for (const std::string& n : names)
        hits += std::strncmp(n.c_str(), "100123", 6) == 0;
    return hits;
}

void BM_WildcardMatch(benchmark::State& state)
{
    const std::vector<std::string> names = Names();
    benchref::RunAgainst(
        state, "x_prefix",
        [&] {
            int hits = 0;
            for (const std::string& n : names)
                hits += plat::WildcardMatch("100123*.CBM", n);
            benchmark::DoNotOptimize(hits);
        },
        [&] {
            int hits = PrefixHits(names);
            benchmark::DoNotOptimize(hits);
        });
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}
BENCHMARK(BM_WildcardMatch);

void BM_PrefixCompareReference(benchmark::State& state)
{
    const std::vector<std::string> names = Names();
    for (auto _ : state) {
        int hits = PrefixHits(names);
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}
BENCHMARK(BM_PrefixCompareReference);

} // namespace
