// SPDX-License-Identifier: MIT
// `cqkv render candidates`: the PNG's size and the colours of its pixels, and the Pango measurer.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/pango_text_measurer.h"
#include "tools/cqkv/render_candidates.h"

// Fontconfig, under Pango, keeps patterns it never frees; that is the library's, not ours.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the name the sanitizer runtime looks for.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace kv {
namespace {

struct Pixel {
    int red;
    int green;
    int blue;
    int alpha;
    bool operator==(const Pixel&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& p) {
    return out << "(" << p.red << ", " << p.green << ", " << p.blue << ", " << p.alpha << ")";
}

// A PNG read back with Cairo; (x, y) count from the top-left pixel, as the file stores them.
class Image {
  public:
    explicit Image(const std::filesystem::path& path)
        : _surface(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Image() { cairo_surface_destroy(_surface); }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool ok() const { return cairo_surface_status(_surface) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(_surface); }
    int height() const { return cairo_image_surface_get_height(_surface); }
    // Un-premultiplied 8-bit components.
    Pixel at(int x, int y) const {
        const unsigned char* row =
            cairo_image_surface_get_data(_surface) +
            static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(_surface);
        const std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(row)[x];
        const int alpha = static_cast<int>(argb >> 24);
        const auto part = [&](int shift) {
            const int value = static_cast<int>((argb >> shift) & 0xFF);
            return alpha == 0 ? 0 : (value * 255 + alpha / 2) / alpha;
        };
        return {part(16), part(8), part(0), alpha};
    }

  private:
    cairo_surface_t* _surface;
};

class CandidateRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        _directory = std::filesystem::temp_directory_path() /
                     (std::string("kv_render_") + info->name() + "_" + std::to_string(::getpid()));
        std::filesystem::create_directories(_directory);
    }
    void TearDown() override { std::filesystem::remove_all(_directory); }

    int render(std::vector<std::string_view> args) {
        out.str("");
        err.str("");
        return runRender(args, out, err);
    }
    std::string path(std::string_view name) const { return (_directory / name).string(); }

    std::ostringstream out;
    std::ostringstream err;

  private:
    std::filesystem::path _directory;
};

TEST_F(CandidateRenderTest, SelectedRowAndBackgroundHaveTheThemeColours) {
    const std::string file = path("contrast.png");
    ASSERT_EQ(render({"candidates", "--set", "ThemePreset=9", "--selected", "1", "--out", file,
                      "一", "二", "三"}),
              0)
        << err.str();
    const Image image(file);
    ASSERT_TRUE(image.ok());
    // One point is one pixel: the frame is 348 × 388.
    EXPECT_EQ(image.width(), 348);
    EXPECT_EQ(image.height(), 388);
    // Row 1 spans y 277 to 311 from the bottom; its left end holds no text.
    EXPECT_EQ(image.at(12, 388 - 294), (Pixel{255, 221, 0, 255}));
    // Between the numbers and the left edge of an unselected row: the background.
    EXPECT_EQ(image.at(12, 388 - 260), (Pixel{0, 0, 0, 255}));
    // The border on the left edge, and the rounded corner left clear.
    EXPECT_EQ(image.at(0, 194), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(image.at(0, 0).alpha, 0);
    EXPECT_EQ(image.at(347, 387).alpha, 0);
}

TEST_F(CandidateRenderTest, StoredColoursAndScaleAreHonoured) {
    const std::string file = path("scaled.png");
    ASSERT_EQ(render({"candidates", "--set=ThemeBackground=1193046", "--set", "ThemeSelection=255",
                      "--scale", "2", "--out", file, "甲", "乙"}),
              0)
        << err.str();
    const Image image(file);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image.width(), 696);
    EXPECT_EQ(image.height(), 776);
    EXPECT_EQ(image.at(24, 2 * (388 - 328)), (Pixel{0, 0, 255, 255}));  // row 0, selected
    EXPECT_EQ(image.at(24, 2 * (388 - 200)), (Pixel{0x12, 0x34, 0x56, 255}));
}

TEST_F(CandidateRenderTest, RareCharactersSitOnTheLineOfTheirNeighbours) {
    // U+2AC48 comes from a fallback face with a shorter line box than the first family's.
    const std::string file = path("rare.png");
    ASSERT_EQ(render({"candidates", "--out", file, "甲", "昌", "\U0002AC48"}), 0) << err.str();
    const Image image(file);
    ASSERT_TRUE(image.ok());
    const Pixel background = image.at(12, 388 - 260);
    // The middle of the ink of the text label of unselected row r, from the row's top.
    const auto inkMiddle = [&](int row) {
        const int top = 43 + 34 * row;
        int first = -1;
        int last = -1;
        for (int y = top; y < top + 34; ++y) {
            for (int x = 53; x < 75; ++x) {
                if (image.at(x, y) != background) {
                    first = first < 0 ? y : first;
                    last = y;
                }
            }
        }
        EXPECT_GE(first, 0) << "row " << row << " shows nothing";
        return (first + last) / 2.0 - top;
    };
    EXPECT_NEAR(inkMiddle(2), inkMiddle(1), 1.5);
}

TEST_F(CandidateRenderTest, ToolbarAloneIsAStrip) {
    const std::string file = path("toolbar.png");
    ASSERT_EQ(render({"candidates", "--toolbar-only", "--out", file}), 0) << err.str();
    const Image image(file);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image.width(), 348);
    EXPECT_EQ(image.height(), 48);
    // The script button's chip, in preset 0's selection colour, away from its title.
    EXPECT_EQ(image.at(5 + 154 + 4, 48 - 5 - 4 - 4), (Pixel{13, 112, 147, 255}));
}

TEST_F(CandidateRenderTest, BadUsageIsRefusedAndUnwritableFilesReported) {
    EXPECT_EQ(render({"candidates", "一"}), 2);
    EXPECT_NE(err.str().find("--out"), std::string::npos);
    EXPECT_EQ(render({"candidates", "--scale", "0", "--out", path("a.png")}), 2);
    EXPECT_EQ(render({"candidates", "--scale", "nan", "--out", path("a.png")}), 2);
    EXPECT_EQ(render({"candidates", "--selected", "x", "--out", path("a.png")}), 2);
    EXPECT_EQ(render({"candidates", "--set", "=1", "--out", path("a.png")}), 2);
    EXPECT_EQ(render({"candidates", "--frobnicate", "--out", path("a.png")}), 2);
    EXPECT_EQ(render({"keyboards"}), 2);
    EXPECT_FALSE(std::filesystem::exists(path("a.png")));
    EXPECT_EQ(render({"candidates", "--out", path("missing/dir/a.png"), "一"}), 1);
    EXPECT_NE(err.str().find("cannot write"), std::string::npos);
    EXPECT_EQ(render({"candidates", "--help"}), 0);
    EXPECT_NE(out.str().find("--toolbar-only"), std::string::npos);
}

TEST(PangoTextMeasurerTest, MeasuresChineseInTheCjkFace) {
    const PangoTextMeasurer measurer;
    const Font font = Font::system(16);
    // CJK ideographs are one em wide.
    EXPECT_NEAR(measurer.sizeOf("澄雀", font).width, 32, 0.01);
    EXPECT_NEAR(measurer.sizeOf("澄雀", Font::system(28)).width, 56, 0.01);
    EXPECT_GT(measurer.sizeOf("澄", font).height, 16);
    EXPECT_EQ(measurer.sizeOf("", font).width, 0);
    EXPECT_LT(measurer.sizeOf("ab", font).width, 32);
}

}  // namespace
}  // namespace kv
