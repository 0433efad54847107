// SPDX-License-Identifier: MIT
// Every character the shipped table offers can be seen: Pango finds a glyph for it in the system
// font's families (or fontconfig's fallbacks) instead of drawing an empty box.
#include <glib.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "engine/cin_parser.h"
#include "platform/linux/pango_font.h"

namespace kv {
namespace {

// Enough characters per layout to keep the layouts few, few enough to keep each one quick.
constexpr std::size_t kCharactersPerLayout = 1000;

std::set<std::string> ShippedTableCharacters() {
    std::ifstream file(KV_SOURCE_DIR "/resources/CQInput-KV.cin", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    cqinput::CodeMap chardef;
    cqinput::KeyMap keynames;
    cqinput::KeyMap properties;
    cqinput::parseCin(text, chardef, keynames, properties);
    std::set<std::string> characters;
    for (const cqinput::CodeMap::Entry& entry : chardef.entries()) {
        for (const std::string_view candidate : chardef.candidates(entry)) {
            const char* end = candidate.data() + candidate.size();
            for (const char* c = candidate.data(); c < end;) {
                const char* next = g_utf8_next_char(c);
                characters.emplace(c, next);
                c = next;
            }
        }
    }
    return characters;
}

int UnknownGlyphs(PangoContext* context, const std::string& text) {
    const GObjectPtr<PangoLayout> layout = PangoLayoutFor(context, text, Font::system(16));
    return pango_layout_get_unknown_glyphs_count(layout.get());
}

std::string CodePoint(const std::string& character) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", g_utf8_get_char(character.c_str()));
    return name;
}

TEST(GlyphCoverage, EveryCharacterOfTheShippedTableHasAGlyph) {
    const std::set<std::string> characters = ShippedTableCharacters();
    ASSERT_GT(characters.size(), 70000u);
    const GObjectPtr<PangoContext> context(
        pango_font_map_create_context(pango_cairo_font_map_get_default()));
    UsePlainMetrics(context.get());

    int unknown = 0;
    std::vector<std::string> named;
    std::vector<std::string> chunk;
    const auto check = [&] {
        std::string text;
        for (const std::string& character : chunk) {
            text += character;
        }
        const int count = UnknownGlyphs(context.get(), text);
        unknown += count;
        // Only a failing run pays for finding which characters they were.
        for (std::size_t i = 0; count > 0 && i < chunk.size() && named.size() < 20; ++i) {
            if (UnknownGlyphs(context.get(), chunk[i]) > 0) {
                named.push_back(CodePoint(chunk[i]));
            }
        }
        chunk.clear();
    };
    for (const std::string& character : characters) {
        chunk.push_back(character);
        if (chunk.size() == kCharactersPerLayout) {
            check();
        }
    }
    check();

    std::string list;
    for (const std::string& name : named) {
        list += " " + name;
    }
    EXPECT_EQ(unknown, 0) << "of " << characters.size() << " characters, " << unknown
                          << " have no glyph in " << SystemFontFamilyList()
                          << " or its fallbacks; the first:" << list;
}

}  // namespace
}  // namespace kv
