#include "core/listing_order.h"

namespace galmora {

namespace {

unsigned char folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte;
}

}  // namespace

void ListingOrder::add(std::string_view utf8) {
    keys_.push_back({static_cast<std::uint32_t>(words_.size()),
                     static_cast<std::uint32_t>((utf8.size() + 7) / 8),
                     static_cast<std::uint32_t>(keys_.size())});
    for (std::size_t at = 0; at < utf8.size(); at += 8) {
        std::uint64_t word = 0;
        for (std::size_t i = at; i < at + 8; ++i)
            word = word << 8 | (i < utf8.size() ? folded(utf8[i]) : 0);
        words_.push_back(word);
    }
}

}  // namespace galmora
