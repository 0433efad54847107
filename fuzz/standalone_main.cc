// SPDX-License-Identifier: MIT
// Runs a fuzz target over saved inputs without libFuzzer, so that the seed corpora are regression
// tests in builds without it. Each argument is a file or a directory of files; each file is one
// input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The files an argument names, in name order; nothing if it names neither a file nor a directory.
std::vector<fs::path> InputsOf(const fs::path& argument) {
    std::error_code error;
    if (fs::is_regular_file(argument, error)) {
        return {argument};
    }
    std::vector<fs::path> inputs;
    for (fs::directory_iterator it(argument, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error)) {
            inputs.push_back(it->path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool Run(const fs::path& input) {
    std::ifstream in(input, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return false;
    }
    // A buffer of exactly the input's size, as libFuzzer passes it, so that a read past the end
    // is caught by the sanitizers.
    const auto data = std::make_unique_for_overwrite<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_DIRECTORY...\n", argv[0]);
        return 2;
    }
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<fs::path> inputs = InputsOf(argv[i]);
        if (inputs.empty()) {
            std::fprintf(stderr, "%s: no inputs in %s\n", argv[0], argv[i]);
            return 1;
        }
        for (const fs::path& input : inputs) {
            if (!Run(input)) {
                std::fprintf(stderr, "%s: cannot read %s\n", argv[0], input.c_str());
                return 1;
            }
            ++count;
        }
    }
    std::printf("%zu inputs ran\n", count);
    return 0;
}
