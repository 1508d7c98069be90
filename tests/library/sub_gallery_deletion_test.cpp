#include "library/sub_gallery_deletion.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include "core/codepage.h"
#include "library/sub_galleries.h"
#include "tests/library/library_fixture.h"
#include "tests/support/child_run.h"
#include "tests/support/hostile_tree.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::kDeletionSteps;
using testing::LibraryTest;
using testing::record_text;

class DeleteSubGallery : public LibraryTest {
  protected:
    // The deletion's outcome; progress holds the texts it told.
    // Whether the folder is gone; nullopt for a refusal.
    std::optional<bool> remove(const std::string& name) {
        progress.clear();
        const auto outcome =
            delete_sub_gallery(config_, local("我的图片库"), local_text(name),
                               [this](const Text& text) { progress.push_back(text); });
        if (!outcome) return std::nullopt;
        EXPECT_EQ(outcome->cover_left, Text());
        return outcome->folder_gone;
    }
    std::vector<Text> listed() const { return sub_gallery_names(root_.text(), "我的图片库"_t); }
    // A refused deletion: nothing told but the cause; folder, cover and
    // record all still there.
    void expect_refused(const std::string& name, const std::string& cover, const Text& cause) {
        EXPECT_EQ(remove(name), std::nullopt);
        EXPECT_EQ(progress, std::vector<Text>{kDeletionSteps + cause});
        EXPECT_TRUE(entry_exists("我的图片库/" + name + "/index.html"));
        EXPECT_TRUE(entry_exists("我的图片库/img/" + cover));
        const std::optional<int> slot = config_.snapshot().find_record(local_text(name));
        ASSERT_TRUE(slot.has_value());
        EXPECT_EQ(config_.snapshot().read_record(*slot).pimg, cover);
        EXPECT_EQ(listed().size(), 1u);
    }

    std::vector<Text> progress;
};

TEST_F(DeleteSubGallery, RemovesTheMiddleOfThreeAndCompacts) {
    library_with({{"一", "fm1.jpg"}, {"二", "fm2.jpg"}, {"三", "fm3.jpg"}});
    EXPECT_EQ(remove("二"), true);

    EXPECT_FALSE(entry_exists("我的图片库/二"));
    EXPECT_FALSE(entry_exists("我的图片库/img/fm2.jpg"));
    EXPECT_EQ(config_text(),
              "[NAME]\r\nname=0\r\n[images]\r\nnum=2\r\n[Logo]\r\nweblogo=logo.png\r\n" +
                  record_text(1, "一"_t, "fm1.jpg") + record_text(2, "三"_t, "fm3.jpg") +
                  "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n");
    EXPECT_EQ(listed(), (std::vector<Text>{"一"_t, "三"_t}));
    const Text head = "即将删除被选择的子图库所有相关数据...\r\n\r\n"_t;
    EXPECT_EQ(progress,
              (std::vector<Text>{
                  head + "清除被选择子图库的相关数据...\r\n"_t,
                  head + "清除被选择子图库的相关记录...\r\n\r\n"_t,
                  head + "清除被选择子图库的相关记录...\r\n\r\n删除被选择子图库的目录...\r\n\r\n"_t,
              }));
}

TEST_F(DeleteSubGallery, ResultTellsWhetherTheFolderIsGone) {
    EXPECT_EQ(deletion_result({true, {}}), kDeletionSteps + "完成删除^^!"_t);
    EXPECT_EQ(deletion_result({false, "/g/img/fm1.jpg"}),
              kDeletionSteps + "子图库目录未能删除，请检查文件权限或是否有文件正在使用。"_t +
                  "\r\n子图库封面“/g/img/fm1.jpg”未能删除。"_t);
}

TEST_F(DeleteSubGallery, OfTwoRecordsOfOneNameTheLowerGoes) {
    library_with({{"同名", "fmA.jpg"}, {"其他", "fm.jpg"}});
    put_config(config_text() + record_text(3, "同名"_t, "fmB.jpg"));
    testing::write_value(config_, "images", "num", "3");
    put_file("我的图片库/img/fmA.jpg", "a");
    put_file("我的图片库/img/fmB.jpg", "b");
    rebuild_main_page(root_.text(), {"我的图片库"_t, "#", {}}, config_);
    EXPECT_EQ(card_count("我的图片库"), 3);

    remove("同名");
    EXPECT_FALSE(entry_exists("我的图片库/img/fmA.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/img/fmB.jpg"));
    const auto snapshot = config_.snapshot();
    EXPECT_EQ(snapshot.record_count(), 2);
    EXPECT_EQ(snapshot.read_record(1).pname, "其他"_t);
    EXPECT_EQ(snapshot.read_record(2).pimg, "fmB.jpg");
}

