// SPDX-License-Identifier: MIT
// Loading the table, its memory, and exact and wildcard lookups.
//
// Run (from the top of the tree; JSON to bench.json, the table in the console):
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_BENCH=ON &&
//   cmake --build build-bench --target bench_engine &&
//   build-bench/bench/bench_engine --benchmark_out=bench.json --benchmark_out_format=json
// Another table: -DKV_BENCH_TABLE=FILE at configure time.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_table.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

// A field of /proc/self/status such as "VmRSS", in bytes.
double StatusBytes(std::string_view field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':') {
            return std::strtod(line.c_str() + field.size() + 1, nullptr) * 1024.0;  // "... kB"
        }
    }
    return 0.0;
}

// Bytes the allocator has handed out and not taken back.
double HeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// Sets the peak resident size back to the current one (Linux 4.0 and later).
bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

void BM_Load(benchmark::State& state) {
    const std::filesystem::path path = kv::bench::TablePath();
    kv::bench::SharedTable();  // reads the file once: the page cache is warm
    for (auto _ : state) {
        cqinput::CinTable table;
        benchmark::DoNotOptimize(table.load(path));
    }
}
// The minimum too: on a shared machine it is the figure least disturbed by other work.
BENCHMARK(BM_Load)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ComputeStatistics("min",
                        [](const std::vector<double>& v) {
                            return *std::min_element(v.begin(), v.end());
                        })
    ->ReportAggregatesOnly(true);

// Memory that one loaded table holds (heap_MiB, rss_MiB) and the peak of its load (peak_MiB).
void BM_MemoryAfterLoad(benchmark::State& state) {
    const std::filesystem::path path = kv::bench::TablePath();
    kv::bench::SharedTable();
    for (auto _ : state) {
        // Hand freed pages back first, so earlier benchmarks do not hide the growth.
        malloc_trim(0);
        const double heapBefore = HeapBytes();
        const double rssBefore = StatusBytes("VmRSS");
        const bool peakReset = ResetPeak();
        cqinput::CinTable table;
        benchmark::DoNotOptimize(table.load(path));
        state.counters["heap_MiB"] = (HeapBytes() - heapBefore) / kMiB;
        state.counters["rss_MiB"] = (StatusBytes("VmRSS") - rssBefore) / kMiB;
        if (peakReset) {
            state.counters["peak_MiB"] = (StatusBytes("VmHWM") - rssBefore) / kMiB;
        }
    }
}
BENCHMARK(BM_MemoryAfterLoad)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ExactHit(benchmark::State& state) {
    const cqinput::CinTable& table = kv::bench::SharedTable();
    const std::vector<std::string> codes = kv::bench::SampleCodes(4096, 64);
    std::size_t next = 0;
    for (auto _ : state) {
        std::vector<std::string> found = table.lookup(codes[next++ % codes.size()]);
        benchmark::DoNotOptimize(found.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExactHit);

void BM_ExactMiss(benchmark::State& state) {
    const cqinput::CinTable& table = kv::bench::SharedTable();
    const std::vector<std::string> codes = kv::bench::SampleMisses(4096);
    std::size_t next = 0;
    for (auto _ : state) {
        std::vector<std::string> found = table.lookup(codes[next++ % codes.size()]);
        benchmark::DoNotOptimize(found.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExactMiss);

void BM_Wildcard(benchmark::State& state, std::string_view pattern) {
    const cqinput::CinTable& table = kv::bench::SharedTable();
    std::size_t count = 0;
    for (auto _ : state) {
        std::vector<std::string> found = table.lookup(pattern);
        count = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.SetLabel(std::string(pattern));
    state.counters["candidates"] = static_cast<double>(count);
}
BENCHMARK_CAPTURE(BM_Wildcard, a_star, "a*")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Wildcard, star_a, "*a")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Wildcard, h_any, "h?")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Wildcard, o_star_r, "o*r")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Wildcard, any_b_any, "?b?")->Unit(benchmark::kMicrosecond);

}  // namespace
