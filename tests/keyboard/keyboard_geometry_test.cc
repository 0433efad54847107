// SPDX-License-Identifier: MIT
// The rectangles of keys and controls at several sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_view.h"

namespace kv {
namespace {

void ExpectRect(const Rect& actual, double x, double y, double width, double height) {
    EXPECT_NEAR(actual.minX(), x, 1e-3);
    EXPECT_NEAR(actual.minY(), y, 1e-3);
    EXPECT_NEAR(actual.width(), width, 1e-3);
    EXPECT_NEAR(actual.height(), height, 1e-3);
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

// Every key, the two controls, the close box and the resize grip, each with a name for failure
// messages.
std::vector<std::pair<std::string, Rect>> AllAreas(const KVKeyboardView& view) {
    std::vector<std::pair<std::string, Rect>> areas{{"close", view.closeRect()},
                                                    {"space", view.spaceRect()},
                                                    {"backspace", view.backspaceRect()},
                                                    {"resize grip", view.resizeGripRect()}};
    for (std::size_t row = 0; row < KVKeyboardRows.size(); ++row) {
        for (std::size_t column = 0; column < KVKeyboardRows[row].size(); ++column) {
            areas.emplace_back(std::string(KVKeyboardRows[row].substr(column, 1)),
                               view.keyRectForRow(static_cast<std::int64_t>(row),
                                                  static_cast<std::int64_t>(column)));
        }
    }
    return areas;
}

TEST(KeyboardGeometry, InitialSizeMatchesTheWorkedExample) {
    const KVKeyboardView view(Rect(0, 0, 720, 350));
    const double column = 704.0 / 13;
    ExpectRect(view.keyRectForRow(0, 0), 8, 266.5, column - 4, 52.5);
    EXPECT_NEAR(view.keyRectForRow(2, 0).minX(), 8 + column, 1e-9);
    ExpectRect(view.keyRectForRow(3, 0), 8 + 1.5 * column, 91, column - 4, 52.5);
    ExpectRect(view.spaceRect(), 8, 8, 520.8, 68);
    ExpectRect(view.backspaceRect(), 532.8, 8, 163.2, 68);
    ExpectRect(view.resizeGripRect(), 698, 0, 22, 22);
    ExpectRect(view.closeRect(), 686, 326, 30, 22);
    // The last key of a full row ends 12 from the right edge; rows are 6 apart.
    EXPECT_NEAR(view.keyRectForRow(1, 12).maxX(), 708, 1e-9);
    EXPECT_NEAR(view.keyRectForRow(0, 0).minY() - view.keyRectForRow(1, 0).maxY(), 6, 1e-9);
    EXPECT_NEAR(view.keyRectForRow(0, 1).minX() - view.keyRectForRow(0, 0).maxX(), 4, 1e-9);
    EXPECT_NEAR(view.keyRectForRow(0, 0).maxY(), 350 - 31, 1e-9);
}

TEST(KeyboardGeometry, MinimumSizeKeepsThePitchesAboveTheirFloors) {
    const KVKeyboardView view(Rect(0, 0, 520, 290));
    const double column = 504.0 / 13;  // about 38.77, above the floor of 30
    ExpectRect(view.keyRectForRow(0, 0), 8, 221.5, column - 4, 37.5);
    ExpectRect(view.keyRectForRow(3, 0), 8 + 1.5 * column, 91, column - 4, 37.5);
    EXPECT_NEAR(view.keyRectForRow(0, 12).maxX(), 508, 1e-9);
    ExpectRect(view.spaceRect(), 8, 8, 372.8, 68);
    ExpectRect(view.backspaceRect(), 384.8, 8, 111.2, 68);
    ExpectRect(view.closeRect(), 486, 266, 30, 22);
}

TEST(KeyboardGeometry, TinyViewsUseThePitchFloors) {
    const KVKeyboardView view(Rect(0, 0, 300, 150));
    ExpectRect(view.keyRectForRow(0, 0), 8, 85, 26, 34);
    ExpectRect(view.keyRectForRow(0, 1), 38, 85, 26, 34);
    ExpectRect(view.keyRectForRow(1, 0), 8, 45, 26, 34);
}

TEST(KeyboardGeometry, ResizingMovesEveryRectangleWithTheView) {
    KVKeyboardView view(Rect(0, 0, 720, 350));
    view.setFrameSize({1200, 580});
    EXPECT_EQ(view.bounds(), Rect(0, 0, 1200, 580));
    const double column = 1184.0 / 13;
    ExpectRect(view.keyRectForRow(0, 0), 8, 580 - 25 - 116, column - 4, 110);
    // The bottom row stays put while the row pitch is above its floor.
    EXPECT_NEAR(view.keyRectForRow(3, 0).minY(), 91, 1e-9);
    ExpectRect(view.closeRect(), 1166, 556, 30, 22);
    ExpectRect(view.backspaceRect(), 888, 8, 288, 68);
    ExpectRect(view.resizeGripRect(), 1178, 0, 22, 22);
}

TEST(KeyboardGeometry, NothingOverlapsAtOrAboveTheMinimumSize) {
    for (const Size size :
         {Size{720, 350}, Size{520, 290}, Size{1200, 580}, Size{521, 900}, Size{2000, 291}}) {
        const KVKeyboardView view(Rect({0, 0}, size));
        const auto areas = AllAreas(view);
        ASSERT_EQ(areas.size(), 51u);
        for (std::size_t i = 0; i < areas.size(); ++i) {
            for (std::size_t j = i + 1; j < areas.size(); ++j) {
                EXPECT_FALSE(Overlap(areas[i].second, areas[j].second))
                    << areas[i].first << " and " << areas[j].first << " at " << size.width << "x"
                    << size.height;
            }
            EXPECT_TRUE(areas[i].second.minX() >= 0 && areas[i].second.maxX() <= size.width &&
                        areas[i].second.minY() >= 0 && areas[i].second.maxY() <= size.height)
                << areas[i].first << " leaves the view";
        }
    }
}

}  // namespace
}  // namespace kv
