// SPDX-License-Identifier: MIT
// Feeds bytes to the words window's two readers of outside text: the listing of the user
// dictionary, whose rows must be clean, and the check of a new entry (the bytes up to the first
// NUL as the code field, the rest as the phrase field), whose line the loader must accept as the
// very same entry.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text_util.h"
#include "engine/user_dictionary.h"
#include "platform/memory/memory_transforms.h"
#include "platform/services.h"
#include "words/user_phrase_entry.h"
#include "words/user_phrase_listing.h"

namespace {

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void InstallTransforms() {
    static const bool installed = [] {
        kv::ServiceSet set;
        set.transforms = std::make_unique<kv::MemoryTransforms>();
        kv::installServices(std::move(set));
        return true;
    }();
    (void)installed;
}

// The listing's own line ends inside the text, or a blank at either end.
bool HasBreakOrBlankAtEnds(std::string_view text) {
    const std::u16string units = kv::Transforms::utf8ToUtf16(text);
    for (const char16_t c : units) {
        if (c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029) {
            return true;
        }
    }
    return !units.empty() && (kv::transforms().isWhiteSpace(units.front()) ||
                              kv::transforms().isWhiteSpace(units.back()));
}

void CheckListing(std::string_view text) {
    for (const kv::UserPhraseRow& row : kv::KVListUserPhrases(text)) {
        Require(!row.code.empty() && !row.phrase.empty(), "a listed row is empty");
        Require(cqinput::detail::validUtf8(row.code) && cqinput::detail::validUtf8(row.phrase),
                "a listed row is not UTF-8");
        Require(!HasBreakOrBlankAtEnds(row.phrase), "a listed phrase is not trimmed");
        for (const char16_t c : kv::Transforms::utf8ToUtf16(row.code)) {
            Require(!kv::transforms().isWhiteSpace(c), "a listed code holds a blank");
        }
    }
}

void CheckEntry(std::string_view text) {
    const std::size_t cut = text.find('\0');
    const std::string_view code = text.substr(0, cut);
    const std::string_view phrase = cut == std::string_view::npos ? "" : text.substr(cut + 1);
    const std::optional<kv::UserPhraseEntry> entry = kv::KVUserPhraseEntry(code, phrase, nullptr);
    if (!entry) {
        return;
    }
    cqinput::PhraseMap phrases;
    const auto anyKey = [](char) { return true; };
    Require(!cqinput::parseUserDictionary(kv::KVUserPhraseLine(*entry), anyKey, phrases),
            "the loader refuses a line the window wrote");
    Require(phrases.size() == 1 && phrases.begin()->first == entry->code &&
                phrases.begin()->second == std::vector<std::string>{entry->phrase},
            "the loader reads another entry than the window wrote");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InstallTransforms();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckListing(text);
    CheckEntry(text);
    return 0;
}
