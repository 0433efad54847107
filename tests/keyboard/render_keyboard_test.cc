// SPDX-License-Identifier: MIT
// `cqkv render keyboard`: its options and the pixels of the picture it writes.
#include <cairo.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstddef>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings_keys.h"
#include "tools/cqkv/render_keyboard.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// A PNG read back, with pixels addressed from the top-left as in the file.
class Picture {
  public:
    explicit Picture(const fs::path& path)
        : _surface(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Picture() { cairo_surface_destroy(_surface); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool loaded() const { return cairo_surface_status(_surface) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(_surface); }
    int height() const { return cairo_image_surface_get_height(_surface); }
    Rgb at(int x, int y) const {
        const auto offset =
            static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(_surface) +
            static_cast<std::ptrdiff_t>(x) * 4;
        // Native-endian ARGB32, opaque here.
        const unsigned char* pixel = cairo_image_surface_get_data(_surface) + offset;
        return {pixel[2], pixel[1], pixel[0]};
    }

  private:
    cairo_surface_t* _surface;
};

class RenderKeyboard : public ::testing::Test {
  protected:
    RenderKeyboard() {
        std::string pattern = (fs::temp_directory_path() / "kv-render-keyboard-XXXXXX").string();
        _dir = ::mkdtemp(pattern.data());
    }
    ~RenderKeyboard() override {
        std::error_code ignored;
        fs::remove_all(_dir, ignored);
    }

    // Runs the command with `words`; `status` is its exit status.
    int run(std::vector<std::string> words) {
        const std::vector<std::string_view> args(words.begin(), words.end());
        return runRenderKeyboard(args, out, err);
    }
    std::string file(std::string_view name) const { return (_dir / name).string(); }

    std::ostringstream out;
    std::ostringstream err;

  private:
    fs::path _dir;
};

TEST_F(RenderKeyboard, PaintsThePanelOnePointOnePixel) {
    ASSERT_EQ(run({"--out", file("k.png")}), 0) << err.str();
    const Picture picture(file("k.png"));
    ASSERT_TRUE(picture.loaded());
    EXPECT_EQ(picture.width(), 720);
    EXPECT_EQ(picture.height(), 350);
    EXPECT_EQ(picture.at(4, 200), (Rgb{11, 20, 34}));      // background, left margin
    EXPECT_EQ(picture.at(100, 10), (Rgb{42, 71, 91}));     // top strip
    EXPECT_EQ(picture.at(360, 11), (Rgb{145, 173, 191}));  // grip bar
    EXPECT_EQ(picture.at(719, 200), (Rgb{42, 71, 91}));    // outline
    EXPECT_EQ(picture.at(50, 45), (Rgb{246, 246, 255}));   // face of the "`" key
    EXPECT_EQ(picture.at(20, 300), (Rgb{246, 246, 255}));  // face of the space control

    ASSERT_EQ(run({"--size=520x290", "--out=" + file("small.png")}), 0) << err.str();
    const Picture small(file("small.png"));
    EXPECT_EQ(small.width(), 520);
    EXPECT_EQ(small.height(), 290);
}

TEST_F(RenderKeyboard, StoredColoursComeFromSet) {
    ASSERT_EQ(run({"--set", "ThemeBackground=16777215", "--set", "ThemeMuted=-1", "--set",
                   "ThemePreset=9", "--out", file("k.png")}),
              0)
        << err.str();
    const Picture picture(file("k.png"));
    ASSERT_TRUE(picture.loaded());
    EXPECT_EQ(picture.at(4, 200), (Rgb{255, 255, 255}));
    EXPECT_EQ(picture.at(360, 11), (Rgb{255, 255, 255}));
    EXPECT_EQ(picture.at(100, 10), (Rgb{42, 71, 91}));  // absent: preset 0's, not preset 9's

    // A value that is not an integer is stored as text, which reads as 0: black.
    ASSERT_EQ(run({"--set", "ThemeBackground=white", "--out", file("text.png")}), 0);
    EXPECT_EQ(Picture(file("text.png")).at(4, 200), (Rgb{0, 0, 0}));
}

TEST_F(RenderKeyboard, BadOptionsAreUsageErrors) {
    const std::vector<std::vector<std::string>> bad{
        {},                                             // no --out
        {"--out"},                                      // no value
        {"--size", "519x290", "--out", file("a.png")},  // below the panel's minimum
        {"--size", "720x289", "--out", file("a.png")},
        {"--size", "5000x350", "--out", file("a.png")},
        {"--size", "720", "--out", file("a.png")},
        {"--size", "720x350x2", "--out", file("a.png")},
        {"--size", "-720x350", "--out", file("a.png")},
        {"--set", "ThemeBackground", "--out", file("a.png")},
        {"--set", "=1", "--out", file("a.png")},
        {"--out", file("a.png"), "--out", file("b.png")},
        {"--scale", "2", "--out", file("a.png")},
        {"--out", file("a.png"), "extra"},
    };
    for (const auto& words : bad) {
        err.str("");
        EXPECT_EQ(run(words), 2) << testing::PrintToString(words);
        EXPECT_NE(err.str().find("cqkv render keyboard: "), std::string::npos) << err.str();
    }
    EXPECT_FALSE(fs::exists(file("a.png")));
    EXPECT_FALSE(fs::exists(file("b.png")));
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find("--size WxH"), std::string::npos);
}

TEST_F(RenderKeyboard, UnwritableFileIsReported) {
    EXPECT_EQ(run({"--out", file("missing/k.png")}), 1);
    EXPECT_NE(err.str().find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace kv
