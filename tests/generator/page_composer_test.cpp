// Composed pages compared byte for byte with pages built by hand from the
// fragments, and the encoding of picture sources and card links.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/files.h"
#include "generator/page_blocks.h"
#include "generator/page_composer.h"
#include "generator/sub_gallery_builder.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

// One picture's markup without its line end, and one page block, as a page
// holds them.
Text picture_markup(int number, std::string_view source) {
    Text markup;
    PageComposer::append_picture(markup, number, source);
    return markup.substr(0, markup.size() - 2);
}
Text page_block(int number, std::string_view pictures) {
    Text block;
    PageComposer::append_page_block(block, number, pictures);
    return block;
}

using namespace galmora::literals;

std::string utf8(std::string_view local) {
    return utf8_string(local);
}

// Builds the sub-gallery page the way a scan and the driver do: pictures
// go into page blocks as the scan meets them, then the page is composed.
Text scanned_page(std::string_view name, const std::vector<std::string>& sources_utf8,
                  int per_page) {
    PageBlocks blocks;
    for (const std::string& source : sources_utf8)
        add_picture_to_pages(blocks, local_text(source), per_page);
    return compose_sub_gallery_page(name, blocks, per_page);
}

const char kScenicPage[] =
    "<!-- 以下为图库源代码 -->\r\n"
    "<!DOCTYPE html>\r\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
    "    \r\n"
    "    <head>\r\n"
    "        <meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />\r\n"
    "        <title>风景</title><link rel=\"icon\" type=\"image/png\" href=\"../img/logo.png\" "
    "/>\r\n"
    "        <link rel=\"stylesheet\" type=\"text/css\" href=\"./mains.css\" />\r\n"
    "    </head>\r\n"
    "        \r\n"
    "        <body>\r\n"
    "            <script src=\"./script.js\" type=\"text/javascript\" "
    "charset=\"utf-8\"></script>\r\n"
    "\t\t\t<!--按钮区域，可更改文字显示或变更位置，[value-“2”]"
    "根据总页数手动定义，此数值不要超过JS里定义的数组数值-->\r\n"
    "            <div class=\"page-icon\">\r\n"
    "                <button>共计\r\n"
    "                    <input id=\"totalPage\" type=\"button\" value=\"2\" "
    "readonly=\"readonly\"> /99页</button>\r\n"
    "                <button>第\r\n"
    "                    <input id=\"currentPage\" onchange=\"choose_page()\" type=\"text\" "
    "value=\"1\" /> 页</button>\r\n"
    "                <button class=\"firstPage\" onclick=\"first_click()\">首页</button>\r\n"
    "                <button class=\"beforePage\" onclick=\"prev_click()\">上一页</button>\r\n"
    "                <button class=\"nextPage\" onclick=\"next_click()\">下一页</button>\r\n"
    "                <button class=\"lastPage\" onclick=\"last_click()\">末页</button>\r\n"
    "            </div>\r\n"
    "            <div id=\"pager\">\r\n"
    "                <!-- 页面内容添加区，每一个[page]代表一个页面 -->\r\n"
    "                <div class=\"page-block\"><div class=\"page-1\">\r\n"
    "<img loading=\"lazy\" id=\"Img1\" class=\"myImg\" src=\"/home/me/图片/风景/a.jpg\" "
    "onclick=\"demo('Img1')\">\r\n"
    "<img loading=\"lazy\" id=\"Img2\" class=\"myImg\" src=\"/home/me/图片/风景/b.jpg\" "
    "onclick=\"demo('Img2')\">\r\n"
    "</div>\r\n"
    "\r\n"
    "<div class=\"page-2\">\r\n"
    "<img loading=\"lazy\" id=\"Img3\" class=\"myImg\" src=\"/home/me/图片/风景/sub/c.jpg\" "
    "onclick=\"demo('Img3')\">\r\n"
    "</div></div>\r\n"
    "                <!-- 图片显示区域，无需更改 -->\r\n"
    "                <div id=\"myModal\" class=\"modal\" "
    "onclick=\"document.getElementById('myModal').style.display='none'\">\r\n"
    "                    <!-- 图片显示内容，无需更改 -->\r\n"
    "                    <img class=\"content\" id=\"img01\">\r\n"
    "                </div>\r\n"
    "                <!--脚本代码，无需更改-->\r\n"
    "                <script>\r\n"
    "                function demo(imgId) {\r\n"
    "                    document.getElementById('myModal').style.display = \"block\";\r\n"
    "                    document.getElementById(\"img01\").src = "
    "document.getElementById(imgId).src;\r\n"
    "                }\r\n"
    "                </script>\r\n"
    "                <br/>\r\n"
    "            </div>\r\n"
    "\t\t\t<!--按钮区域，可更改文字显示或变更位置-->\r\n"
    "            <div class=\"page-icon\">\r\n"
    "                <button class=\"firstPage\" onclick=\"first_click()\">首页</button>\r\n"
    "                <button class=\"beforePage\" onclick=\"prev_click()\">上一页</button>\r\n"
    "                <button class=\"nextPage\" onclick=\"next_click()\">下一页</button>\r\n"
    "                <button class=\"lastPage\" onclick=\"last_click()\">末页</button>\r\n"
    "            </div>\r\n"
    "        </body>\r\n"
    "\r\n"
    "</html>\r\n";

