// SPDX-License-Identifier: MIT
#include "keyboard/keyboard_layout.h"

#include <utility>

namespace kv {

namespace {

// Row by row, left to right, as the keys stand in KVKeyboardRows.
constexpr std::pair<std::string_view, std::string_view> kRoots[] = {
    {"`", "ㄏ"}, {"1", "│"},  {"2", "車"}, {"3", "糸"}, {"4", "言"},  {"5", "貝"}, {"6", "雨"},
    {"7", "ㄇ"}, {"8", "八"}, {"9", "耳"}, {"0", "鳥"}, {"-", "ㄦ"},  {"=", "母"}, {"q", "手"},
    {"w", "田"}, {"e", "水"}, {"r", "口"}, {"t", "廾"}, {"y", "、"},  {"u", "山"}, {"i", "戈"},
    {"o", "人"}, {"p", "心"}, {"[", "匚"}, {"]", "】"}, {"\\", "的"}, {"a", "日"}, {"s", "尸"},
    {"d", "木"}, {"f", "火"}, {"g", "土"}, {"h", "竹"}, {"j", "十"},  {"k", "大"}, {"l", "中"},
    {";", "寸"}, {"'", "Ｌ"}, {"z", "Ｚ"}, {"x", "又"}, {"c", "金"},  {"v", "女"}, {"b", "月"},
    {"n", "弓"}, {"m", "一"}, {",", "／"}, {".", "＼"}, {"/", "ㄥ"},
};

}  // namespace

const KVKeyboardRootMap& KVKeyboardRootNames() {
    static const KVKeyboardRootMap roots(std::begin(kRoots), std::end(kRoots));
    return roots;
}

}  // namespace kv
