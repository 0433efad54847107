// SPDX-License-Identifier: MIT
// A directory of its own for each test, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace kvtest {

class TempDir {
  public:
    TempDir() {
        std::random_device random;
        for (;;) {
            _root = std::filesystem::temp_directory_path() /
                    ("kv-test-" + std::to_string(random()) + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(_root, error)) {
                break;
            }
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(_root, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return _root; }

    std::filesystem::path write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path file = _root / name;
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

  private:
    std::filesystem::path _root;
};

}  // namespace kvtest