TEST_F(DeleteSubGallery, CoversGoOnlyWhenTheirOwnAndInsideImg) {
    make_folder("elsewhere");
    put_file("elsewhere/keep.jpg", "outside");
    library_with({{"a", "../../elsewhere/keep.jpg"}, {"b", "sub"}, {"c", "fm.jpg"}});
    make_folder("我的图片库/img/sub");
    for (const char* name : {"a", "b", "c"}) EXPECT_EQ(remove(name), true) << name;
    EXPECT_EQ(file_bytes("elsewhere/keep.jpg"), "outside");
    EXPECT_TRUE(entry_exists("我的图片库/img/sub"));
    // The shared default cover stays.
    EXPECT_EQ(file_bytes("我的图片库/img/fm.jpg"), "default cover");
    EXPECT_FALSE(entry_exists("我的图片库/c"));
    EXPECT_EQ(config_.snapshot().record_count(), 0);
}

TEST_F(DeleteSubGallery, ACoverTwoRecordsShareGoesWithTheLast) {
    library_with({{"a", "fm0123456789abcdef.jpg"}, {"b", "fm0123456789abcdef.jpg"}});
    EXPECT_EQ(remove("a"), true);
    EXPECT_TRUE(entry_exists("我的图片库/img/fm0123456789abcdef.jpg"));
    EXPECT_EQ(remove("b"), true);
    EXPECT_FALSE(entry_exists("我的图片库/img/fm0123456789abcdef.jpg"));
}

TEST_F(DeleteSubGallery, HandMadeFolderGoesAndEveryRecordStays) {
    library_with({{"a", "fm1.jpg"}});
    make_folder("我的图片库/手工/x");
    EXPECT_EQ(remove("手工"), true);
    EXPECT_FALSE(entry_exists("我的图片库/手工"));
    EXPECT_EQ(config_.snapshot().read_record(1).pname, "a");
    EXPECT_EQ(config_.snapshot().record_count(), 1);
    EXPECT_TRUE(entry_exists("我的图片库/img/fm1.jpg"));
}

TEST_F(DeleteSubGallery, HostileTreeFoldersGoOneByOneAndLinksKeepTheirTargets) {
    testing::make_hostile_tree(disk("我的图片库"));
    const std::vector<std::string> folders = {".dot folder",
                                              "<img src=x onerror=alert(1)>",
                                              "a<b",
                                              "empty",
                                              "folder #?%\"\\ name",
                                              "link to dot",
                                              "link to 风景",
                                              "x&copy",
                                              "风景"};
    std::string config = "[NAME]\r\nname=0\r\n[images]\r\nnum=9\r\n";
    make_folder("我的图片库/img");
    std::vector<Text> names;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const std::string cover = "fm" + std::to_string(i) + ".jpg";
        put_file("我的图片库/img/" + cover, "cover");
        config += record_text(static_cast<int>(i) + 1, local_text(folders[i]), cover);
        names.push_back(local_text(folders[i]));
    }
    put_config(config);
    ASSERT_EQ(listed(), names);

    EXPECT_EQ(remove("link to 风景"), true);
    EXPECT_EQ(remove("link to dot"), true);
    EXPECT_FALSE(entry_exists("我的图片库/link to 风景"));
    EXPECT_TRUE(entry_exists("我的图片库/风景/山 1.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/.dot folder/hidden1.jpg"));
    EXPECT_EQ(remove("风景"), true);  // holds a link back to the main gallery
    EXPECT_TRUE(entry_exists("我的图片库/a.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/风景.jpg"));
    for (const char* name : {"folder #?%\"\\ name", ".dot folder", "empty",
                             "<img src=x onerror=alert(1)>", "a<b", "x&copy"})
        EXPECT_EQ(remove(name), true) << name;

    for (const auto& folder : folders) EXPECT_FALSE(entry_exists("我的图片库/" + folder)) << folder;
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(config_.snapshot().record_count(), 0);
    EXPECT_FALSE(entry_exists("我的图片库/img/fm0.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/.hidden.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/癨.png"));
}