const char kTwoCards[] =
    "<div class=\"item\">\n"
    "                <div class=\"img-box\">\n"
    "                    <a href=\"./风景/index.html\" target=\"_blank\">\n"
    "                        <img alt=\"Arcade\" src=\"./img/fm.jpg\">\n"
    "                    </a>\n"
    "                </div>\n"
    "                <p class=\"p3\"><strong><span style=\"color: rgb(39, 174, "
    "96);\">风景</span><br/><span style=\"color: rgb(0, 176, 240);\">共计<span style=\"color: "
    "rgb(247, 150, 70);\">3</span>张(<span style=\"color: rgb(204, 153, "
    "204);\">高清</span>)</span><span style=\"color: rgb(247, 150, 70);\"> "
    "★★★★</span></strong></p>\n"
    "            </div>\r\n"
    "<div class=\"item\">\n"
    "                <div class=\"img-box\">\n"
    "                    <a href=\"./风景/index.html\" target=\"_blank\">\n"
    "                        <img alt=\"Arcade\" src=\"./img/fm123456789.jpg\">\n"
    "                    </a>\n"
    "                </div>\n"
    "                <p class=\"p3\"><strong><span style=\"color: rgb(39, 174, "
    "96);\">风景</span><br/><span style=\"color: rgb(0, 176, 240);\">共计<span style=\"color: "
    "rgb(247, 150, 70);\">12</span>张(<span style=\"color: rgb(204, 153, "
    "204);\">普清</span>)</span><span style=\"color: rgb(247, 150, 70);\"> ★★</span></strong></p>\n"
    "            </div>\r\n";

const char kMainPageStart[] =
    "<html lang=\"en\">\r\n"
    "    \r\n"
    "    <head>\r\n"
    "        <meta charset=\"UTF-8\">\r\n"
    "        <title>我的图库</title>\r\n"
    "        <link rel=\"icon\" type=\"image/png\" href=\"./img/logo.png\" />\r\n"
    "        <link rel=\"stylesheet\" type=\"text/css\" href=\"./stylecss/style.css\">\r\n"
    "    </head>\r\n"
    "    \r\n"
    "    <body>\r\n"
    "        <div class=\"navbar\">\r\n"
    "            <div class=\"logo-wrapper\">\r\n"
    "                <a href=\"#\">\r\n"
    "                    <img class=\"logo\" src=\"\">\r\n"
    "                </a>\r\n"
    "            </div>\r\n"
    "            <div class=\"main-menu\"> <a href=\"#\">我的图库</a>\r\n"
    "\r\n"
    "            </div>\r\n"
    "        </div>\r\n"
    "        <div id=\"rq\">\r\n"
    "            <div class=\"prompt\">\r\n"
    "                <p class=\"p1\">旅行照片</p>\r\n"
    "            </div>\r\n"
    "        </div>\r\n"
    "        <div class=\"wrap\">";

const char kMainPageEndWithLanterns[] =
    "        </div>\n"
    "        <div class=\"footer\">\n"
    "            <p class=\"p4\">本图库由 Galmora 生成</p>\n"
    "        </div>\n"
    "    <script src=\"./js/kl.js\"></script>\n"
    "    </body>\n"
    "\n"
    "</html>";

