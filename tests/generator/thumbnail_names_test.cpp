#include "generator/thumbnail_names.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "generator/page_blocks.h"

namespace galmora {
namespace {

using namespace galmora::literals;

TEST(ThumbnailKey, ChangesWithEverythingThatChangesTheThumbnail) {
    const Text path = "/照片/a.jpg"_t;
    const FileStamp stamp{3500000, 1700000000123456789, 1700000000223456789};
    const Text key = thumbnail_key(path, stamp, 42, "504");
    EXPECT_EQ(key.size(), 16u);
    EXPECT_TRUE(is_thumbnail_key(key));
    EXPECT_EQ(thumbnail_key(path, stamp, 42, "504"), key);
    for (const Text& other :
         {thumbnail_key("/照片/b.jpg"_t, stamp, 42, "504"),
          thumbnail_key(path, {3500001, 1700000000123456789, 1700000000223456789}, 42, "504"),
          thumbnail_key(path, {3500000, 1700000000123456788, 1700000000223456789}, 42, "504"),
          // Rewritten with its modification time set back: the change time tells.
          thumbnail_key(path, {3500000, 1700000000123456789, 1700000000223456790}, 42, "504"),
          // Rewritten where times are coarse: the bytes tell.
          thumbnail_key(path, stamp, 43, "504"), thumbnail_key(path, stamp, 42, "600"),
          // Fields never run into each other.
          thumbnail_key(path, {35000001, 700000000123456789, 1700000000223456789}, 42, "504")})
        EXPECT_NE(other, key);
}

TEST(ThumbnailKey, TheContentSampleSeesTheFirstAndLastBytes) {
    Bytes picture(100000, 7);
    const auto sample = [&] {
        return content_sample(ByteView(picture).first(kContentSampleBytes),
                              ByteView(picture).last(kContentSampleBytes));
    };
    const std::uint64_t before = sample();
    for (std::size_t at : {std::size_t(0), picture.size() - 1}) {
        ++picture[at];
        EXPECT_NE(sample(), before) << at;
        --picture[at];
    }
    EXPECT_EQ(sample(), before);
}

TEST(ThumbnailFileName, IsReadBackAndNothingElseIs) {
    const Text name = thumbnail_file_name("0123456789abcdef", 504, 378, "jpg");
    EXPECT_EQ(name, "0123456789abcdef-504x378.jpg");
    const auto parsed = parse_thumbnail_file_name(name);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->key, "0123456789abcdef");
    EXPECT_EQ(parsed->width, 504);
    EXPECT_EQ(parsed->height, 378);
    EXPECT_TRUE(parse_thumbnail_file_name("0123456789abcdef-3x504.webp"));
    // With the bytes the picture's files take, which its copies share.
    const Text stem = picture_file_stem("0123456789abcdef", 482113);
    const auto with_bytes = parse_thumbnail_file_name(thumbnail_file_name(stem, 504, 378, "jpg"));
    ASSERT_TRUE(with_bytes);
    EXPECT_EQ(with_bytes->key, "0123456789abcdef");
    EXPECT_EQ(with_bytes->files_bytes, 482113);
    EXPECT_EQ(with_bytes->width, 504);
    EXPECT_EQ(copy_file_name(thumbnail_file_name(stem, 504, 378, "jpg"), {1280, 960}),
              "0123456789abcdef-482113-1280x960.jpg");
    for (const char* other :
         {"0123456789abcdef-0482113-504x378.jpg", "0123456789abcdef-48x2113-504x378.jpg",
          "0123456789abcdef--504x378.jpg", "0123456789abcdef-0-504x378.jpg"})
        EXPECT_FALSE(parse_thumbnail_file_name(other)) << other;
    for (const char* other :
         {".0123456789abcdef-504x378.jpg.Xa12bC", "0123456789abcdef-504x378.png",
          "0123456789ABCDEF-504x378.jpg", "0123456789abcde-504x378.jpg",
          "0123456789abcdef-0504x378.jpg", "0123456789abcdef-504x.jpg",
          "0123456789abcdef-504x378.jpg.jpg", "0123456789abcdef-504378.jpg", "notes.txt", ""})
        EXPECT_FALSE(parse_thumbnail_file_name(other)) << other;
}

TEST(PageBlocksWithThumbnails, APictureWithOneNamesItForTheGridAndKeepsItsOriginal) {
    PictureList pictures;
    const auto folder = pictures.add_folder("/p/", "/p/");
    pictures.add_picture(folder, "a.jpg");
    pictures.add_picture(folder, "b#.jpg");
    const std::vector<PictureThumbnail> thumbnails = {{"0123456789abcdef-504x378.jpg", 504}, {}};
    const PageBlocks blocks = page_blocks(pictures, 0, &thumbnails);
    EXPECT_EQ(blocks.current_page_markup,
              "<img loading=\"lazy\" id=\"Img1\" class=\"myImg\" src=\"/p/a.jpg\" "
              "srcset=\"../img/thumbs/0123456789abcdef-504x378.jpg 504w\" sizes=\"252px\" "
              "onclick=\"demo('Img1')\">\r\n"
              "<img loading=\"lazy\" id=\"Img2\" class=\"myImg\" src=\"/p/b%23.jpg\" "
              "onclick=\"demo('Img2')\">\r\n");
    // Without thumbnails the blocks are exactly those of a generation without.
    const std::vector<PictureThumbnail> none(2);
    EXPECT_EQ(page_blocks(pictures, 0, nullptr).current_page_markup,
              page_blocks(pictures, 0, &none).current_page_markup);
}

TEST(PageBlocksWithThumbnails, CopiesAreNamedBySizeAndAnOriginalBrowsersCannotShowOnlyByLink) {
    PictureList pictures;
    const auto local = pictures.add_folder("/p/", "/p/");
    const auto web = pictures.add_folder("/q/"_t, "http://example.org/相册/"_t);
    pictures.add_picture(local, "a#1.jpg");
    pictures.add_picture(local, "b&c.heic");
    pictures.add_picture(web, "d.avif");
    const Text key = "0123456789abcdef";
    const std::vector<PictureSize> copies = {{1280, 960}, {2048, 1536}};
    const std::vector<PictureThumbnail> thumbnails = {{key + "-504x378.jpg", 504, copies},
                                                      {key + "-504x378.webp", 504, copies, true},
                                                      {key + "-378x504.jpg", 378, {}, true}};
    const PageBlocks blocks = page_blocks(pictures, 0, &thumbnails);
    EXPECT_EQ(blocks.current_page_markup,
              "<img loading=\"lazy\" id=\"Img1\" class=\"myImg\" src=\"/p/a%231.jpg\" "
              "srcset=\"../img/thumbs/0123456789abcdef-504x378.jpg 504w\" sizes=\"252px\" "
              "data-copies=\"1280x960 2048x1536\" onclick=\"demo('Img1')\">\r\n"
              // The largest file, in the thumbnail's format, stands in as src.
              "<img loading=\"lazy\" id=\"Img2\" class=\"myImg\" "
              "src=\"../img/thumbs/0123456789abcdef-2048x1536.webp\" "
              "srcset=\"../img/thumbs/0123456789abcdef-504x378.webp 504w\" sizes=\"252px\" "
              "data-copies=\"1280x960 2048x1536\" data-original=\"/p/b%26c.heic\" "
              "onclick=\"demo('Img2')\">\r\n"
              // Without copies, the thumbnail is the largest file.
              "<img loading=\"lazy\" id=\"Img3\" class=\"myImg\" "
              "src=\"../img/thumbs/0123456789abcdef-378x504.jpg\" "
              "srcset=\"../img/thumbs/0123456789abcdef-378x504.jpg 378w\" sizes=\"252px\" "
              "data-original=\"http://example.org/相册/d.avif\" onclick=\"demo('Img3')\">\r\n"_t);
}

}  // namespace
}  // namespace galmora
