// SPDX-License-Identifier: MIT
#include "tools/cqkv/session_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "tools/cqkv/json_text.h"

namespace kv {

namespace {

std::string Bool(bool value) {
    return value ? "true" : "false";
}

std::string Number(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string ValueJson(const DefaultsValue& value) {
    if (const bool* flag = std::get_if<bool>(&value)) {
        return Bool(*flag);
    }
    if (const std::int64_t* integer = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*integer);
    }
    if (const double* real = std::get_if<double>(&value)) {
        return Number(*real);
    }
    return jsonString(std::get<std::string>(value));
}

std::string StringList(const std::vector<std::string>& list) {
    std::string json = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        json += (i == 0 ? "" : ",") + jsonString(list[i]);
    }
    return json + "]";
}

std::string PanelJson(const PanelReport& panel) {
    return "{\"visible\":" + Bool(panel.visible) + ",\"mode\":\"" +
           (panel.toolbar ? "toolbar" : "candidates") + "\",\"items\":" + StringList(panel.items) +
           ",\"selected\":" + std::to_string(panel.selected) +
           ",\"pageStart\":" + std::to_string(panel.pageStart) +
           ",\"page\":" + jsonString(panel.page) + ",\"follow\":" + Bool(panel.follow) + "}";
}

// Each key once, in the order first written, with the value written last.
std::string SettingsJson(const std::vector<std::pair<std::string, DefaultsValue>>& writes) {
    std::vector<std::pair<std::string, DefaultsValue>> last;
    for (const auto& write : writes) {
        const auto found = std::find_if(last.begin(), last.end(), [&write](const auto& entry) {
            return entry.first == write.first;
        });
        if (found == last.end()) {
            last.push_back(write);
        } else {
            found->second = write.second;
        }
    }
    std::string json = "{";
    for (std::size_t i = 0; i < last.size(); ++i) {
        json += (i == 0 ? "" : ",") + jsonString(last[i].first) + ":" + ValueJson(last[i].second);
    }
    return json + "}";
}

}  // namespace

std::string stepReportJson(const StepReport& report) {
    const std::string handled = report.handled ? Bool(*report.handled) : "null";
    return "{\"token\":" + jsonString(report.token) + ",\"handled\":" + handled +
           ",\"marked\":" + jsonString(report.marked) +
           ",\"inserted\":" + jsonString(report.inserted) +
           ",\"beeps\":" + std::to_string(report.beeps) + ",\"panel\":" + PanelJson(report.panel) +
           ",\"keyboard\":{\"visible\":" + Bool(report.keyboardVisible) +
           ",\"requested\":" + Bool(report.keyboardRequested) +
           "},\"windows\":" + StringList(report.windows) +
           ",\"settings\":" + SettingsJson(report.settings) + "}";
}

}  // namespace kv
