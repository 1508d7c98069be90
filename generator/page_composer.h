#pragma once
// Composes the sub-gallery page and the main page from the fixed fragments.
// Texts are local-code-page; pages are converted to UTF-8 when written.

#include <string_view>

#include "core/text.h"
#include "generator/thumbnail_names.h"

namespace galmora {

struct MainPageValues {
    Text main_gallery_name;
    Text logo_file;  // weblogo
    Text title_link;
    Text introduction;
    Text cards;
    bool lanterns = false;  // dl d == "1"
};

class PageComposer {
  public:
    // Appends the picture markup for number i + "\r\n" to page without
    // re-copying page. source is inserted as given: pass encode_source(full
    // local path) in local mode, or the typed web address +
    // encode_source(file name) in network mode.
    static void append_picture(Text& page, int number, std::string_view source);
    // Appends to a picture's source (the original's, as append_picture takes
    // it) what makes the browser fetch the picture's thumbnail for the grid
    // instead of the original: the src attribute is closed and srcset and
    // sizes follow, then data-copies with the sizes of its display copies
    // ("1280x960 2048x1536", smallest first; the viewer's script names each
    // by the thumbnail's address with the size replaced), the last attribute
    // left open for the fragment that closes src. With a width descriptor in
    // srcset, src takes no part in the browser's choice; it stays the
    // original, which the viewer shows when no copy is large enough. When
    // browsers cannot show the original (stands_for_original), src names the
    // picture's largest file instead, so that the page's plain mechanisms
    // show a JPEG, and the original follows in data-original, written as src
    // would have been. The file names are thumbnail folder names.
    static void append_thumbnail(Text& source, const PictureThumbnail& thumbnail);
    static void append_page_block(Text& pages, int number, std::string_view pictures);
    // The name shows as text in the page's title (escape_markup). The page
    // is built inside pages_markup, so a moved-in text of many megabytes is
    // not copied.
    static Text sub_gallery_page(std::string_view name, std::string_view shown_total,
                                 Text pages_markup, int final_number,
                                 std::string_view final_block_markup);
    // The main gallery name shows as text in the title and the heading link
    // (escape_markup); the title link and the introduction go in unchanged.
    // The logo address is encode_source(logo file).
    static Text main_page(const MainPageValues& values);
    // Ends with "\r\n". The link is "./" + encode_source(folder) +
    // "/index.html", the cover encode_source(pimg); the caption shows folder
    // as text (escape_markup).
    static Text main_page_card(std::string_view folder, std::string_view pimg,
                               std::string_view pnum, std::string_view phd, std::string_view pstar);
    // Makes a local path or file name (local-code-page text) safe inside a
    // src or href attribute: exactly '"' '#' '?' '%' '\' '&' become %22 %23
    // %3F %25 %5C %26, and every byte below 0x20 becomes %XX; everything else
    // (Chinese, spaces, "/") stays byte for byte.
    // Walks GB18030 characters, so the second byte of a two-byte character
    // (the 5C of 癨) and the bytes of a four-byte one are never encoded.
    // Encode the path or name alone, never a web address typed by the user.
    // "/" never ends inside a character, so encoding a folder + "/" and a
    // name separately gives the same text as encoding the joined path.
    static Text encode_source(std::string_view path);
    // A name as page text: "&", "<" and ">" become "&amp;", "&lt;" and
    // "&gt;", so that it shows literally and never becomes markup.
    static Text escape_markup(std::string_view name);
    // to_utf8 (no byte-order mark), written in place of the old page at once
    // (FileReplacement); false when the write fails.
    static bool write_page(const Text& path, std::string_view page);
};

}  // namespace galmora