TEST_F(DeleteSubGallery, SymbolicLinkLosesTheLinkNotItsTarget) {
    make_folder("target/pictures");
    put_file("target/pictures/a.jpg", "picture");
    library_with({});
    ASSERT_EQ(::symlink(disk("target").c_str(), disk("我的图片库/链接").c_str()), 0);
    EXPECT_EQ(remove("链接"), true);
    EXPECT_FALSE(entry_exists("我的图片库/链接"));
    EXPECT_EQ(file_bytes("target/pictures/a.jpg"), "picture");
}

TEST_F(DeleteSubGallery, FolderThatWouldStayKeepsEverything) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/a/.keep", "");  // never removed: the folder would stay
    expect_refused(
        "a", "fm1.jpg",
        "未删除任何数据：“"_t + local("我的图片库/a/.keep") + "”以“.”开头，不会被删除。"_t);
}

TEST_F(DeleteSubGallery, ConfigThatCannotBeRewrittenKeepsEverything) {
    library_with({{"a", "fm1.jpg"}});
    const std::string config = config_text();
    const Text cause = "未删除任何数据：无法写入配置文件“"_t + local("config.ini") + "”。"_t;
    std::filesystem::permissions(disk("config.ini"), std::filesystem::perms::owner_read);
    expect_refused("a", "fm1.jpg", cause);
    EXPECT_EQ(config_text(), config);

    std::filesystem::remove(disk("config.ini"));
    make_folder("config.ini");
    EXPECT_EQ(remove("a"), std::nullopt);
    EXPECT_TRUE(entry_exists("我的图片库/a/index.html"));
    EXPECT_EQ(progress, std::vector<Text>{kDeletionSteps + cause});
}

TEST_F(DeleteSubGallery, UnremovableFileKeepsEverything) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/a/bg/bgh2560L30.jpg", "background");
    ::chmod(disk("我的图片库/a/bg").c_str(), 0555);
    testing::run_unprivileged(root_.path(), [&] {
        expect_refused(
            "a", "fm1.jpg",
            "未删除任何数据：没有权限删除“"_t + local("我的图片库/a/bg/bgh2560L30.jpg") + "”。"_t);
        EXPECT_TRUE(entry_exists("我的图片库/a/bg/bgh2560L30.jpg"));
    });
}

TEST_F(DeleteSubGallery, CoverThatCannotGoKeepsEverything) {
    library_with({{"a", "fm1.jpg"}});
    ::chmod(disk("我的图片库/img").c_str(), 0555);
    testing::run_unprivileged(root_.path(), [&] {
        expect_refused(
            "a", "fm1.jpg",
            "未删除任何数据：没有权限删除“"_t + local("我的图片库/img/fm1.jpg") + "”。"_t);
    });
}

TEST_F(DeleteSubGallery, BindMountInsideKeepsEverythingAndTheMountedFolder) {
    library_with({{"a", "fm1.jpg"}});
    make_folder("elsewhere");
    put_file("elsewhere/precious.jpg", "p");
    make_folder("我的图片库/a/mounted");
    std::string why;
    const bool ran = testing::run_with_own_mounts(
        [&] {
            ASSERT_EQ(::mount(disk("elsewhere").c_str(), disk("我的图片库/a/mounted").c_str(),
                              nullptr, MS_BIND, nullptr),
                      0);
            expect_refused("a", "fm1.jpg",
                           "未删除任何数据：“"_t + local("我的图片库/a/mounted") +
                               "”上挂载着其他目录，不能删除。"_t);
            EXPECT_EQ(file_bytes("我的图片库/a/mounted/precious.jpg"), "p");
        },
        why);
    if (!ran) GTEST_SKIP() << why;
    EXPECT_EQ(file_bytes("elsewhere/precious.jpg"), "p");
}

// Thumbnails shared by the sub-galleries of a main gallery: a deletion takes
// those no other page names (and any left by a generation that never got
// its page), never one another page names.
class DeleteWithThumbnails : public DeleteSubGallery {
  protected:
    static std::string thumb(int n) {
        return "000000000000000" + std::to_string(n) + "-504x378.jpg";
    }
    void name_thumbnails(const std::string& sub, std::initializer_list<int> numbers) const {
        std::string page;
        for (int n : numbers)
            page += "<img src=\"/p/" + std::to_string(n) + ".jpg\" srcset=\"../img/thumbs/" +
                    thumb(n) + " 504w\" sizes=\"252px\">\r\n";
        put_file("我的图片库/" + sub + "/index.html", page);
    }
    void SetUp() override {
        library_with({{"a", "fm1.jpg"}, {"b", "fm.jpg"}});
        for (int n = 1; n <= 4; ++n) put_file("我的图片库/img/thumbs/" + thumb(n), "t");
        put_file("我的图片库/img/thumbs/." + thumb(5) + ".Ab12Cd", "half");  // a killed write
        put_file("我的图片库/img/thumbs/notes.txt", "the user's");
        name_thumbnails("a", {1, 2});
        name_thumbnails("b", {2, 3});
    }
};

