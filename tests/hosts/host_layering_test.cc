// SPDX-License-Identifier: MIT
// Only the hosts join the input method's classes to the desktop's libraries: a file anywhere
// else that includes both fails here, and so does any include of a host from below.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kv {
namespace {

const std::vector<std::string> kDesktopLibraries = {"<gtk/", "<gdk/",  "<ibus", "<glib",
                                                    "<gio/", "<cairo", "<pango"};
const std::vector<std::string> kLogicFolders = {"\"engine/",   "\"settings/", "\"candidates/",
                                                "\"keyboard/", "\"words/",    "\"controller/"};

bool IncludesAny(const std::vector<std::string>& includes, const std::vector<std::string>& what) {
    for (const std::string& line : includes) {
        for (const std::string& prefix : what) {
            if (line.find(prefix) != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

std::vector<std::string> IncludesOf(const std::filesystem::path& file) {
    std::vector<std::string> includes;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("#include", 0) == 0) {
            includes.push_back(line);
        }
    }
    return includes;
}

TEST(HostLayering, OnlyHostsJoinLogicAndDesktopAndNothingBelowIncludesThem) {
    const std::filesystem::path root = KV_SOURCE_DIR;
    std::vector<std::string> wrong;
    for (const char* folder : {"engine", "platform", "settings", "candidates", "keyboard", "words",
                               "controller", "hosts", "tools", "fuzz", "bench"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".h" && extension != ".cc") {
                continue;
            }
            const std::string name = std::filesystem::relative(entry.path(), root).string();
            const std::vector<std::string> includes = IncludesOf(entry.path());
            const bool inHost = name.starts_with("hosts/linux/");
            if (!inHost && IncludesAny(includes, kDesktopLibraries) &&
                IncludesAny(includes, kLogicFolders)) {
                wrong.push_back(name + " joins the input method's classes to a desktop library");
            }
            const bool mayIncludeHosts = inHost || name.starts_with("tools/") ||
                                         name.starts_with("fuzz/") || name.starts_with("bench/");
            if (!mayIncludeHosts && IncludesAny(includes, {"\"hosts/"})) {
                wrong.push_back(name + " includes a host");
            }
        }
    }
    EXPECT_EQ(wrong, std::vector<std::string>{});
}

}  // namespace
}  // namespace kv
