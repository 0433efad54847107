// SPDX-License-Identifier: MIT
// Key latency, start-up and memory of an IBus engine through a real IBus daemon (see
// bench/latency_benchmarks.h for what is measured). Links libibus only, so any IBus engine can
// be measured the same way; the floor is the measured engine's own round trip for Escape.
//
// bench/run_ibus_bench.py starts a private desktop per engine and runs this program for the
// input method and for ibus-table side by side:
//   cmake --build build-bench --target kv_bundle ibus_latency_bench &&
//   /usr/bin/python3 bench/run_ibus_bench.py --build build-bench
// By hand, on a daemon whose engine has not started yet (start to ready needs a cold engine):
//   IBUS_ADDRESS=... build-bench/bench/ibus_latency_bench --codes=FILE --engine=cqinputkv
//       --show_candidates_key=space --benchmark_out=ibus.json --benchmark_out_format=json
#include <memory>

#include "bench/ibus_bench_client.h"
#include "bench/latency_benchmarks.h"

namespace {

constexpr std::string_view kUsage =
    "ibus_latency_bench --codes=FILE [--engine=NAME] [--engine_process=TEXT]\n"
    "                   [--show_candidates_key=space|none] [--select_key=KEY] [--keys=N]\n"
    "                   [Google Benchmark flags]\n"
    "Times keys through the IBus daemon named by IBUS_ADDRESS. FILE holds lines\n"
    "\"code<TAB>candidate\": codes with two candidates or more, and the candidate the\n"
    "selection key commits. The engine defaults to $KV_BENCH_ENGINE, else cqinputkv; TEXT\n"
    "is a fragment of the engine process's command line.\n";

}  // namespace

int main(int argc, char** argv) {
    kv::bench::LatencyBenchOptions defaults;
    defaults.engineProcess = "/MacOS/CQInputKV";
    return kv::bench::RunLatencyBenchmarks(
        argc, argv,
        {.usage = kUsage,
         .unreachable = "no IBus daemon answers at IBUS_ADDRESS",
         .defaults = std::move(defaults),
         .connect = [](const kv::bench::LatencyBenchOptions& options) {
             return std::make_unique<kv::bench::IBusBenchClient>(options.engineProcess);
         }});
}
