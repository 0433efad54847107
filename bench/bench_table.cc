// SPDX-License-Identifier: MIT
#include "bench/bench_table.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "engine/cin_parser.h"
#include "engine/code_map.h"

namespace kv::bench {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path) {
    std::fprintf(stderr, "bench_engine: cannot load the table %s\n", path.c_str());
    std::exit(1);
}

// Every code of the table, read with the engine's own parser so the sample matches the table.
std::vector<std::string> AllCodes() {
    std::ifstream in(TablePath(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    cqinput::CodeMap chardef;
    cqinput::KeyMap keynames;
    cqinput::KeyMap properties;
    cqinput::parseCin(text, chardef, keynames, properties);
    std::vector<std::string> codes;
    codes.reserve(chardef.entries().size());
    for (const cqinput::CodeMap::Entry& entry : chardef.entries()) {
        codes.push_back(entry.code);
    }
    return codes;
}

}  // namespace

std::filesystem::path TablePath() {
    return KV_BENCH_TABLE;
}

const cqinput::CinTable& SharedTable() {
    static const cqinput::CinTable table = [] {
        cqinput::CinTable loaded;
        if (!loaded.load(TablePath())) {
            Fail(TablePath());
        }
        return loaded;
    }();
    return table;
}

std::vector<std::string> SampleCodes(std::size_t count, std::size_t maxLength) {
    std::vector<std::string> codes = AllCodes();
    std::erase_if(codes, [maxLength](const std::string& code) {
        return code.size() > maxLength || code.find_first_of("*?") != std::string::npos;
    });
    if (codes.empty()) {
        Fail(TablePath());
    }
    std::mt19937 random(20240601);
    std::vector<std::string> sample;
    sample.reserve(count);
    while (sample.size() < count) {
        sample.push_back(codes[random() % codes.size()]);
    }
    return sample;
}

std::vector<std::string> SampleMisses(std::size_t count) {
    const cqinput::CinTable& table = SharedTable();
    std::mt19937 random(19700101);
    std::vector<std::string> misses;
    misses.reserve(count);
    while (misses.size() < count) {
        std::string code(1 + random() % 6, 'a');
        for (char& key : code) {
            key = static_cast<char>('a' + random() % 26);
        }
        if (table.lookup(code).empty()) {
            misses.push_back(std::move(code));
        }
    }
    return misses;
}

}  // namespace kv::bench