const char kMainPageEndWithoutLanterns[] =
    "        </div>\n"
    "        <div class=\"footer\">\n"
    "            <p class=\"p4\">本图库由 Galmora 生成</p>\n"
    "        </div>\n"
    "    \n"
    "    </body>\n"
    "\n"
    "</html>";

Text two_cards() {
    return PageComposer::main_page_card("风景"_t, "fm.jpg", "3", "高清"_t, "★★★★"_t) +
           PageComposer::main_page_card("风景"_t, "fm123456789.jpg", "12", "普清"_t, "★★"_t);
}

MainPageValues main_values(Text logo, bool lanterns) {
    return {"我的图库"_t, std::move(logo), "#", "旅行照片"_t, two_cards(), lanterns};
}

bool valid_utf8(const std::string& s) {
    return strict_local(s).has_value();
}

TEST(SubGalleryPage, ScenicWithThreePicturesAtTwoPerPage) {
    const Text page = scanned_page(
        "风景"_t,
        {"/home/me/图片/风景/a.jpg", "/home/me/图片/风景/b.jpg", "/home/me/图片/风景/sub/c.jpg"},
        2);
    EXPECT_EQ(utf8(page), kScenicPage);
}

TEST(SubGalleryPage, NoPicturesGiveTotalZeroAndOneEmptyBlock) {
    const std::string page = utf8(scanned_page("空"_t, {}, 2));
    EXPECT_NE(page.find("id=\"totalPage\" type=\"button\" value=\"0\" readonly"),
              std::string::npos);
    EXPECT_NE(page.find("<div class=\"page-block\">\r\n<div class=\"page-1\">\r\n</div></div>\r\n"),
              std::string::npos);
    EXPECT_EQ(page.find("page-2"), std::string::npos);
    EXPECT_EQ(page.find("<img loading"), std::string::npos);
}

TEST(SubGalleryPage, FullLastPageIsFollowedByAnEmptyFinalBlock) {
    const std::string page = utf8(scanned_page("x", {"/a.jpg", "/b.jpg", "/c.jpg", "/d.jpg"}, 2));
    EXPECT_NE(page.find("value=\"2\" readonly"), std::string::npos);
    EXPECT_NE(page.find("<div class=\"page-3\">\r\n</div></div>"), std::string::npos);
}

TEST(SubGalleryPage, PictureMarkupCarriesItsNumberTwice) {
    EXPECT_EQ(picture_markup(12, "http://example.test/p/a b.jpg"),
              "<img loading=\"lazy\" id=\"Img12\" class=\"myImg\" "
              "src=\"http://example.test/p/a b.jpg\" onclick=\"demo('Img12')\">");
    EXPECT_EQ(page_block(3, "P\r\n"), "<div class=\"page-3\">\r\nP\r\n</div>\r\n");
}

TEST(MainPage, LogoPngWithLanterns) {
    const Text page = PageComposer::main_page(main_values("logo.png", true));
    EXPECT_EQ(utf8(page), std::string(kMainPageStart) + kTwoCards + kMainPageEndWithLanterns);
}

TEST(MainPage, LanternsOffDropsTheScriptLine) {
    const std::string page = utf8(PageComposer::main_page(main_values("logo.png", false)));
    EXPECT_EQ(page, std::string(kMainPageStart) + kTwoCards + kMainPageEndWithoutLanterns);
    EXPECT_EQ(page.find("kl.js"), std::string::npos);
}

TEST(MainPage, IconTypeIsTheLastThreeBytesOfTheLogoName) {
    const std::string page = utf8(PageComposer::main_page(main_values("logo123456789.jpg", true)));
    EXPECT_NE(
        page.find("<link rel=\"icon\" type=\"image/jpg\" href=\"./img/logo123456789.jpg\" />"),
        std::string::npos);
}

TEST(MainPage, NoCardsStillClosesTheGrid) {
    MainPageValues values = main_values("logo.png", false);
    values.cards.clear();
    const std::string page = utf8(PageComposer::main_page(values));
    EXPECT_NE(page.find("<div class=\"wrap\">        </div>\n        <div class=\"footer\">"),
              std::string::npos);
}

