// SPDX-License-Identifier: MIT
// The character definitions of a table: code -> candidate views, in file order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cqinput {

// A flat hash map, built once per load. A table has tens of thousands of codes with one or two
// candidates each, so codes sit in one array, the candidates of all codes in another (grouped by
// code, in file order), and the hash slots are plain indices: three allocations in all instead
// of two per code. Moving the map moves the arrays; views stay valid.
class CodeMap {
  public:
    struct Entry {
        std::string code;
        std::uint32_t first = 0;  // into the candidate array, once finished
        std::uint32_t count = 0;
    };

    // Sizes the arrays for about `codes` distinct codes; call before the first add.
    void reserve(std::size_t codes);
    // Appends `candidate` to the (already folded) `code`. Lookups wait for finish().
    void add(std::string_view code, std::string_view candidate);
    // Groups the candidates by code; the map is read-only afterwards.
    void finish();

    std::span<const std::string_view> find(std::string_view code) const;
    std::span<const std::string_view> candidates(const Entry& entry) const {
        return {views_.data() + entry.first, entry.count};
    }
    const std::vector<Entry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

  private:
    // The slot that holds `code`, or the empty slot where it would go.
    std::size_t slotFor(std::string_view code) const;
    void rehash(std::size_t slotCount);

    std::vector<Entry> entries_;
    std::vector<std::uint32_t> slots_;  // entry index + 1; 0 marks an empty slot
    std::vector<std::string_view> views_;
    std::vector<std::uint32_t> owners_;  // while building: the entry of each view
};

}  // namespace cqinput
