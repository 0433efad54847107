// SPDX-License-Identifier: MIT
// Which folder may include which, as one table checked over every C++ file of the tree: an
// include that points the wrong way fails here, long before a second desktop body would find it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace kv {
namespace {

namespace fs = std::filesystem;

enum class Libraries {
    StandardOnly,  // the C++ standard library and nothing else
    NoDesktop,     // any library but the desktop's
    Any,
};

struct FolderRule {
    std::string_view folder;                   // from the root, no trailing slash
    std::vector<std::string_view> mayInclude;  // besides the folder itself
    Libraries libraries;
    bool mayJoin;          // may include a KV folder and a desktop library in one file
    std::string_view why;  // the rule in words, given when it is broken
};

// One file allowed past its folder's rule, and the reason it stays.
struct Exception {
    std::string_view file;
    std::string_view includedFolder;
    std::string_view why;
};

const std::vector<std::string_view> kLogic = {"settings", "candidates", "keyboard", "words",
                                              "controller"};

std::vector<std::string_view> Joined(std::initializer_list<std::vector<std::string_view>> parts) {
    std::vector<std::string_view> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const std::vector<std::string_view> kBelowPrograms =
    Joined({{"engine", "platform", "platform/memory", "platform/linux"}, kLogic});

const std::vector<FolderRule>& Rules() {
    static const std::vector<FolderRule> rules = {
        {"engine",
         {},
         Libraries::StandardOnly,
         false,
         "engine/ uses the C++ standard library only"},
        {"platform",
         {},
         Libraries::NoDesktop,
         false,
         "platform/ (the interfaces) includes no other folder of the project and no desktop "
         "library"},
        {"platform/memory",
         {"platform"},
         Libraries::NoDesktop,
         false,
         "platform/memory/ includes platform/ only, and no desktop library"},
        {"platform/linux",
         {"platform"},
         Libraries::Any,
         false,
         "platform/linux/ includes platform/ only: it implements the interfaces and knows no KV "
         "folder"},
        {"settings",
         {"platform", "engine"},
         Libraries::NoDesktop,
         false,
         "settings/ includes platform/ and engine/ only, and no desktop library"},
        {"candidates",
         {"platform", "engine", "settings"},
         Libraries::NoDesktop,
         false,
         "candidates/ includes platform/, engine/ and settings/ only, and no desktop library"},
        {"keyboard",
         {"platform", "engine", "settings"},
         Libraries::NoDesktop,
         false,
         "keyboard/ includes platform/, engine/ and settings/ only, and no desktop library"},
        {"words",
         {"platform", "engine", "settings"},
         Libraries::NoDesktop,
         false,
         "words/ includes platform/, engine/ and settings/ only, and no desktop library"},
        {"controller", Joined({{"platform", "engine"}, kLogic}), Libraries::NoDesktop, false,
         "controller/ includes platform/, engine/ and the logic folders only, and no desktop "
         "library"},
        {"testing", kBelowPrograms, Libraries::Any, false,
         "testing/ includes the engine, the platform with its bodies and the logic folders; "
         "nothing includes hosts/ or tools/"},
        {"hosts/linux", kBelowPrograms, Libraries::Any, true,
         "hosts/linux/ includes the engine, the platform with its bodies and the logic folders; "
         "nothing includes hosts/ or tools/"},
        {"hosts/fcitx5", kBelowPrograms, Libraries::Any, true,
         "hosts/fcitx5/ includes the engine, the platform with its bodies and the logic folders; "
         "nothing includes hosts/ or tools/"},
        {"tools/cqkv", Joined({kBelowPrograms, {"testing"}}), Libraries::Any, false,
         "tools/cqkv/ includes the layers below the programs and testing/; nothing includes "
         "hosts/ or tools/"},
        {"tools/ime-enlist", Joined({kBelowPrograms, {"testing"}}), Libraries::Any, false,
         "tools/ime-enlist/ includes the layers below the programs and testing/; nothing "
         "includes hosts/ or tools/"},
        {"bench", Joined({kBelowPrograms, {"testing"}}), Libraries::Any, false,
         "bench/ includes the layers below the programs and testing/; nothing includes hosts/ "
         "or tools/"},
        {"fuzz", Joined({kBelowPrograms, {"testing"}}), Libraries::Any, false,
         "fuzz/ includes the layers below the programs and testing/; nothing includes hosts/ "
         "or tools/"},
        // The suites check every layer, the programs included, against what a user sees.
        {"tests",
         Joined({kBelowPrograms,
                 {"testing", "hosts/linux", "hosts/fcitx5", "tools/cqkv", "tools/ime-enlist"}}),
         Libraries::Any, true, "tests/ may include any folder"},
    };
    return rules;
}

const std::vector<Exception>& Exceptions() {
    static const std::vector<Exception> exceptions = {
        {"tools/cqkv/render_windows.cc", "hosts/linux",
         "`cqkv render preferences|words` pictures the real GTK windows, and only the host has "
         "their bodies"},
        {"engine/file_snapshot.cc", "platform",
         "a table or phrase file may be a FIFO or a device; the one bounded reader that opens "
         "without blocking is the platform's, which the settings body uses as well"},
    };
    return exceptions;
}

const std::vector<std::string_view> kDesktopLibraries = {
    "gtk/",     "gdk/",  "gdk-pixbuf/", "ibus",     "glib",  "gio/",
    "gobject/", "cairo", "pango",       "unicode/", "plist/"};

bool StartsWithFolder(std::string_view path, std::string_view folder) {
    return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

// The rule of the deepest folder that holds the path, or none outside the table.
const FolderRule* RuleOf(std::string_view path) {
    const FolderRule* found = nullptr;
    for (const FolderRule& rule : Rules()) {
        if (StartsWithFolder(path, rule.folder) &&
            (found == nullptr || rule.folder.size() > found->folder.size())) {
            found = &rule;
        }
    }
    return found;
}

bool IsDesktop(std::string_view header) {
    return std::ranges::any_of(kDesktopLibraries,
                               [&](std::string_view prefix) { return header.starts_with(prefix); });
}

// The standard headers are the ones spelled without a folder or a suffix.
bool IsStandard(std::string_view header) {
    return header.find_first_of("/.") == std::string_view::npos;
}

bool IsException(std::string_view file, std::string_view includedFolder) {
    return std::ranges::any_of(Exceptions(), [&](const Exception& exception) {
        return exception.file == file && exception.includedFolder == includedFolder;
    });
}

// A header as included: `<name>` from a library, or `"path"` from the root of the tree.
struct Include {
    bool library = false;
    std::string path;
};

std::string Spelled(const Include& include) {
    return include.library ? "<" + include.path + ">" : "\"" + include.path + "\"";
}

// What is wrong with a file's includes, one message per broken rule.
std::vector<std::string> Check(std::string_view file, const std::vector<Include>& includes) {
    const FolderRule* rule = RuleOf(file);
    if (rule == nullptr) {
        return {std::string(file) + ": no rule of the layering table covers its folder"};
    }
    std::vector<std::string> wrong;
    const auto breaks = [&](const Include& include, std::string_view why) {
        wrong.push_back(std::string(file) + " includes " + Spelled(include) +
                        ", which breaks the rule: " + std::string(why));
    };
    const Include* kvHeader = nullptr;
    const Include* desktopHeader = nullptr;
    for (const Include& include : includes) {
        if (include.library) {
            if (IsDesktop(include.path)) {
                desktopHeader = &include;
            }
            const bool allowed =
                rule->libraries == Libraries::Any ||
                (rule->libraries == Libraries::NoDesktop ? !IsDesktop(include.path)
                                                         : IsStandard(include.path));
            if (!allowed) {
                breaks(include, rule->why);
            }
            continue;
        }
        const FolderRule* included = RuleOf(include.path);
        if (included == nullptr) {
            continue;  // not a folder of the project: a generated header
        }
        if (included->folder == "engine" || std::ranges::count(kLogic, included->folder) > 0) {
            kvHeader = &include;
        }
        if (included == rule || std::ranges::count(rule->mayInclude, included->folder) > 0 ||
            IsException(file, included->folder)) {
            continue;
        }
        breaks(include, rule->why);
    }
    if (!rule->mayJoin && kvHeader != nullptr && desktopHeader != nullptr) {
        wrong.push_back(std::string(file) + " includes " + Spelled(*kvHeader) + " and " +
                        Spelled(*desktopHeader) +
                        ", which breaks the rule: only the hosts join the input method's "
                        "classes to a desktop library");
    }
    return wrong;
}

// A quoted include names a path from the root, or one beside the including file.
std::string FromRoot(const fs::path& root, const fs::path& file, const std::string& spelled) {
    const fs::path beside = file.parent_path() / spelled;
    if (fs::exists(beside)) {
        return fs::relative(beside, root).lexically_normal().generic_string();
    }
    return fs::path(spelled).lexically_normal().generic_string();
}

std::vector<Include> IncludesOf(const fs::path& root, const fs::path& file) {
    static const std::regex directive(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> includes;
    std::ifstream in(file);
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (!std::regex_search(line, match, directive)) {
            continue;
        }
        const bool library = match[1] == "<";
        includes.push_back({library, library ? match[2].str() : FromRoot(root, file, match[2])});
    }
    return includes;
}

bool IsSource(const fs::path& file) {
    static const std::vector<std::string> extensions = {".h", ".hpp", ".cc", ".cpp", ".mm", ".m"};
    return std::ranges::count(extensions, file.extension().string()) > 0;
}

// Build folders and hidden ones hold no sources of the project.
bool HoldsNoSources(const fs::directory_entry& folder) {
    const std::string name = folder.path().filename().string();
    return name.starts_with(".") || name.starts_with("build") ||
           fs::exists(folder.path() / "CMakeCache.txt");
}

TEST(Layering, TheTableRefusesWrongWayIncludes) {
    struct Row {
        std::string_view file;
        Include include;
        bool allowed;
    };
    const std::vector<Row> rows = {
        {"engine/cin_table.cc", {true, "vector"}, true},
        {"engine/cin_table.cc", {true, "unistd.h"}, false},
        {"engine/cin_table.cc", {false, "platform/geometry.h"}, false},
        {"platform/services.h", {false, "settings/theme.h"}, false},
        {"platform/services.h", {true, "glib.h"}, false},
        {"platform/memory/memory_screens.h", {false, "platform/linux/gdk_screens.h"}, false},
        {"platform/linux/gtk_panel.cc", {true, "gtk/gtk.h"}, true},
        {"platform/linux/gtk_panel.cc", {false, "engine/cin_table.h"}, false},
        {"settings/theme.cc", {false, "candidates/candidate_window.h"}, false},
        {"candidates/candidate_window.cc", {false, "settings/theme.h"}, true},
        {"candidates/candidate_window.cc", {false, "keyboard/keyboard_view.h"}, false},
        {"candidates/candidate_window.cc", {false, "platform/memory/memory_panel.h"}, false},
        {"keyboard/keyboard_view.cc", {true, "pango/pangocairo.h"}, false},
        {"words/words_window.cc", {true, "unicode/uchar.h"}, false},
        {"words/words_window.cc", {false, "controller/input_controller.h"}, false},
        {"controller/input_controller.cc", {false, "words/words_window.h"}, true},
        {"controller/input_controller.cc", {true, "ibus.h"}, false},
        {"controller/input_controller.cc", {false, "hosts/linux/ibus_engine.h"}, false},
        {"hosts/linux/ibus_engine.cc", {false, "controller/input_controller.h"}, true},
        {"hosts/linux/ibus_engine.cc", {false, "tools/cqkv/session_runner.h"}, false},
        // The two desktops' hosts share what lies below them, never each other.
        {"hosts/fcitx5/addon.cc", {false, "controller/input_server.h"}, true},
        {"hosts/fcitx5/addon.cc", {false, "hosts/linux/ibus_engine_host.h"}, false},
        {"hosts/linux/ibus_engine_host.cc", {false, "hosts/fcitx5/addon.h"}, false},
        {"tools/cqkv/lookup_command.cc", {false, "hosts/linux/ibus_engine.h"}, false},
        {"tools/cqkv/lookup_command.cc", {false, "tools/ime-enlist/enlist_command.h"}, false},
        {"bench/typing_bench.cc", {false, "engine/input_engine.h"}, true},
        {"tests/windows/gtk_windows_test.cc", {false, "hosts/linux/gtk_windows.h"}, true},
        {"resources/stray.cc", {true, "vector"}, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Check(row.file, {row.include}).empty(), row.allowed)
            << row.file << " including " << Spelled(row.include);
    }
    // A tool may reach the desktop, or the logic, but one file of it not both.
    EXPECT_EQ(Check("tools/cqkv/render_candidates.cc",
                    {{false, "candidates/candidate_window.h"}, {true, "cairo.h"}}),
              std::vector<std::string>{
                  "tools/cqkv/render_candidates.cc includes \"candidates/candidate_window.h\" and "
                  "<cairo.h>, which breaks the rule: only the hosts join the input method's "
                  "classes to a desktop library"});
}

TEST(Layering, EveryFileOfTheTreeKeepsItsFolderRule) {
    const fs::path root = fs::path(KV_SOURCE_DIR).lexically_normal();
    int checked = 0;
    for (auto entry = fs::recursive_directory_iterator(root);
         entry != fs::recursive_directory_iterator(); ++entry) {
        if (entry->is_directory() && HoldsNoSources(*entry)) {
            entry.disable_recursion_pending();
            continue;
        }
        if (!entry->is_regular_file() || !IsSource(entry->path())) {
            continue;
        }
        const std::string file = fs::relative(entry->path(), root).generic_string();
        for (const std::string& message : Check(file, IncludesOf(root, entry->path()))) {
            ADD_FAILURE() << message;
        }
        ++checked;
    }
    // The engine alone has more files than this: fewer means the walk missed the tree.
    EXPECT_GT(checked, 20);
    // An exception whose include is gone would let the next one in unexplained.
    for (const Exception& exception : Exceptions()) {
        const fs::path file = root / exception.file;
        const std::vector<Include> includes =
            fs::exists(file) ? IncludesOf(root, file) : std::vector<Include>{};
        const bool used = std::ranges::any_of(includes, [&](const Include& include) {
            const FolderRule* included = include.library ? nullptr : RuleOf(include.path);
            return included != nullptr && included->folder == exception.includedFolder;
        });
        if (!used) {
            ADD_FAILURE() << exception.file << " no longer includes " << exception.includedFolder
                          << "/: drop its exception from the layering table";
        }
    }
}

}  // namespace
}  // namespace kv