TEST(MainPageCard, TwoRecordsOfOneFolderGiveTwoCards) {
    EXPECT_EQ(utf8(two_cards()), kTwoCards);
}

TEST(MainPageCard, FolderIsEncodedInTheLinkOnly) {
    const std::string card = utf8(PageComposer::main_page_card("a#b?c"_t, "fm.jpg", "1", "x", "y"));
    EXPECT_NE(card.find("<a href=\"./a%23b%3Fc/index.html\""), std::string::npos);
    EXPECT_NE(card.find("rgb(39, 174, 96);\">a#b?c</span>"), std::string::npos);
}

TEST(MainPage, NamesShowAsTextWhileTitleLinkAndIntroductionStayMarkup) {
    MainPageValues values = main_values("logo.png", false);
    values.main_gallery_name = "<b>x<b>&amp;y";
    values.title_link = "https://example.com/?a=1&b=2";
    values.introduction = "<b>粗体</b> &amp; 介绍"_t;
    values.cards = PageComposer::main_page_card("<i>s<i>", "fm.jpg", "1", "x", "y");
    const std::string page = utf8(PageComposer::main_page(values));
    EXPECT_NE(page.find("<title>&lt;b&gt;x&lt;b&gt;&amp;amp;y</title>"), std::string::npos);
    EXPECT_NE(
        page.find("<a href=\"https://example.com/?a=1&b=2\">&lt;b&gt;x&lt;b&gt;&amp;amp;y</a>"),
        std::string::npos);
    EXPECT_NE(page.find("<p class=\"p1\"><b>粗体</b> &amp; 介绍</p>"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"./<i>s<i>/index.html\""), std::string::npos);
    EXPECT_NE(page.find("96);\">&lt;i&gt;s&lt;i&gt;</span>"), std::string::npos);
    EXPECT_EQ(page.find("<b>x"), std::string::npos);
}

TEST(SubGalleryPage, NameShowsAsTextInTheTitle) {
    const std::string page = utf8(scanned_page("a<b & <i>c</i>", {}, 2));
    EXPECT_NE(page.find("<title>a&lt;b &amp; &lt;i&gt;c&lt;/i&gt;</title>"), std::string::npos);
}

TEST(MainPageCard, CoverAndLogoAddressesAreEncoded) {
    const std::string card = utf8(PageComposer::main_page_card("a", "f&m#.jpg", "1", "x", "y"));
    EXPECT_NE(card.find("src=\"./img/f%26m%23.jpg\">"), std::string::npos);
    const std::string page = utf8(PageComposer::main_page(main_values("lo&go.png", false)));
    EXPECT_NE(page.find("href=\"./img/lo%26go.png\""), std::string::npos);
}

TEST(EscapeMarkup, WritesTheThreeCharactersAsReferences) {
    EXPECT_EQ(PageComposer::escape_markup("<img src=x onerror=alert(1)>"),
              "&lt;img src=x onerror=alert(1)&gt;");
    EXPECT_EQ(PageComposer::escape_markup("a&amp;b \"'"), "a&amp;amp;b \"'");
    EXPECT_EQ(PageComposer::escape_markup("风景 癨"_t), "风景 癨"_t);
    EXPECT_EQ(PageComposer::escape_markup(""), "");
}

TEST(EncodeSource, EncodesExactlyTheSpecialCharactersAndControlBytes) {
    EXPECT_EQ(PageComposer::encode_source("/p/a\"b#c?d%e\\f.jpg"), "/p/a%22b%23c%3Fd%25e%5Cf.jpg");
    EXPECT_EQ(PageComposer::encode_source("/p/a b&c<d>'e(1)+~.jpg"), "/p/a b%26c<d>'e(1)+~.jpg");
    EXPECT_EQ(PageComposer::encode_source("x&copy.jpg"), "x%26copy.jpg");
    EXPECT_EQ(PageComposer::encode_source(std::string("\0\x01\t\n\r\x1F \x7F", 8)),
              "%00%01%09%0A%0D%1F \x7F");
    EXPECT_EQ(PageComposer::encode_source(""), "");
}

