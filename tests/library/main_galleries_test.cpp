#include "library/main_galleries.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "library/sub_galleries.h"
#include "tests/library/library_fixture.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;
using testing::local_texts;

using MainGalleries = LibraryTest;

TEST_F(MainGalleries, EveryFolderOnceInListingOrderButTheDefaultOne) {
    make_folder("我的图片库/风景");
    make_folder("旅行");
    make_folder("Beta");
    make_folder("alpha");
    put_file("notes.txt", "not a gallery");
    EXPECT_EQ(main_gallery_names(root_.text()), local_texts({"alpha", "Beta", "旅行"}));
    EXPECT_EQ(sub_gallery_names(root_.text(), "我的图片库"_t), local_texts({"风景"}));
}

TEST_F(MainGalleries, StoredIndexIsNeverBelowZeroAndAByteOrderMarkIsKept) {
    for (const auto& [stored, index] :
         {std::pair{"name=7", 7}, {"name=-1", 0}, {"name=x", 0}, {"", 0}}) {
        put_config(std::string("[NAME]\r\n") + stored + "\r\n");
        EXPECT_EQ(stored_main_gallery_index(config_), index) << stored;
    }
    const std::string saved = "\xEF\xBB\xBF[NAME]\r\nname=2\r\n[images]\r\nnum=0\r\n";
    put_config(saved);
    config_.ensure_file();
    EXPECT_EQ(config_text(), saved);  // an existing file is never re-initialised
    EXPECT_EQ(stored_main_gallery_index(config_), 2);
    store_main_gallery_index(config_, 1);
    EXPECT_EQ(config_text(), "\xEF\xBB\xBF[NAME]\r\nname=1\r\n[images]\r\nnum=0\r\n");
}

TEST_F(MainGalleries, NewNamesMustBeOneFolder) {
    for (const Text& name : {Text("a/b"), Text(".."), Text("."), Text("x\ty"), Text("/")})
        EXPECT_EQ(new_main_gallery_name_refusal(name),
                  "主图库名称不能是“.”或“..”，也不能含有“/”或控制字符。"_t)
            << name;
    for (const Text& name : {Text(), Text("旅行"_t), Text("a b"), Text("...")})
        EXPECT_EQ(new_main_gallery_name_refusal(name), std::nullopt) << name;
}

TEST_F(MainGalleries, FolderIsCreatedOnlyAsOneMissingEntryOfTheRoot) {
    put_file("taken", "a file");
    for (const Text& name : {Text("新"_t), Text("taken"), Text(".."), Text("a/b"), Text()})
        create_main_gallery_folder(root_.text(), name);
    EXPECT_TRUE(std::filesystem::is_directory(disk("新")));
    EXPECT_EQ(file_bytes("taken"), "a file");
    EXPECT_FALSE(entry_exists("a"));
    EXPECT_TRUE(main_gallery_exists(root_.text(), "新"_t));
    EXPECT_FALSE(main_gallery_exists(root_.text(), "旧"_t));
}

}  // namespace
}  // namespace galmora
