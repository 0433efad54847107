// SPDX-License-Identifier: MIT
#include "bench/engine_process.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace kv::bench {

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The arguments of /proc/<pid>/cmdline are separated by NUL bytes; blanks make it searchable.
std::string CommandLine(const std::filesystem::path& processFolder) {
    std::string line = ReadAll(processFolder / "cmdline");
    std::replace(line.begin(), line.end(), '\0', ' ');
    return line;
}

// The value of `name` in a NUL-separated environment block, empty if unset.
std::string_view Variable(std::string_view environment, std::string_view name) {
    while (!environment.empty()) {
        const std::string_view entry = environment.substr(0, environment.find('\0'));
        if (entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=') {
            return entry.substr(name.size() + 1);
        }
        environment.remove_prefix(std::min(environment.size(), entry.size() + 1));
    }
    return {};
}

std::string_view OwnVariable(const char* name) {
    const char* const value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Engines find their daemon through the home folder and the display, so a process of another
// desktop (another user, another test's private desktop) differs in one of them.
bool SameDesktop(const std::filesystem::path& processFolder) {
    const std::string environment = ReadAll(processFolder / "environ");
    return Variable(environment, "HOME") == OwnVariable("HOME") &&
           Variable(environment, "DISPLAY") == OwnVariable("DISPLAY");
}

std::optional<pid_t> ProcessId(std::string_view name) {
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc{} || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return pid;
}

}  // namespace

std::optional<pid_t> FindProcess(std::string_view fragment) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::optional<pid_t> pid = ProcessId(entry.path().filename().native());
        if (pid && *pid != getpid() &&
            CommandLine(entry.path()).find(fragment) != std::string::npos &&
            SameDesktop(entry.path())) {
            return pid;
        }
    }
    return std::nullopt;
}

bool MapsFile(pid_t pid, std::string_view fragment) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find(fragment) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::optional<double> StatusBytes(pid_t pid, std::string_view field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':') {
            const std::size_t digits = line.find_first_of("0123456789", field.size());
            if (digits == std::string::npos) {
                return std::nullopt;
            }
            double kib = 0;
            std::from_chars(line.data() + digits, line.data() + line.size(), kib);
            return kib * 1024.0;
        }
    }
    return std::nullopt;
}

}  // namespace kv::bench