TEST_F(DeleteWithThumbnails, OnlyThoseNoOtherPageNamesGo) {
    EXPECT_EQ(remove("a"), true);
    for (int n : {1, 4}) EXPECT_FALSE(entry_exists("我的图片库/img/thumbs/" + thumb(n))) << n;
    for (int n : {2, 3}) EXPECT_TRUE(entry_exists("我的图片库/img/thumbs/" + thumb(n))) << n;
    EXPECT_FALSE(entry_exists("我的图片库/img/thumbs/." + thumb(5) + ".Ab12Cd"));
    EXPECT_TRUE(entry_exists("我的图片库/img/thumbs/notes.txt"));
    EXPECT_EQ(remove("b"), true);
    for (int n : {2, 3}) EXPECT_FALSE(entry_exists("我的图片库/img/thumbs/" + thumb(n))) << n;
}

TEST_F(DeleteWithThumbnails, AThumbnailFolderThatKeepsItsFilesKeepsEverything) {
    ::chmod(disk("我的图片库/img/thumbs").c_str(), 0555);
    testing::run_unprivileged(root_.path(), [&] {
        EXPECT_EQ(remove("a"), std::nullopt);
        ASSERT_EQ(progress.size(), 1u);
        EXPECT_NE(
            progress[0].find("未删除任何数据：没有权限删除“"_t + local("我的图片库/img/thumbs/")),
            Text::npos);
        EXPECT_TRUE(entry_exists("我的图片库/a/index.html"));
        for (int n = 1; n <= 4; ++n)
            EXPECT_TRUE(entry_exists("我的图片库/img/thumbs/" + thumb(n))) << n;
        EXPECT_TRUE(config_.snapshot().find_record("a"));
    });
}

// A page names a picture's key through its thumbnail; the display copies
// beside it, of the same key, stay and go with it.
TEST_F(DeleteWithThumbnails, CopiesGoWithTheirThumbnail) {
    const auto copy = [](int n) { return "000000000000000" + std::to_string(n) + "-1280x960.jpg"; };
    for (int n : {1, 2}) put_file("我的图片库/img/thumbs/" + copy(n), "c");
    EXPECT_EQ(remove("a"), true);
    EXPECT_FALSE(entry_exists("我的图片库/img/thumbs/" + copy(1)));
    EXPECT_TRUE(entry_exists("我的图片库/img/thumbs/" + copy(2)));
}

// A page that cannot be read may name any thumbnail: the deletion goes on,
// no thumbnail goes, and the result names the page.
TEST_F(DeleteWithThumbnails, APageThatCannotBeReadKeepsEveryThumbnail) {
    ::chmod(disk("我的图片库/b/index.html").c_str(), 0);
    testing::run_unprivileged(root_.path(), [&] {
        const auto outcome =
            delete_sub_gallery(config_, local("我的图片库"), "a", [](const Text&) {});
        ASSERT_TRUE(outcome);
        EXPECT_TRUE(outcome->folder_gone);
        EXPECT_EQ(outcome->unread_page, local("我的图片库/b/index.html"));
        for (int n = 1; n <= 4; ++n)
            EXPECT_TRUE(entry_exists("我的图片库/img/thumbs/" + thumb(n))) << n;
        EXPECT_NE(deletion_result(*outcome).find("缩略图未清理：无法读取页面“"_t +
                                                 local("我的图片库/b/index.html")),
                  Text::npos);
    });
}

TEST(DeletableSubGallery, OneEntryOfTheMainGalleryButNoAssetFolder) {
    for (const Text& name : testing::kNotSubGalleries)
        EXPECT_FALSE(is_deletable_sub_gallery(name)) << name;
    for (const Text& name : {Text("a"), Text(".dot folder"), Text("index.html"), Text("imgs")})
        EXPECT_TRUE(is_deletable_sub_gallery(name)) << name;
}

}  // namespace
}  // namespace galmora
