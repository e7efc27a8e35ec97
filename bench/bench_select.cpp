// The size finder's search: every candidate of the shipped catalogue (all
// types, every option combination), and a catalogue at the full bounds
// (1000 models × 200 sizes) searched whole, as one type of that size would
// be. The window searches off its thread above a number of size lines; the
// time per line here is what that number rests on. Off its thread the window
// searches in parts, one a core: the full catalogue is measured that way too.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "full_catalogue.h"
#include "select/search.h"

namespace {

nimbo::Catalogue shipped, full;

bool Load(const std::string& bytes, nimbo::Catalogue& out)
{
    nimbo::LoadError error;
    if (nimbo::LoadCatalogueFromBytes(bytes, "b", out, error))
        return true;
    std::fprintf(stderr, "%s\n", error.message().c_str());
    return false;
}

nimbo::Request Request(bool allOptions)
{
    nimbo::Request r;
    r.inputs.L = "800";
    r.inputs.V = "0.2";
    r.limits.LwA = 35;
    r.allOptions = allOptions;
    return r;
}

nimbo::SearchResult Whole(const nimbo::Catalogue& catalogue, const nimbo::Request& request)
{
    return nimbo::Search(catalogue, request);
}

// As the window does off its thread, with threads of the standard library
// for the pool's: the parts at once, then put together.
template <int parts>
nimbo::SearchResult InParts(const nimbo::Catalogue& catalogue, const nimbo::Request& request)
{
    std::vector<std::future<nimbo::SearchResult>> running;
    for (const nimbo::RowRange& range : nimbo::SplitRows(catalogue, request.type, parts))
        running.push_back(std::async(std::launch::async, [&, range] {
            return nimbo::SearchPart(catalogue, request, range);
        }));
    std::vector<nimbo::SearchResult> done;
    for (std::future<nimbo::SearchResult>& part : running)
        done.push_back(part.get());
    return nimbo::FinishSearch(request, std::move(done));
}

using SearchWay = nimbo::SearchResult (*)(const nimbo::Catalogue&, const nimbo::Request&);

void Run(benchmark::State& state, const nimbo::Catalogue& catalogue, const nimbo::Request& request,
         SearchWay search = Whole)
{
    std::size_t candidates = 0;
    for (auto _ : state) {
        const nimbo::SearchResult result = search(catalogue, request);
        candidates = result.found.size();
        benchmark::DoNotOptimize(result.found.data());
    }
    const double lines = static_cast<double>(nimbo::CandidateLines(catalogue, request.type));
    state.counters["candidates"] = static_cast<double>(candidates);
    state.counters["lines"] = lines;
    state.counters["us_per_line"] = benchmark::Counter(lines * 1e-6, benchmark::Counter::kIsIterationInvariantRate |
                                                                         benchmark::Counter::kInvert);
}

void BM_SearchShippedAllOptions(benchmark::State& state) { Run(state, shipped, Request(true)); }
void BM_SearchShippedDefault(benchmark::State& state) { Run(state, shipped, Request(false)); }
// The office of the room finder: 6 × 6 × 3 m, 400 m³/h, NR 35, the throw
// within Lc, the count «авто».
nimbo::Request Office(bool allOptions)
{
    nimbo::Request r = Request(allOptions);
    r.inputs.L = "400";
    r.limits = {};
    r.limits.NR = 35;
    r.limits.throwWithinLc = true;
    r.room = nimbo::RoomInput{{6, 6, 3, 1.2, 0.2}, std::nullopt};
    return r;
}
void BM_RoomShippedDefault(benchmark::State& state) { Run(state, shipped, Office(false)); }
void BM_RoomShippedAllOptions(benchmark::State& state) { Run(state, shipped, Office(true)); }
void BM_SearchFullDefault(benchmark::State& state) { Run(state, full, Request(false)); }
void BM_SearchFullDefaultInHalves(benchmark::State& state) { Run(state, full, Request(false), InParts<2>); }
nimbo::Request FullOneTypeAllOptions()
{
    nimbo::Request r = Request(true);
    r.type = full.typeNames().front();
    return r;
}
void BM_SearchFullOneTypeAllOptions(benchmark::State& state) { Run(state, full, FullOneTypeAllOptions()); }
void BM_SearchFullOneTypeAllOptionsInHalves(benchmark::State& state)
{
    Run(state, full, FullOneTypeAllOptions(), InParts<2>);
}

}  // namespace

BENCHMARK(BM_SearchShippedAllOptions)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SearchShippedDefault)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RoomShippedDefault)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RoomShippedAllOptions)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SearchFullDefault)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SearchFullDefaultInHalves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SearchFullOneTypeAllOptions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SearchFullOneTypeAllOptionsInHalves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    std::ifstream file(NIMBO_SOURCE_DIR "/data/A/b", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    if (!Load(bytes, shipped) || !Load(bench::FullBoundCatalogueBytes(), full))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
