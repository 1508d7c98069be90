#include "generator/paging.h"

namespace galmora {

namespace {

constexpr int kMostPictures = 98901;
constexpr int kMostWholeBlocks = 98;
constexpr int kMostWholePerPageCount = 998;

}  // namespace

int whole_quotient(const Text& x, const Text& y) {
    const double divisor = to_integer(y);
    if (divisor == 0) return 0;
    return floor_to_int(to_integer(x) / divisor);
}

bool passes_generate_check(const PagingForm& form) {
    return !form.picture_folder.empty() && !form.per_page.empty() && !form.picture_total.empty() &&
           whole_quotient(form.picture_total, form.per_page) <= kMostWholeBlocks &&
           whole_quotient(form.picture_total, form.page_count) <= kMostWholePerPageCount;
}

bool is_over_picture_limit(int picture_count) {
    return picture_count > kMostPictures;
}

}  // namespace galmora
