// SPDX-License-Identifier: MIT
// The command line of the IBus latency benchmark, beside Google Benchmark's own flags.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kv::bench {

// A code to type and the candidate its selection key commits.
struct TypedCode {
    std::string code;
    std::string expected;
};

struct IBusBenchOptions {
    // The engine to select, as the daemon lists it.
    std::string engine = "cqinputkv";
    // A fragment of the engine process's command line, to find it in /proc.
    std::string engineProcess = "/MacOS/CQInputKV";
    // The key that opens the candidate list after a code, if the engine needs one (' ').
    std::optional<char> showCandidatesKey;
    // The key that commits a candidate of the list.
    char selectKey = '2';
    // Timed keys per measurement.
    std::size_t keys = 1000;
    std::vector<TypedCode> codes;
};

// Reads the arguments that Google Benchmark left; prints why and returns nothing when one is
// unknown or malformed or the codes file is missing or holds no code.
std::optional<IBusBenchOptions> ParseIBusBenchOptions(int argc, char** argv);

// Lines "code<TAB>candidate"; lines without a tab are skipped.
std::vector<TypedCode> ReadTypedCodes(std::istream& lines);

}  // namespace kv::bench
