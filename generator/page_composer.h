#pragma once
// Composes the sub-gallery page and the main page from the fixed fragments.
// Texts are local-code-page; pages are converted to UTF-8 when written.

#include <string_view>

#include "core/text.h"

namespace galmora {

struct MainPageValues {
    Text main_gallery_name;
    Text logo_file;      // weblogo
    Text title_link;
    Text introduction;
    Text cards;
    bool lanterns = false;  // dl d == "1"
};

class PageComposer {
public:
    // The picture markup for number i, without the trailing "\r\n".
    static Text picture_markup(int number, std::string_view source);
    // Appends picture markup + "\r\n" to page without re-copying page.
    static void append_picture(Text& page, int number, std::string_view source);
    static Text page_block(int number, std::string_view pictures);
    static void append_page_block(Text& pages, int number, std::string_view pictures);
    static Text sub_gallery_page(std::string_view name, std::string_view shown_total,
                                 std::string_view pages_markup, int final_number,
                                 std::string_view final_block_markup);
    static Text main_page(const MainPageValues& values);
    // Ends with "\r\n".
    static Text main_page_card(std::string_view folder, std::string_view pimg,
                               std::string_view pnum, std::string_view phd,
                               std::string_view pstar);
    // %-encodes exactly '"', '#', '?', '%' and '\' (never a trail byte).
    static Text encode_source(std::string_view path);
    // to_utf8 + write_file.
    static bool write_page(const Text& path, std::string_view page);
};

}  // namespace galmora
