// SPDX-License-Identifier: MIT
// The platform's interfaces, its memory bodies and the settings reach no desktop library: the
// logic above them must build and run without one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kv {
namespace {

std::vector<std::string> ForbiddenIncludes(const std::filesystem::path& folder) {
    static const std::vector<std::string> forbidden = {
        "<glib", "<gio/", "<gtk/", "<gdk/", "<ibus", "<cairo", "<pango", "<unicode/", "<plist/"};
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".h" && extension != ".cc") {
            continue;
        }
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("#include", 0) != 0) {
                continue;
            }
            for (const std::string& library : forbidden) {
                if (line.find(library) != std::string::npos) {
                    found.push_back(entry.path().filename().string() + ": " + line);
                }
            }
        }
    }
    return found;
}

TEST(Layering, InterfacesMemoryBodiesAndSettingsIncludeNoDesktopLibrary) {
    const std::filesystem::path root = KV_SOURCE_DIR;
    for (const char* folder : {"platform", "platform/memory", "settings"}) {
        EXPECT_EQ(ForbiddenIncludes(root / folder), std::vector<std::string>{}) << folder;
    }
}

}  // namespace
}  // namespace kv
