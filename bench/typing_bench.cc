// SPDX-License-Identifier: MIT
// A thousand codes typed through one input engine: keys, trigger, choice of the first candidate.
// How to run: see bench/table_bench.cc.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "engine/input_engine.h"

namespace {

constexpr std::size_t kCodes = 1000;
// Typed codes hold at most six keys.
constexpr std::size_t kMaxTypedCode = 6;

// Types `code` and commits its first candidate; returns the committed bytes.
std::size_t TypeCode(cqinput::InputEngine& engine, const std::string& code) {
    std::size_t committed = 0;
    for (const char key : code) {
        const cqinput::EngineAction action = engine.pressCode(key);
        committed += action.kind == cqinput::ActionKind::Commit ? action.text.size() : 0;
    }
    // An end key may have triggered already.
    if (!engine.code.empty() && engine.candidates.empty()) {
        const cqinput::EngineAction action = engine.trigger();
        committed += action.kind == cqinput::ActionKind::Commit ? action.text.size() : 0;
    }
    if (!engine.candidates.empty()) {
        committed += engine.choose(0).text.size();
    }
    return committed;
}

void BM_Type1000Codes(benchmark::State& state) {
    const std::vector<std::string> codes = kv::bench::SampleCodes(kCodes, kMaxTypedCode);
    cqinput::InputEngine engine(kv::bench::SharedTable());
    std::size_t committed = 0;
    for (auto _ : state) {
        committed = 0;
        for (const std::string& code : codes) {
            committed += TypeCode(engine, code);
        }
        benchmark::DoNotOptimize(committed);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCodes));
    state.counters["committed_bytes"] = static_cast<double>(committed);
}
BENCHMARK(BM_Type1000Codes)->Unit(benchmark::kMicrosecond);

}  // namespace
