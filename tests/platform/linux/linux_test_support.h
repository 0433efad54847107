// SPDX-License-Identifier: MIT
// A temporary directory per test, with the XDG base directories pointed into it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kv::test {

// Sets an environment variable for the life of the object and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value) : _name(name) {
        if (const char* old = std::getenv(name)) {
            _old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (_old) {
            ::setenv(_name, _old->c_str(), 1);
        } else {
            ::unsetenv(_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* _name;
    std::optional<std::string> _old;
};

class LinuxTest : public ::testing::Test {
  protected:
    LinuxTest() = default;
    ~LinuxTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(_root, ignored);
    }

    const std::filesystem::path& root() const { return _root; }

    static std::string read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void write(const std::filesystem::path& file, std::string_view bytes) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // The names of the files in `folder`, sorted.
    static std::vector<std::string> list(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    static std::filesystem::path MakeRoot() {
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::filesystem::path root;
        do {
            root = base / ("kv-linux-" + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directory(root));
        return root;
    }

    // Made before the environment below points into it.
    std::filesystem::path _root = MakeRoot();

  protected:
    ScopedEnvironment _home{"HOME", (_root / "home").string()};
    ScopedEnvironment _config{"XDG_CONFIG_HOME", (_root / "config").string()};
    ScopedEnvironment _data{"XDG_DATA_HOME", (_root / "data").string()};
};

}  // namespace kv::test
