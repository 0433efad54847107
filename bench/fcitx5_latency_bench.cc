// SPDX-License-Identifier: MIT
// Key latency, start-up and memory of an fcitx5 input method through a real fcitx5 (see
// bench/latency_benchmarks.h for what is measured), through fcitx5's D-Bus frontend only, so
// any fcitx5 input method can be measured the same way. The floor is a key passed through by
// keyboard-us; start-up runs from SetCurrentIM on a focused context, which loads the addon, to
// the first key's preedit; the memory is fcitx5's own, where the addon lives.
//
// bench/run_fcitx5_bench.py starts a private fcitx5 per input method and runs this program for
// the input method and for fcitx5-table on the same table, side by side:
//   cmake --build build-bench --target kv_bundle fcitx5_latency_bench &&
//   /usr/bin/python3 bench/run_fcitx5_bench.py --build build-bench
// By hand, on a session bus whose fcitx5 has the input method in its group and has not loaded
// it yet:
//   build-bench/bench/fcitx5_latency_bench --codes=FILE --engine=cqinputkv
//       --show_candidates_key=space --benchmark_out=fcitx5.json --benchmark_out_format=json
#include <memory>

#include "bench/fcitx5_bench_client.h"
#include "bench/latency_benchmarks.h"

namespace {

constexpr std::string_view kUsage =
    "fcitx5_latency_bench --codes=FILE [--engine=NAME] [--engine_library=TEXT]\n"
    "                     [--floor_engine=NAME] [--show_candidates_key=space|none]\n"
    "                     [--select_key=KEY] [--keys=N] [Google Benchmark flags]\n"
    "Times keys through the fcitx5 of the session bus. FILE holds lines\n"
    "\"code<TAB>candidate\": codes with two candidates or more, and the candidate the\n"
    "selection key commits. The input method defaults to $KV_BENCH_ENGINE, else cqinputkv;\n"
    "TEXT is a fragment of its addon library's path (cqinputkv-fcitx5); the floor's key\n"
    "passes through keyboard-us unless another NAME is given.\n";

}  // namespace

int main(int argc, char** argv) {
    kv::bench::LatencyBenchOptions defaults;
    defaults.engineProcess = "cqinputkv-fcitx5";
    defaults.floorEngine = "keyboard-us";
    return kv::bench::RunLatencyBenchmarks(
        argc, argv,
        {.usage = kUsage,
         .unreachable = "no fcitx5 owns org.fcitx.Fcitx5 on the session bus",
         .defaults = std::move(defaults),
         .connect = [](const kv::bench::LatencyBenchOptions& options) {
             return std::make_unique<kv::bench::FcitxBenchClient>(options.engineProcess);
         }});
}
