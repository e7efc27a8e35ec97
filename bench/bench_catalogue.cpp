// LoadCatalogue on the shipped catalogue and on one at the full bounds
// (1000 records of 200 size lines), with the memory its tables take against
// the bytes of the values they hold.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "alloc_counter.h"
#include "catalogue/catalogue.h"
#include "full_catalogue.h"
#include "support/catalogue_text.h"

namespace {

namespace fs = std::filesystem;

struct Memory {
    std::size_t values = 0, tables = 0, tablesPeak = 0, capacity = 0, loadPeak = 0;
};

struct Source {
    fs::path folder;    // holds A/b
    std::string bytes;  // the file, for the parse-only runs
    std::size_t lines = 0;  // size lines, the heading not counted
    Memory memory;
};

Source shipped, full;

std::string ReadFile(const fs::path& file)
{
    std::string bytes(fs::file_size(file), '\0');
    std::ifstream(file, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

std::size_t SizeLines(const std::string& bytes)
{
    std::size_t lines = 0;
    for (char c : bytes)
        lines += c == '\n';
    return lines - 1;
}

// The bytes of the values the tables hold: per line 231 floats, 21 int16 and
// the texts; per row its four texts once. Texts count as stored (UTF-8), read
// through the catalogue's own accessors, so the figure does not depend on
// how the tables are laid out.
std::size_t ValueBytes(const nimbo::Catalogue& cat)
{
    std::size_t bytes = 0;
    for (int row = 1; row <= cat.recordCount(); ++row) {
        bytes += cat.modelName(row).size() + cat.typeName(row).size() + cat.typePictureName(row).size() +
                 cat.pageAddress(row).size();
        for (int k = 1; k <= cat.sizeLineCount(row); ++k) {
            const nimbo::SizeLine line = cat.line(row, k);
            for (int pos = 1; pos <= nimbo::kFieldsPerLine; ++pos) {
                if (pos == 1 || pos == 2 || pos == 291 || pos == 292 || pos == 4)
                    continue;  // per-row texts counted above; the line count is not kept
                if (nimbo::test::IsTextPosition(pos))
                    bytes += line.textField(pos).size();
                else if (nimbo::test::IsIntPosition(pos))
                    bytes += sizeof(std::int16_t);
                else
                    bytes += sizeof(float);
            }
        }
    }
    return bytes;
}

void Fail(benchmark::State& state, const nimbo::LoadError& error)
{
    state.SkipWithError(error.message().c_str());
}

// Memory, measured once before any timing:
//   tables      heap the loaded tables keep
//   tablesPeak  heap the tables needed at most while loading
//   loadPeak    the same for the whole LoadCatalogue, file buffer included
//   capacity    the tables' own count of their capacity() (a cross-check)
bool MeasureMemory(Source& source)
{
    Memory& m = source.memory;
    nimbo::LoadError error;
    {
        nimbo::Catalogue cat;
        const std::size_t before = bench::heap::liveBytes();
        bench::heap::resetPeak();
        if (!nimbo::LoadCatalogueFromBytes(source.bytes, "b", cat, error))
            return false;
        m.tables = bench::heap::liveBytes() - before;
        m.tablesPeak = bench::heap::peakBytes() - before;
        m.capacity = cat.storageBytes();
        m.values = ValueBytes(cat);
    }
    {
        nimbo::Catalogue cat;
        const std::size_t before = bench::heap::liveBytes();
        bench::heap::resetPeak();
        if (!nimbo::LoadCatalogue(source.folder, cat, error))
            return false;
        m.loadPeak = bench::heap::peakBytes() - before;
    }
    return true;
}

// As ratios to the value bytes: the figures the targets speak of.
void MemoryCounters(benchmark::State& state, const Source& source)
{
    const Memory& m = source.memory;
    const double v = static_cast<double>(m.values);
    state.counters["values_MB"] = v / 1e6;
    state.counters["tables_MB"] = static_cast<double>(m.tables) / 1e6;
    state.counters["tables_ratio"] = static_cast<double>(m.tables) / v;
    state.counters["tables_peak"] = static_cast<double>(m.tablesPeak) / v;
    state.counters["load_peak"] = static_cast<double>(m.loadPeak) / v;
    state.counters["capacity_ratio"] = static_cast<double>(m.capacity) / v;
}

void Throughput(benchmark::State& state, const Source& source)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.bytes.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * source.lines));
}

// The whole LoadCatalogue as start-up calls it: file read and parse.
void Load(benchmark::State& state, const Source& source)
{
    for (auto _ : state) {
        nimbo::Catalogue cat;
        nimbo::LoadError error;
        if (!nimbo::LoadCatalogue(source.folder, cat, error))
            return Fail(state, error);
        benchmark::DoNotOptimize(cat);
    }
    Throughput(state, source);
    MemoryCounters(state, source);
}

// The parse alone, from bytes already in memory.
void Parse(benchmark::State& state, const Source& source)
{
    for (auto _ : state) {
        nimbo::Catalogue cat;
        nimbo::LoadError error;
        if (!nimbo::LoadCatalogueFromBytes(source.bytes, "b", cat, error))
            return Fail(state, error);
        benchmark::DoNotOptimize(cat);
    }
    Throughput(state, source);
}

// The yardstick for the full load: fresh memory as large as its tables,
// written once per page, as the loader must write its tables. A process
// cannot store its values for less.
void BM_TouchFullTables(benchmark::State& state)
{
    constexpr std::size_t kPage = 4096;
    const std::size_t bytes = full.memory.tables;
    for (auto _ : state) {
        const std::unique_ptr<char[]> memory(new char[bytes]);
        for (std::size_t at = 0; at < bytes; at += kPage)
            memory[at] = 1;
        benchmark::DoNotOptimize(memory.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * full.bytes.size()));
}

void BM_LoadShipped(benchmark::State& state) { Load(state, shipped); }
void BM_ParseShipped(benchmark::State& state) { Parse(state, shipped); }
void BM_LoadFull(benchmark::State& state) { Load(state, full); }
void BM_ParseFull(benchmark::State& state) { Parse(state, full); }

BENCHMARK(BM_LoadShipped)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ParseShipped)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_LoadFull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseFull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TouchFullTables)->Unit(benchmark::kMillisecond)->UseRealTime();

Source Prepare(const fs::path& folder)
{
    Source s;
    s.folder = folder;
    s.bytes = ReadFile(folder / "A" / "b");
    s.lines = SizeLines(s.bytes);
    if (!MeasureMemory(s)) {
        std::fprintf(stderr, "%s does not load\n", (folder / "A" / "b").c_str());
        std::exit(1);
    }
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    shipped = Prepare(fs::path(NIMBO_SOURCE_DIR) / "data");
    const fs::path temp = fs::temp_directory_path() / ("nimbo-bench-" + std::to_string(getpid()));
    nimbo::test::WriteCatalogue(temp, bench::FullBoundCatalogueBytes());
    full = Prepare(temp);
    std::fprintf(stderr, "full-bound catalogue: %zu lines, %.1f MB, %.0f bytes a line, in %s\n", full.lines,
                 static_cast<double>(full.bytes.size()) / 1e6,
                 static_cast<double>(full.bytes.size()) / static_cast<double>(full.lines), temp.c_str());

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(temp);
    return 0;
}
