// SPDX-License-Identifier: MIT
#include "bench/latency_bench_options.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <utility>

namespace kv::bench {

namespace {

// The value of "--name=value" in `argument`, if it is that flag.
std::optional<std::string_view> FlagValue(std::string_view argument, std::string_view name) {
    if (!argument.starts_with("--") || !argument.substr(2).starts_with(name)) {
        return std::nullopt;
    }
    const std::string_view rest = argument.substr(2 + name.size());
    if (!rest.starts_with('=')) {
        return std::nullopt;
    }
    return rest.substr(1);
}

bool ApplyArgument(std::string_view argument, LatencyBenchOptions& options,
                   std::string& codesPath) {
    if (const auto value = FlagValue(argument, "engine")) {
        options.engine = *value;
    } else if (const auto process = FlagValue(argument, "engine_process")) {
        options.engineProcess = *process;
    } else if (const auto library = FlagValue(argument, "engine_library")) {
        options.engineProcess = *library;
    } else if (const auto floor = FlagValue(argument, "floor_engine")) {
        options.floorEngine = *floor;
    } else if (const auto codes = FlagValue(argument, "codes")) {
        codesPath = *codes;
    } else if (const auto show = FlagValue(argument, "show_candidates_key")) {
        if (*show == "space") {
            options.showCandidatesKey = ' ';
        } else if (*show == "none") {
            options.showCandidatesKey.reset();
        } else {
            return false;
        }
    } else if (const auto select = FlagValue(argument, "select_key")) {
        if (select->size() != 1) {
            return false;
        }
        options.selectKey = select->front();
    } else if (const auto keys = FlagValue(argument, "keys")) {
        const auto [end, error] =
            std::from_chars(keys->data(), keys->data() + keys->size(), options.keys);
        return error == std::errc{} && end == keys->data() + keys->size() && options.keys > 0;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::vector<TypedCode> ReadTypedCodes(std::istream& lines) {
    std::vector<TypedCode> codes;
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string::npos || tab + 1 == line.size()) {
            continue;
        }
        codes.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return codes;
}

std::optional<LatencyBenchOptions> ParseLatencyBenchOptions(int argc, char** argv,
                                                            LatencyBenchOptions defaults,
                                                            std::string_view usage) {
    LatencyBenchOptions options = std::move(defaults);
    if (const char* const engine = std::getenv("KV_BENCH_ENGINE"); engine != nullptr) {
        options.engine = engine;
    }
    std::string codesPath;
    for (int i = 1; i < argc; ++i) {
        if (!ApplyArgument(argv[i], options, codesPath)) {
            std::cerr << argv[0] << ": cannot use " << argv[i] << "\n" << usage;
            return std::nullopt;
        }
    }
    std::ifstream codesFile(codesPath);
    if (codesPath.empty() || !codesFile) {
        std::cerr << argv[0] << ": no codes file\n" << usage;
        return std::nullopt;
    }
    options.codes = ReadTypedCodes(codesFile);
    if (options.codes.empty()) {
        std::cerr << argv[0] << ": " << codesPath << " holds no code\n";
        return std::nullopt;
    }
    return options;
}

}  // namespace kv::bench
