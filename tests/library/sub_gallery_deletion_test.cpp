#include "library/sub_gallery_deletion.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include "core/codepage.h"
#include "tests/library/library_fixture.h"
#include "tests/support/child_run.h"
#include "tests/support/hostile_tree.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;

std::string record_text(int slot, const std::string& pname, const std::string& pimg) {
    return "[P" + std::to_string(slot) + "]\r\npname=" + pname + "\r\npimg=" + pimg +
           "\r\npnum=5\r\nphd=" + local_text("普清") + "\r\npstar=" + local_text("★★") + "\r\n";
}

const std::string kFinalText = local_text(
    "即将删除被选择的子图库所有相关数据...\r\n\r\n清除被选择子图库的相关记录...\r\n\r\n"
    "删除被选择子图库的封面与目录...\r\n\r\n刷新子图库列表...\r\n\r\n更新数据...\r\n\r\n");

class DeleteSubGallery : public LibraryTest {
  protected:
    // Sub-galleries of 我的图片库, each a folder with a page, recorded in order.
    void library_with(const std::vector<std::pair<std::string, std::string>>& records) {
        std::string config =
            "[NAME]\r\nname=0\r\n[images]\r\nnum=" + std::to_string(records.size()) +
            "\r\n[Logo]\r\nweblogo=logo.png\r\n";
        int slot = 1;
        for (const auto& [name, cover] : records) {
            make_folder("我的图片库/" + name + "/bg");
            put_file("我的图片库/" + name + "/index.html", "page");
            config += record_text(slot++, local_text(name), cover);
        }
        put_config(config + "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n");
        make_folder("我的图片库/img");
        put_file("我的图片库/img/fm.jpg", "default cover");
        start();
    }
    void delete_confirmed(const std::string& name) {
        pick_sub_gallery(local_text(name));
        desktop().message_box_answers.push_back(kResultOk);
        session_->deletion.delete_sub_gallery();
    }
    std::string panel() { return ui().text(ControlId::InformationPanel); }
    // Folder, cover and record of a refused deletion, all still there.
    void expect_untouched(const std::string& name, const std::string& cover) {
        EXPECT_TRUE(entry_exists("我的图片库/" + name + "/index.html"));
        EXPECT_TRUE(entry_exists("我的图片库/img/" + cover));
        const std::optional<int> slot = config_.snapshot().find_record(local_text(name));
        ASSERT_TRUE(slot.has_value());
        EXPECT_EQ(config_.snapshot().read_record(*slot).pimg, cover);
        EXPECT_EQ(items(ControlId::SubGalleryList).size(), 2u);
    }
};

TEST_F(DeleteSubGallery, RemovesTheMiddleOfThreeAndCompacts) {
    library_with({{"一", "fm1.jpg"}, {"二", "fm2.jpg"}, {"三", "fm3.jpg"}});
    put_file("我的图片库/img/fm2.jpg", "cover");
    delete_confirmed("二");

    EXPECT_FALSE(entry_exists("我的图片库/二"));
    EXPECT_FALSE(entry_exists("我的图片库/img/fm2.jpg"));
    EXPECT_EQ(config_text(),
              "[NAME]\r\nname=0\r\n[images]\r\nnum=2\r\n[Logo]\r\nweblogo=logo.png\r\n" +
                  record_text(1, "一"_t, "fm1.jpg") + record_text(2, "三"_t, "fm3.jpg") +
                  "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n");
    EXPECT_EQ(items(ControlId::SubGalleryList),
              (std::vector<Text>{"选择要删除的子图库后点击 →"_t, "一"_t, "三"_t}));
    EXPECT_EQ(card_count("我的图片库"), 2);
    EXPECT_EQ(panel(), kFinalText + "完成删除^^!"_t);

    ASSERT_EQ(desktop().message_boxes.size(), 1u);
    const auto& box = desktop().message_boxes[0];
    EXPECT_EQ(box.message, "确认删除【二】子图库吗？\r\n此操作不可恢复"_t);
    EXPECT_EQ(box.button_set, 1);
    EXPECT_EQ(box.caption, "确认信息:"_t);
}

