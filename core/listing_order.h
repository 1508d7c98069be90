#pragma once
// Internal to core: the order of a folder listing. Names ascend by their
// UTF-8 bytes with ASCII letters folded to upper case; names that differ only
// in letter case ascend by their bytes as they are.

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace galmora {

// Each folded name is packed into 64-bit words of 8 bytes, big-endian and
// padded with zero bytes, so that comparing words in turn compares bytes in
// turn (no name holds a zero byte, so a name that is a prefix of another
// comes first) without a library call per comparison.
class ListingOrder {
  public:
    void add(std::string_view utf8);
    std::size_t size() const { return keys_.size(); }

    // Indexes of the added names in listing order. case_tie(a, b) says
    // whether name a comes before name b where they differ only in case.
    template <typename CaseTie>
    std::vector<std::uint32_t> sorted(CaseTie&& case_tie) {
        std::sort(keys_.begin(), keys_.end(), [&](const Key& a, const Key& b) {
            const int folded = compare_folded(a, b);
            return folded != 0 ? folded < 0 : case_tie(a.index, b.index);
        });
        std::vector<std::uint32_t> order;
        order.reserve(keys_.size());
        for (const Key& key : keys_) order.push_back(key.index);
        return order;
    }

  private:
    struct Key {
        std::uint32_t first, words, index;
    };
    int compare_folded(const Key& a, const Key& b) const {
        const std::uint32_t common = std::min(a.words, b.words);
        for (std::uint32_t i = 0; i < common; ++i) {
            const std::uint64_t x = words_[a.first + i], y = words_[b.first + i];
            if (x != y) return x < y ? -1 : 1;
        }
        return a.words == b.words ? 0 : a.words < b.words ? -1 : 1;
    }

    std::vector<Key> keys_;
    std::vector<std::uint64_t> words_;
};

}  // namespace galmora
