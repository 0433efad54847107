// SPDX-License-Identifier: MIT
// The path a user feels, through a real input method framework: key press to preedit and key
// press to commit at the client (median, p90, p99 over the timed keys, with the candidate list
// shown and redrawn), the floor under both (the same client's round trip for a key passed
// through), selecting the engine to its first answered key, and the memory of the engine's
// process after the keys. The framework is the client's: one program per framework, one
// measurement.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "bench/latency_bench_options.h"
#include "bench/latency_client.h"

namespace kv::bench {

struct LatencyFramework {
    // The command line's description, printed after an unusable argument.
    std::string_view usage;
    // Why there is nothing to measure when the client finds no framework.
    std::string_view unreachable;
    // What the options do not set.
    LatencyBenchOptions defaults;
    std::function<std::unique_ptr<LatencyClient>(const LatencyBenchOptions&)> connect;
};

// Parses the command line, runs the measurements in the order they need (start-up from cold
// first, memory after the keys) and reports them through Google Benchmark. The exit status.
int RunLatencyBenchmarks(int argc, char** argv, LatencyFramework framework);

}  // namespace kv::bench