TEST_F(DeleteSubGallery, OfTwoRecordsOfOneNameTheLowerGoes) {
    library_with({{"同名", "fmA.jpg"}, {"其他", "fm.jpg"}});
    put_config(config_text() + record_text(3, "同名"_t, "fmB.jpg"));
    testing::write_value(config_, "images", "num", "3");
    put_file("我的图片库/img/fmA.jpg", "a");
    put_file("我的图片库/img/fmB.jpg", "b");
    state().rebuild_flag = true;
    session_->sub_galleries.refresh_sub_gallery_list();
    EXPECT_EQ(card_count("我的图片库"), 3);

    delete_confirmed("同名");
    EXPECT_FALSE(entry_exists("我的图片库/img/fmA.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/img/fmB.jpg"));
    const auto snapshot = config_.snapshot();
    EXPECT_EQ(snapshot.record_count(), 2);
    EXPECT_EQ(snapshot.read_record(1).pname, "其他"_t);
    EXPECT_EQ(snapshot.read_record(2).pimg, "fmB.jpg");
}

TEST_F(DeleteSubGallery, KeepsTheSharedDefaultCover) {
    library_with({{"a", "fm.jpg"}});
    delete_confirmed("a");
    EXPECT_EQ(file_bytes("我的图片库/img/fm.jpg"), "default cover");
    EXPECT_FALSE(entry_exists("我的图片库/a"));
}

TEST_F(DeleteSubGallery, CoverIsDeletedOnlyInsideImg) {
    make_folder("elsewhere");
    put_file("elsewhere/keep.jpg", "outside");
    library_with({{"a", "../../elsewhere/keep.jpg"}, {"b", "sub"}});
    make_folder("我的图片库/img/sub");
    delete_confirmed("a");
    delete_confirmed("b");
    EXPECT_EQ(file_bytes("elsewhere/keep.jpg"), "outside");
    EXPECT_TRUE(entry_exists("我的图片库/img/sub"));
    EXPECT_EQ(config_.snapshot().record_count(), 0);
}

TEST_F(DeleteSubGallery, CancelChangesNothingButThePanel) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/img/fm1.jpg", "cover");
    state().rebuild_flag = true;
    session_->sub_galleries.refresh_sub_gallery_list();
    const std::string config = config_text(), page = file_bytes("我的图片库/index.html");
    pick_sub_gallery("a");
    desktop().message_box_answers.push_back(kResultCancel);
    session_->deletion.delete_sub_gallery();

    EXPECT_EQ(panel(), "即将删除被选择的子图库所有相关数据...\r\n"_t);
    EXPECT_EQ(config_text(), config);
    EXPECT_EQ(file_bytes("我的图片库/index.html"), page);
    EXPECT_TRUE(entry_exists("我的图片库/a/index.html"));
    EXPECT_TRUE(entry_exists("我的图片库/img/fm1.jpg"));
    EXPECT_EQ(ui().selected_index(ControlId::SubGalleryList), 1);
    EXPECT_TRUE(desktop().opened.empty());
}

TEST_F(DeleteSubGallery, PromptSelectedDoesNothing) {
    library_with({{"a", "fm.jpg"}});
    ui().set_text(ControlId::InformationPanel, "start-up text");
    session_->deletion.delete_sub_gallery();
    EXPECT_TRUE(desktop().message_boxes.empty());
    EXPECT_EQ(panel(), "start-up text");
    EXPECT_TRUE(entry_exists("我的图片库/a"));
}

