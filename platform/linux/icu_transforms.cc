// SPDX-License-Identifier: MIT
#include "platform/linux/icu_transforms.h"

#include <unicode/translit.h>
#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <limits>

namespace kv {

namespace {

struct BreakClose {
    void operator()(UBreakIterator* iterator) const { ubrk_close(iterator); }
};

const UChar* Units(std::u16string_view text) {
    return reinterpret_cast<const UChar*>(text.data());
}

bool FitsIcu(std::u16string_view text) {
    return text.size() < static_cast<std::size_t>(std::numeric_limits<int32_t>::max());
}

}  // namespace

// The transliterator, or nothing when ICU lacks the transform's data.
struct IcuTransforms::Simplifier {
    std::unique_ptr<icu::Transliterator> transliterator;
};

IcuTransforms::IcuTransforms() = default;
IcuTransforms::~IcuTransforms() = default;

std::u16string IcuTransforms::traditionalToSimplified(std::u16string_view text) const {
    if (!_simplifier) {
        _simplifier = std::make_unique<Simplifier>();
        UErrorCode status = U_ZERO_ERROR;
        // ICU's name of the transform "Traditional-Simplified".
        _simplifier->transliterator.reset(icu::Transliterator::createInstance(
            icu::UnicodeString(u"Hant-Hans"), UTRANS_FORWARD, status));
        if (U_FAILURE(status)) {
            _simplifier->transliterator.reset();
        }
    }
    const icu::Transliterator* transliterator = _simplifier->transliterator.get();
    if (transliterator == nullptr || text.empty() || !FitsIcu(text)) {
        return std::u16string(text);
    }
    icu::UnicodeString buffer(Units(text), static_cast<int32_t>(text.size()));
    transliterator->transliterate(buffer);
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.getBuffer()),
                          static_cast<std::size_t>(buffer.length()));
}

std::u16string IcuTransforms::lowercase(std::u16string_view text) const {
    if (text.empty() || !FitsIcu(text)) {
        return std::u16string(text);
    }
    const auto length = static_cast<int32_t>(text.size());
    std::u16string out(text.size(), u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t needed =
            u_strToLower(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                         Units(text), length, "", &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<std::size_t>(needed), u'\0');
            continue;
        }
        if (U_FAILURE(status)) {
            return std::u16string(text);
        }
        out.resize(static_cast<std::size_t>(needed));
        return out;
    }
    return std::u16string(text);
}

bool IcuTransforms::isWhiteSpace(char32_t c) const {
    return u_isUWhiteSpace(static_cast<UChar32>(c)) && !isLineBreak(c);
}

Range IcuTransforms::rangeOfComposedCharacterSequence(std::u16string_view text,
                                                      std::int64_t index) const {
    const auto size = static_cast<std::int64_t>(text.size());
    if (index >= size) {
        return {size, 0};
    }
    if (index < 0 || !FitsIcu(text)) {
        return {0, 0};
    }
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UBreakIterator, BreakClose> clusters(
        ubrk_open(UBRK_CHARACTER, "", Units(text), static_cast<int32_t>(text.size()), &status));
    if (U_FAILURE(status) || !clusters) {
        return {index, 1};
    }
    const int32_t end = ubrk_following(clusters.get(), static_cast<int32_t>(index));
    const int32_t start = ubrk_preceding(clusters.get(), end);
    if (end == UBRK_DONE || start == UBRK_DONE) {
        return {index, 1};
    }
    return {start, end - start};
}

}  // namespace kv
