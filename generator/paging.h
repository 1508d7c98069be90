#pragma once
// The arithmetic of the form's paging fields and the generate check, on the
// texts the fields hold.

#include "core/text.h"

namespace galmora {

// The texts of the form that the generate check looks at.
struct PagingForm {
    Text picture_folder;
    Text picture_total;
    Text per_page;
    Text page_count;
};

// The whole part of x ÷ y in double precision; a divisor of 0 gives 0.
int whole_quotient(const Text& x, const Text& y);

// A folder, pictures per page and a total are given, and the total divided
// by the pictures per page and by the page count gives whole quotients of at
// most 98 and 998: no page holds more than 999 pictures and there are at
// most 99 page blocks.
bool passes_generate_check(const PagingForm& form);

// More pictures than 99 pages of 999 hold.
bool is_over_picture_limit(int picture_count);

}  // namespace galmora