TEST_F(DeleteSubGallery, HandMadeFolderGoesAndEveryRecordStays) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/img/fm1.jpg", "cover");
    make_folder("我的图片库/手工/x");
    session_->sub_galleries.refresh_sub_gallery_list();
    delete_confirmed("手工");
    EXPECT_FALSE(entry_exists("我的图片库/手工"));
    EXPECT_EQ(config_.snapshot().read_record(1).pname, "a");
    EXPECT_EQ(config_.snapshot().record_count(), 1);
    EXPECT_TRUE(entry_exists("我的图片库/img/fm1.jpg"));
    EXPECT_EQ(panel(), kFinalText + "完成删除^^!"_t);
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
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const std::string cover = "fm" + std::to_string(i) + ".jpg";
        put_file("我的图片库/img/" + cover, "cover");
        config += record_text(static_cast<int>(i) + 1, local_text(folders[i]), cover);
    }
    put_config(config);
    start();
    std::vector<Text> listed = {"选择要删除的子图库后点击 →"_t};
    for (const auto& folder : folders) listed.push_back(local_text(folder));
    ASSERT_EQ(items(ControlId::SubGalleryList), listed);

    delete_confirmed("link to 风景");
    delete_confirmed("link to dot");
    EXPECT_FALSE(entry_exists("我的图片库/link to 风景"));
    EXPECT_TRUE(entry_exists("我的图片库/风景/山 1.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/.dot folder/hidden1.jpg"));
    delete_confirmed("风景");  // holds a link back to the main gallery
    EXPECT_TRUE(entry_exists("我的图片库/a.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/风景.jpg"));
    delete_confirmed("folder #?%\"\\ name");
    delete_confirmed(".dot folder");
    delete_confirmed("empty");
    delete_confirmed("<img src=x onerror=alert(1)>");
    delete_confirmed("a<b");
    delete_confirmed("x&copy");

    for (const auto& folder : folders) EXPECT_FALSE(entry_exists("我的图片库/" + folder)) << folder;
    EXPECT_EQ(items(ControlId::SubGalleryList).size(), 1u);
    EXPECT_EQ(config_.snapshot().record_count(), 0);
    EXPECT_FALSE(entry_exists("我的图片库/img/fm0.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/.hidden.jpg"));
    EXPECT_TRUE(entry_exists("我的图片库/癨.png"));
    EXPECT_EQ(ui().text(ControlId::InformationPanel), kFinalText + "完成删除^^!"_t);
}

TEST_F(DeleteSubGallery, SymbolicLinkLosesTheLinkNotItsTarget) {
    make_folder("target/pictures");
    put_file("target/pictures/a.jpg", "picture");
    library_with({});
    ASSERT_EQ(::symlink(disk("target").c_str(), disk("我的图片库/链接").c_str()), 0);
    session_->sub_galleries.refresh_sub_gallery_list();
    delete_confirmed("链接");
    EXPECT_FALSE(entry_exists("我的图片库/链接"));
    EXPECT_EQ(file_bytes("target/pictures/a.jpg"), "picture");
    EXPECT_EQ(panel(), kFinalText + "完成删除^^!"_t);
}

TEST_F(DeleteSubGallery, FolderThatWouldStayKeepsEverything) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/img/fm1.jpg", "cover");
    put_file("我的图片库/a/.keep", "");  // never removed: the folder would stay
    delete_confirmed("a");
    expect_untouched("a", "fm1.jpg");
    EXPECT_EQ(panel(), kFinalText + "未删除任何数据：“"_t + local("我的图片库/a/.keep") +
                           "”以“.”开头，不会被删除。"_t);
}

TEST_F(DeleteSubGallery, UnwritableConfigKeepsEverything) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/img/fm1.jpg", "cover");
    ui().set_checked(ControlId::OpenFolderAfter, true);
    const std::string config = config_text();
    std::filesystem::permissions(disk("config.ini"), std::filesystem::perms::owner_read);
    delete_confirmed("a");
    expect_untouched("a", "fm1.jpg");
    EXPECT_EQ(config_text(), config);
    EXPECT_EQ(panel(),
              kFinalText + "未删除任何数据：无法写入配置文件“"_t + local("config.ini") + "”。"_t);
    EXPECT_TRUE(desktop().opened.empty());
}

TEST_F(DeleteSubGallery, ConfigThatIsAFolderKeepsEverything) {
    library_with({{"a", "fm.jpg"}});
    std::filesystem::remove(disk("config.ini"));
    make_folder("config.ini");
    delete_confirmed("a");
    EXPECT_TRUE(entry_exists("我的图片库/a/index.html"));
    EXPECT_EQ(panel(),
              kFinalText + "未删除任何数据：无法写入配置文件“"_t + local("config.ini") + "”。"_t);
}

