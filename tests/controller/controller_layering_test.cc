// SPDX-License-Identifier: MIT
// The controller reaches the desktop only through the platform's interfaces.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kv::testing {
namespace {

TEST(ControllerLayering, IncludesNoDesktopLibrary) {
    const std::vector<std::string> forbidden = {"<glib",  "<gio/",  "<gtk/",     "<gdk/",  "<ibus",
                                                "<cairo", "<pango", "<unicode/", "<plist/"};
    const std::vector<std::string> allowedFolders = {
        "controller/", "engine/", "platform/", "settings/", "candidates/", "keyboard/", "words/"};
    std::vector<std::string> found;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(KV_SOURCE_DIR) / "controller")) {
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("#include", 0) != 0) {
                continue;
            }
            for (const std::string& library : forbidden) {
                if (line.find(library) != std::string::npos) {
                    found.push_back(entry.path().filename().string() + ": " + line);
                }
            }
            const std::size_t quote = line.find('"');
            if (quote == std::string::npos) {
                continue;
            }
            bool allowed = false;
            for (const std::string& folder : allowedFolders) {
                allowed = allowed || line.compare(quote + 1, folder.size(), folder) == 0;
            }
            if (!allowed || line.find("platform/linux/") != std::string::npos ||
                line.find("platform/memory/") != std::string::npos) {
                found.push_back(entry.path().filename().string() + ": " + line);
            }
        }
    }
    EXPECT_EQ(found, std::vector<std::string>{});
}

}  // namespace
}  // namespace kv::testing
