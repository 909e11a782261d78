#pragma once
// Item numbers found by a text of theirs, for the check's hundreds of
// thousands of catalogue numbers: one array of 4-byte slots, at most three
// quarters of them used, probed in turn; the texts stay with their owner,
// which gives an item's text when the index asks for it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace lodemark {

class TextIndex {
 public:
  // Room for `count` items without growing.
  template <typename TextOf>
  void reserve(std::size_t count, const TextOf& text_of) {
    if (full_at(count)) rebuild(count * 4 / 3 + 1, text_of);
  }

  // The item whose text is `text`.
  template <typename TextOf>
  std::optional<std::uint32_t> find(std::string_view text, const TextOf& text_of) const {
    if (slots_.empty()) return std::nullopt;
    for (std::size_t at = slot_of(text);; at = next(at)) {
      if (slots_[at] == kEmpty) return std::nullopt;
      if (text_of(slots_[at]) == text) return slots_[at];
    }
  }

  // Adds an item whose text is not in the index yet.
  template <typename TextOf>
  void add(std::uint32_t item, const TextOf& text_of) {
    if (full_at(used_ + 1)) rebuild(slots_.empty() ? 64 : 2 * slots_.size(), text_of);
    place(item, text_of(item));
    ++used_;
  }

 private:
  static constexpr std::uint32_t kEmpty = UINT32_MAX;

  bool full_at(std::size_t count) const { return 4 * count > 3 * slots_.size(); }

  // The hash scaled to the number of slots, which need not be a power of two.
  std::size_t slot_of(std::string_view text) const {
    const auto hash = static_cast<std::uint64_t>(std::hash<std::string_view>{}(text));
    const auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
    return static_cast<std::size_t>((std::uint64_t{folded} * slots_.size()) >> 32);
  }
  std::size_t next(std::size_t at) const { return at + 1 == slots_.size() ? 0 : at + 1; }

  void place(std::uint32_t item, std::string_view text) {
    std::size_t at = slot_of(text);
    while (slots_[at] != kEmpty) at = next(at);
    slots_[at] = item;
  }

  template <typename TextOf>
  void rebuild(std::size_t size, const TextOf& text_of) {
    std::vector<std::uint32_t> old(size, kEmpty);
    old.swap(slots_);
    for (const std::uint32_t item : old)
      if (item != kEmpty) place(item, text_of(item));
  }

  std::vector<std::uint32_t> slots_;
  std::size_t used_ = 0;
};

}  // namespace lodemark
