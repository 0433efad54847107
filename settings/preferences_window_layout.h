// SPDX-License-Identifier: MIT
// The settings window's texts and frames. Frames are in points, origin at the bottom-left of the
// parent named beside them; a body converts them to its toolkit's coordinates.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/geometry.h"
#include "settings/theme.h"

namespace kv::PreferencesLayout {

// A fixed text at a fixed place.
struct Label {
    std::string_view text;
    Rect frame;
};

inline constexpr std::string_view kTitle = "澄雀輸入法-雲階　設定";
inline constexpr Size kContentSize{790, 570};

// The header band across the top, and its two lines.
inline constexpr Rect kHeader{0, 470, 790, 100};
inline constexpr Label kHeaderTitle{"澄雀輸入法 ／ 雲階", {28, 48, 500, 40}};
inline constexpr double kHeaderTitleSize = 28;  // light weight
inline constexpr Label kHeaderSubtitle{"CQ_Input_KV　個人化輸入體驗", {30, 18, 420, 26}};
inline constexpr double kHeaderSubtitleSize = 16;  // secondary colour

// The group of input behaviour; the frames after it are in the group's content area.
inline constexpr Label kBehaviourBox{"輸入行為", {24, 92, 352, 354}};
inline constexpr Label kToggleCaption{"中英文切換鍵", {18, 292, 200, 22}};
inline constexpr Label kCapsRadio{"Caps Lock（macOS 預設）", {20, 262, 250, 24}};
inline constexpr Label kShiftRadio{"Shift", {20, 234, 180, 24}};
inline constexpr Label kPersistentToolbar{"輸入位置旁常駐工具列", {20, 196, 280, 24}};
inline constexpr Label kFollowCaption{"跟隨方式", {20, 160, 100, 22}};
inline constexpr Rect kFollowMode{116, 155, 200, 30};
inline constexpr std::array<std::string_view, 3> kFollowModeTitles = {
    "不跟隨", "輸入位置變化時跟隨", "打字時暫時跟隨"};
inline constexpr Label kLetterSelection{"使用 asdfghjkl: 選字", {20, 118, 280, 24}};
inline constexpr Label kScriptCaption{"輸出字體", {20, 80, 100, 22}};
inline constexpr Rect kScriptMode{116, 75, 200, 30};
inline constexpr std::array<std::string_view, 2> kScriptModeTitles = {"繁體", "簡體"};
inline constexpr Label kWordsButton{"自建詞組管理…", {20, 28, 296, 34}};

// The group of the candidate panel's look; the frames after it are in its content area.
inline constexpr Label kAppearanceBox{"候選窗外觀", {394, 92, 372, 354}};
inline constexpr Label kPreviewCaption{"主題與即時預覽", {18, 292, 220, 22}};
inline constexpr Rect kPreview{20, 196, 326, 88};
inline constexpr double kPreviewCornerRadius = 7;
// The two rows, in the preview's own coordinates.
inline constexpr Label kPreviewFirst{"1　澄雀輸入法", {12, 48, 302, 30}};
inline constexpr Label kPreviewSecond{"2　雲階候選詞", {12, 10, 302, 30}};
inline constexpr Label kThemeCaption{"配色", {20, 152, 80, 22}};
inline constexpr Rect kTheme{92, 146, 170, 30};
inline constexpr Label kFontSizeCaption{"字級", {20, 108, 80, 22}};
inline constexpr Rect kFontSize{92, 102, 170, 30};

// The colour row: a centred caption above each well, in KVThemeColorKeys order.
inline constexpr std::array<std::string_view, KVThemeColorCount> kColorCaptions = {
    "背景", "文字", "輔助", "反白", "反字", "邊框"};
inline constexpr double kColorCaptionSize = 11;
constexpr Rect ColorCaptionFrame(std::size_t i) {
    return {18 + 55 * static_cast<double>(i), 62, 50, 20};
}
constexpr Rect ColorWellFrame(std::size_t i) {
    return {18 + 55 * static_cast<double>(i) + 3, 24, 44, 34};
}

// Below the groups, in the content view.
inline constexpr Label kFootnote{"更改設定後，儲存即可套用到新組字與候選窗。", {30, 52, 500, 24}};
inline constexpr Label kSaveButton{"儲存並套用", {620, 44, 140, 36}};

}  // namespace kv::PreferencesLayout
