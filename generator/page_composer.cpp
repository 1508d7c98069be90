#include "generator/page_composer.h"

#include <initializer_list>

#include "core/codepage.h"
#include "core/files.h"
#include "generator/page_fragments.h"
#include "generator/thumbnail_names.h"

namespace galmora {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
void append(Text& out, std::initializer_list<std::string_view> pieces) {
    std::size_t size = out.size();
    for (std::string_view piece : pieces) size += piece.size();
    out.reserve(size);
    for (std::string_view piece : pieces) out.append(piece);
}

// GB18030 units: a lead byte 0x81-0xFE starts a two-byte character, or a
// four-byte one when the next byte is a digit. A lead that does not begin a
// complete, valid character stands alone, so it can never hide a quote
// behind it.
std::size_t unit_length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x81 || lead > 0xFE || at + 1 >= text.size()) return 1;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if (second >= 0x30 && second <= 0x39) {
        if (at + 3 >= text.size()) return 1;
        const auto third = static_cast<unsigned char>(text[at + 2]);
        const auto fourth = static_cast<unsigned char>(text[at + 3]);
        return third >= 0x81 && third <= 0xFE && fourth >= 0x30 && fourth <= 0x39 ? 4 : 1;
    }
    const bool trail = (second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFE);
    return trail ? 2 : 1;
}

// The bytes a browser would not take literally inside an address attribute:
// the quote ends it, "#" and "?" cut the path, "%" starts an escape, "\" is a
// separator, "&" starts a character reference, and control bytes are
// dropped or end the value. Each is written as %XX.
std::string_view escape_of(char c) {
    static constexpr std::string_view kControlEscapes[] = {
        "%00", "%01", "%02", "%03", "%04", "%05", "%06", "%07", "%08", "%09", "%0A",
        "%0B", "%0C", "%0D", "%0E", "%0F", "%10", "%11", "%12", "%13", "%14", "%15",
        "%16", "%17", "%18", "%19", "%1A", "%1B", "%1C", "%1D", "%1E", "%1F"};
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) return kControlEscapes[byte];
    switch (c) {
        case '&':
            return "%26";
        case '"':
            return "%22";
        case '#':
            return "%23";
        case '?':
            return "%3F";
        case '%':
            return "%25";
        case '\\':
            return "%5C";
        default:
            return {};
    }
}

std::string_view markup_escape_of(char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        default:
            return {};
    }
}

}  // namespace

void PageComposer::append_picture(Text& page, int number, std::string_view source) {
    const Text n = to_text(number);
    append(page, {fragment(Fragment::PictureStart), n, fragment(Fragment::PictureSource), source,
                  fragment(Fragment::PictureClick), n, fragment(Fragment::PictureEnd), kLineEnd});
}

void PageComposer::append_thumbnail(Text& source, const PictureThumbnail& thumbnail) {
    Text original;
    if (thumbnail.stands_for_original) {
        original.swap(source);
        append(source, {kThumbnailAddress,
                        thumbnail.copies.empty()
                            ? thumbnail.file_name
                            : copy_file_name(thumbnail.file_name, thumbnail.copies.back())});
    }
    // Every grid box is 252 CSS pixels wide at most; with one candidate the
    // browser takes it whatever sizes says, which only sets its density.
    append(source, {"\" srcset=\"", kThumbnailAddress, thumbnail.file_name, " ",
                    to_text(thumbnail.width), "w\" sizes=\"252px"});
    for (std::size_t i = 0; i < thumbnail.copies.size(); ++i) {
        const PictureSize& copy = thumbnail.copies[i];
        append(source, {i == 0 ? "\" data-copies=\"" : " ", to_text(copy.width), "x",
                        to_text(copy.height)});
    }
    if (thumbnail.stands_for_original) append(source, {"\" data-original=\"", original});
}

void PageComposer::append_page_block(Text& pages, int number, std::string_view pictures) {
    append(pages, {fragment(Fragment::PageBlockStart), to_text(number), fragment(Fragment::TagEnd),
                   kLineEnd, pictures, fragment(Fragment::PageBlockEnd), kLineEnd});
}

Text PageComposer::sub_gallery_page(std::string_view name, std::string_view shown_total,
                                    Text pages_markup, int final_number,
                                    std::string_view final_block_markup) {
    Text head;
    append(head,
           {fragment(Fragment::SubPageHead), escape_markup(name),
            fragment(Fragment::SubPageTitleEnd), shown_total, fragment(Fragment::SubPageTotalEnd)});
    pages_markup.insert(0, head);
    append(pages_markup, {kLineEnd, fragment(Fragment::PageBlockStart), to_text(final_number),
                          fragment(Fragment::TagEnd), kLineEnd, final_block_markup,
                          fragment(Fragment::SubPageTail), kLineEnd});
    return pages_markup;
}

Text PageComposer::main_page(const MainPageValues& values) {
    const Text icon_type = right_text(values.logo_file, 3);
    // The title link and the introduction are markup the user writes on purpose.
    const Text name = escape_markup(values.main_gallery_name);
    Text page;
    append(page, {fragment(Fragment::MainPageHead), name, fragment(Fragment::MainPageTitleEnd),
                  icon_type, fragment(Fragment::IconTypeEnd), encode_source(values.logo_file),
                  fragment(Fragment::LogoEnd), values.title_link, fragment(Fragment::TagEnd), name,
                  fragment(Fragment::TitleLinkNameEnd), values.introduction,
                  fragment(Fragment::IntroductionEnd), values.cards, fragment(Fragment::CardsEnd),
                  fragment(values.lanterns ? Fragment::PageEndWithLanterns
                                           : Fragment::PageEndWithoutLanterns)});
    return page;
}

Text PageComposer::main_page_card(std::string_view folder, std::string_view pimg,
                                  std::string_view pnum, std::string_view phd,
                                  std::string_view pstar) {
    Text card;
    append(card,
           {fragment(Fragment::CardLinkStart), "./", encode_source(folder), "/index.html",
            fragment(Fragment::CardImageStart), encode_source(pimg),
            fragment(Fragment::CardImageEnd), escape_markup(folder),
            fragment(Fragment::CardNameEnd), pnum, fragment(Fragment::CardCountEnd), phd,
            fragment(Fragment::CardQualityEnd), pstar, fragment(Fragment::CardEnd), kLineEnd});
    return card;
}

Text PageComposer::encode_source(std::string_view path) {
    Text encoded;
    encoded.reserve(path.size());
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t length = unit_length(path, at);
        const std::string_view escape = length == 1 ? escape_of(path[at]) : std::string_view();
        if (escape.empty()) {
            encoded.append(path.substr(at, length));
        } else {
            encoded.append(escape);
        }
        at += length;
    }
    return encoded;
}

Text PageComposer::escape_markup(std::string_view name) {
    // "&", "<" and ">" are never part of a multi-byte GB18030 character, so
    // a byte test is exact.
    if (name.find_first_of("&<>") == std::string_view::npos) return Text(name);
    Text escaped;
    escaped.reserve(name.size() + 8);
    for (char c : name) {
        const std::string_view escape = markup_escape_of(c);
        if (escape.empty())
            escaped += c;
        else
            escaped.append(escape);
    }
    return escaped;
}

// Converted and written a piece at a time: a page of many megabytes is never
// held a second time in UTF-8. The old page stays whole until the new one is
// complete, so a failed or killed write never leaves half a page.
bool PageComposer::write_page(const Text& path, std::string_view page) {
    FileReplacement output(path);
    return to_utf8_in_pieces(page, [&](ByteView piece) { return output.write(piece); }) &&
           output.finish();
}

}  // namespace galmora
