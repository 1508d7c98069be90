#pragma once
// The arithmetic of the form's paging fields and the generate check, on the
// texts the fields hold.

#include "core/text.h"

namespace galmora {

// The texts of the form that the generate check looks at.
struct PagingForm {
    Text picture_folder;  // 浏览目录
    Text picture_total;   // 文件总数
    Text per_page;        // 单页数量
    Text page_count;      // 页总数
};

// The whole part of x ÷ y in double precision; a divisor of 0 gives 0.
int whole_quotient(const Text& x, const Text& y);

// A folder, pictures per page and a total are given, and the total divided
// by 单页数量 and by 页总数 gives whole quotients of at most 98 and 998: no
// page holds more than 999 pictures and there are at most 99 page blocks.
bool passes_generate_check(const PagingForm& form);

// More pictures than 99 pages of 999 hold.
bool is_over_picture_limit(int picture_count);

}  // namespace galmora
