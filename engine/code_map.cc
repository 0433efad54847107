// SPDX-License-Identifier: MIT
#include "engine/code_map.h"

#include <bit>
#include <cstring>
#include <utility>

namespace cqinput {

namespace {

std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 29;
    return h;
}

// Codes are short; eight bytes at a time keeps the hash a few multiplications.
std::uint64_t HashCode(std::string_view s) {
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ s.size();
    while (s.size() >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data(), 8);
        h = Mix(h ^ word);
        s.remove_prefix(8);
    }
    // The last one to seven bytes, in two overlapping fixed-size reads or three single bytes: a
    // memcpy of a variable length would be a library call.
    std::uint64_t tail = 0;
    if (s.size() >= 4) {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        std::memcpy(&low, s.data(), 4);
        std::memcpy(&high, s.data() + s.size() - 4, 4);
        tail = (static_cast<std::uint64_t>(high) << 32) | low;
    } else if (!s.empty()) {
        const auto byte = [&s](std::size_t at) {
            return static_cast<std::uint64_t>(static_cast<unsigned char>(s[at]));
        };
        tail = byte(0) | (byte(s.size() / 2) << 8) | (byte(s.size() - 1) << 16);
    }
    h = Mix(h ^ tail) * 0x94D049BB133111EBULL;
    return h ^ (h >> 32);
}

}  // namespace

void CodeMap::reserve(std::size_t codes) {
    entries_.reserve(codes);
    views_.reserve(codes);
    owners_.reserve(codes);
    // At most three quarters full, so probe runs stay short.
    rehash(std::bit_ceil(codes * 4 / 3 + 16));
}

std::size_t CodeMap::slotFor(std::string_view code) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = HashCode(code) & mask;
    while (slots_[slot] != 0 && entries_[slots_[slot] - 1].code != code) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

void CodeMap::rehash(std::size_t slotCount) {
    slots_.assign(slotCount, 0);
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        slots_[slotFor(entries_[index].code)] = static_cast<std::uint32_t>(index + 1);
    }
}

void CodeMap::add(std::string_view code, std::string_view candidate) {
    if ((entries_.size() + 1) * 4 > slots_.size() * 3) {
        rehash(slots_.empty() ? 64 : slots_.size() * 2);
    }
    const std::size_t slot = slotFor(code);
    if (slots_[slot] == 0) {
        entries_.push_back(Entry{std::string(code)});
        slots_[slot] = static_cast<std::uint32_t>(entries_.size());
    }
    const std::uint32_t owner = slots_[slot] - 1;
    ++entries_[owner].count;
    views_.push_back(candidate);
    owners_.push_back(owner);
}

void CodeMap::finish() {
    std::uint32_t next = 0;
    for (Entry& entry : entries_) {
        entry.first = next;
        next += entry.count;
        entry.count = 0;
    }
    // Each view's place once grouped by code; counting in file order keeps each code's
    // candidates in file order.
    for (std::uint32_t& place : owners_) {
        Entry& entry = entries_[place];
        place = entry.first + entry.count++;
    }
    // Swap every view into its place: no second array, and no work for a file that already
    // lists each code's lines together.
    for (std::size_t i = 0; i < views_.size(); ++i) {
        while (owners_[i] != i) {
            const std::uint32_t place = owners_[i];
            std::swap(views_[i], views_[place]);
            std::swap(owners_[i], owners_[place]);
        }
    }
    owners_ = {};
}

std::span<const std::string_view> CodeMap::find(std::string_view code) const {
    if (slots_.empty()) {
        return {};
    }
    const std::uint32_t index = slots_[slotFor(code)];
    if (index == 0) {
        return {};
    }
    return candidates(entries_[index - 1]);
}

}  // namespace cqinput
