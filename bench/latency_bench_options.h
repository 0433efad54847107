// SPDX-License-Identifier: MIT
// The command line of the latency benchmarks (IBus, fcitx5), beside Google Benchmark's own
// flags.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::bench {

// A code to type and the candidate its selection key commits.
struct TypedCode {
    std::string code;
    std::string expected;
};

struct LatencyBenchOptions {
    // The engine to select, as the framework lists it.
    std::string engine = "cqinputkv";
    // What shows that the engine runs: a fragment of its process's command line (IBus) or of a
    // library the framework mapped (fcitx5).
    std::string engineProcess;
    // The engine the floor's key passes through; empty for the measured engine itself.
    std::string floorEngine;
    // The key that opens the candidate list after a code, if the engine needs one (' ').
    std::optional<char> showCandidatesKey;
    // The key that commits a candidate of the list.
    char selectKey = '2';
    // Timed keys per measurement.
    std::size_t keys = 1000;
    std::vector<TypedCode> codes;
};

// Reads the arguments that Google Benchmark left over `defaults`; prints why and `usage` and
// returns nothing when one is unknown or malformed or the codes file is missing or holds no
// code. The engine defaults to $KV_BENCH_ENGINE when it is set.
std::optional<LatencyBenchOptions> ParseLatencyBenchOptions(int argc, char** argv,
                                                            LatencyBenchOptions defaults,
                                                            std::string_view usage);

// Lines "code<TAB>candidate"; lines without a tab are skipped.
std::vector<TypedCode> ReadTypedCodes(std::istream& lines);

}  // namespace kv::bench