TEST_F(DeleteSubGallery, UnremovableFileKeepsEverything) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/img/fm1.jpg", "cover");
    put_file("我的图片库/a/bg/bgh2560L30.jpg", "background");
    ::chmod(disk("我的图片库/a/bg").c_str(), 0555);
    testing::run_unprivileged(root_.path(), [&] {
        delete_confirmed("a");
        expect_untouched("a", "fm1.jpg");
        EXPECT_TRUE(entry_exists("我的图片库/a/bg/bgh2560L30.jpg"));
        EXPECT_EQ(panel(), kFinalText + "未删除任何数据：没有权限删除“"_t +
                               local("我的图片库/a/bg/bgh2560L30.jpg") + "”。"_t);
    });
}

TEST_F(DeleteSubGallery, CoverThatCannotGoKeepsEverything) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/img/fm1.jpg", "cover");
    ::chmod(disk("我的图片库/img").c_str(), 0555);
    testing::run_unprivileged(root_.path(), [&] {
        delete_confirmed("a");
        expect_untouched("a", "fm1.jpg");
        EXPECT_EQ(panel(), kFinalText + "未删除任何数据：没有权限删除“"_t +
                               local("我的图片库/img/fm1.jpg") + "”。"_t);
    });
}

TEST_F(DeleteSubGallery, BindMountInsideKeepsEverythingAndTheMountedFolder) {
    library_with({{"a", "fm1.jpg"}});
    put_file("我的图片库/img/fm1.jpg", "cover");
    make_folder("elsewhere");
    put_file("elsewhere/precious.jpg", "p");
    make_folder("我的图片库/a/mounted");
    std::string why;
    const bool ran = testing::run_with_own_mounts(
        [&] {
            ASSERT_EQ(::mount(disk("elsewhere").c_str(), disk("我的图片库/a/mounted").c_str(),
                              nullptr, MS_BIND, nullptr),
                      0);
            delete_confirmed("a");
            expect_untouched("a", "fm1.jpg");
            EXPECT_EQ(file_bytes("我的图片库/a/mounted/precious.jpg"), "p");
            EXPECT_EQ(panel(), kFinalText + "未删除任何数据：“"_t + local("我的图片库/a/mounted") +
                                   "”上挂载着其他目录，不能删除。"_t);
        },
        why);
    if (!ran) GTEST_SKIP() << why;
    EXPECT_EQ(file_bytes("elsewhere/precious.jpg"), "p");
}

TEST_F(DeleteSubGallery, NeverLeavesTheMainGallery) {
    library_with({{"a", "fm.jpg"}});
    for (const Text& name : {Text(".."), Text("."), Text("img"), Text("js"), Text("stylecss"),
                             Text("../我的图片库"_t), Text()}) {
        ui().append_item(ControlId::SubGalleryList, name);
        ui().set_selected_index(ControlId::SubGalleryList,
                                ui().item_count(ControlId::SubGalleryList) - 1);
        desktop().message_box_answers.push_back(kResultOk);
        session_->deletion.delete_sub_gallery();
    }
    EXPECT_TRUE(desktop().message_boxes.empty());
    EXPECT_TRUE(entry_exists("我的图片库/a"));
    EXPECT_TRUE(entry_exists("我的图片库/img/fm.jpg"));
}

TEST_F(DeleteSubGallery, OpensFolderThenPageWhenTicked) {
    library_with({{"a", "fm.jpg"}, {"b", "fm.jpg"}});
    ui().set_checked(ControlId::OpenFolderAfter, true);
    ui().set_checked(ControlId::OpenPageAfter, true);
    delete_confirmed("a");
    const Text main_gallery = local("我的图片库");
    EXPECT_EQ(desktop().opened,
              (std::vector<Text>{"open:" + main_gallery, "web:" + main_gallery + "/index.html"}));
    ui().set_checked(ControlId::OpenFolderAfter, false);
    ui().set_checked(ControlId::OpenPageAfter, false);
    delete_confirmed("b");
    EXPECT_EQ(desktop().opened.size(), 2u);
}

}  // namespace
}  // namespace galmora