TEST(EncodeSource, KeepsTheTrailByteOfATwoByteCharacter) {
    const Text name = "癨"_t;
    ASSERT_EQ(name, "\xB0\x5C");
    EXPECT_EQ(PageComposer::encode_source("/p/" + name + "\\.jpg"), "/p/\xB0\x5C%5C.jpg");
    EXPECT_EQ(PageComposer::encode_source("风景/图片.jpg"_t), "风景/图片.jpg"_t);
}

TEST(EncodeSource, KeepsFourByteCharactersWhole) {
    const Text emoji = "😀"_t;
    ASSERT_EQ(emoji.size(), 4u);
    EXPECT_EQ(PageComposer::encode_source(emoji + "#" + emoji), emoji + "%23" + emoji);
}

TEST(EncodeSource, FolderAndNameMayBeEncodedApart) {
    const Text folder = local_text("/图 #癨/");
    const Text name = local_text("癨?\\.jpg");
    EXPECT_EQ(PageComposer::encode_source(folder) + PageComposer::encode_source(name),
              PageComposer::encode_source(folder + name));
}

TEST(EncodeSource, LeadByteWithoutAValidSecondByteNeverHidesAQuote) {
    EXPECT_EQ(PageComposer::encode_source("\x81\"x"), "\x81%22x");
    EXPECT_EQ(PageComposer::encode_source("a\xB0"), "a\xB0");
    // A four-byte start whose last two bytes are no character's.
    EXPECT_EQ(PageComposer::encode_source("\x81\x30&\""), "\x81\x30%26%22");
    EXPECT_EQ(PageComposer::encode_source("\x81\x30\x81\t"), "\x81\x30\x81%09");
}

TEST(EncodeSource, HostileFileNameBecomesOneSafeAttributeValue) {
    const Text path = local_text("/tmp/图库 😀/癨 \"引号\" #1 ?q %41 \\x.jpg");
    const std::string encoded = utf8(PageComposer::encode_source(path));
    EXPECT_EQ(encoded, "/tmp/图库 😀/癨 %22引号%22 %231 %3Fq %2541 %5Cx.jpg");
    const std::string markup = utf8(picture_markup(1, local_text(encoded)));
    EXPECT_EQ(markup.find_first_of("#?\\"), std::string::npos);
}

// What a browser makes of an attribute value written by encode_source.
std::string percent_decoded(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            out += static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

TEST(EncodeSource, EveryPictureOfTheHostileTreeIsAddressedExactly) {
    testing::TempDir folder;
    testing::make_hostile_tree(folder.path());
    int number = 0;
    for (const std::string& relative : testing::hostile_pictures()) {
        const std::string path = folder.path() + "/" + relative;
        const std::string markup =
            utf8(picture_markup(++number, PageComposer::encode_source(local_text(path))));
        const std::size_t start = markup.find(" src=\"") + 6;
        const std::size_t end = markup.find("\" onclick=");
        ASSERT_LT(start, end) << relative;
        const std::string src = markup.substr(start, end - start);
        EXPECT_EQ(src.find_first_of("\"#?\\&\t\n\r"), std::string::npos) << src;
        EXPECT_EQ(percent_decoded(src), path);
        EXPECT_TRUE(std::filesystem::exists(percent_decoded(src))) << src;
    }
    EXPECT_EQ(number, testing::kHostilePictureCount);
}

TEST(WritePage, WritesUtf8WithoutByteOrderMark) {
    testing::TempDir folder;
    const Text page = scanned_page("风景"_t, {"/a.jpg", "/b.jpg", "/c.jpg"}, 2);
    const Text path = folder.file_text("index.html");
    ASSERT_TRUE(PageComposer::write_page(path, page));
    const auto written = read_file(path);
    ASSERT_TRUE(written.has_value());
    const std::string bytes(written->begin(), written->end());
    EXPECT_EQ(bytes, utf8(page));
    EXPECT_TRUE(bytes.starts_with("<!-- "));
    EXPECT_TRUE(valid_utf8(bytes));
    EXPECT_NE(bytes.find("<title>风景</title>"), std::string::npos);
}

TEST(WritePage, ReportsAFailedWrite) {
    testing::TempDir folder;
    EXPECT_FALSE(PageComposer::write_page(folder.file_text("missing/index.html"), "x"));
}

}  // namespace
}  // namespace galmora
