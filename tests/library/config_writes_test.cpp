// A generation and a deletion each replace config.ini exactly once, and leave
// the bytes that writing it one key at a time leaves.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "core/codepage.h"
#include "library/generation_record.h"
#include "library/logo_cover_selection.h"
#include "library/sub_gallery_deletion.h"
#include "tests/library/library_fixture.h"
#include "tests/support/file_writes.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;
using testing::write_value;

constexpr std::array<const char*, 5> kRecordKeys = {"pname", "pimg", "pnum", "phd", "pstar"};

// A generation's writes one key each, on a copy: weblogo, the record's five
// keys, num, then the selected main gallery.
void generation_key_by_key(const GalleryConfig& copy, const Text& logo,
                           const SubGalleryRecord& record, int selected) {
    write_value(copy, "Logo", "weblogo", logo);
    const Text number = to_text(std::max(0, testing::literal_record_count(copy)) + 1);
    const std::array<Text, 5> values = {record.pname, record.pimg, record.pnum, record.phd,
                                        record.pstar};
    for (std::size_t i = 0; i < kRecordKeys.size(); ++i)
        write_value(copy, "P" + number, kRecordKeys[i], values[i]);
    write_value(copy, "images", "num", number);
    write_value(copy, "NAME", "name", to_text(selected));
}

// A deletion's writes on a copy: the record's keys blanked one each, then
// the compaction.
void deletion_key_by_key(const GalleryConfig& copy, const Text& name) {
    if (const std::optional<int> slot = copy.snapshot().find_record(name)) {
        for (const char* key : kRecordKeys) write_value(copy, "P" + to_text(*slot), key, "");
    }
    testing::compact(copy);
}

class OneWritePerOperation : public LibraryTest {
  protected:
    void start_with_config(const std::string& bytes) const {
        if (bytes.empty())
            std::filesystem::remove(disk("config.ini"));
        else
            put_config(bytes);
        config_.ensure_file();
    }
    // config.ini as it is now, copied beside it.
    GalleryConfig copy_of_config() const {
        put_file("copy.ini", config_text());
        return GalleryConfig(root_.text() + "/copy.ini");
    }
};

TEST_F(OneWritePerOperation, AGenerationWritesOnceWhatItsKeyByKeyWritesLeave) {
    make_folder("pictures");
    make_folder("我的图片库");
    put_file("pictures/logo.png", "logo");
    put_file("pictures/cover.jpg", "cover");
    const std::vector<std::string> files = {
        "",  // a first start's defaults
        "\xEF\xBB\xBF[NAME]\nname=1\n[images]\nNUM = 2\n[P3]\npname=stale\nextra=1\n[P1]\n"
        "pname=a\n[dl]\nd=0",
        "[images]\r\nnum=x5\r\n[P1]\r\npname=old\r\n[Logo]\r\nweblogo= logo.png \r\n",
    };
    const std::vector<Text> names = {"风景"_t, " x", "'q'"};
    for (const std::string& file : files) {
        for (const Text& name : names) {
            start_with_config(file);
            LogoCoverSelection selection(config_, root_.text());
            selection.draw_suffixes();
            if (name == " x") {
                selection.take_logo(local("我的图片库"), local("pictures/logo.png"));
                selection.take_cover(local("我的图片库"), local("pictures/cover.jpg"));
            }
            const GeneratedEntry entry{name,
                                       7,
                                       "高清"_t,
                                       "★★★★★"_t,
                                       selection.chosen_logo(),
                                       selection.chosen_cover(),
                                       name == "'q'" ? -1 : 1};
            const Text logo = entry.chosen_logo.empty() ? Text("logo.png") : entry.chosen_logo;
            const SubGalleryRecord record{
                name, entry.chosen_cover.empty() ? Text("fm.jpg") : entry.chosen_cover, "7",
                entry.quality_label, entry.star_string};
            const GalleryConfig copy = copy_of_config();

            testing::FileWriteCounter writes(disk("config.ini"));
            record_generation(config_, entry);
            EXPECT_EQ(writes.count(), 1) << file << " / " << name;
            generation_key_by_key(copy, logo, record, std::max(0, entry.main_gallery_index));
            EXPECT_EQ(config_text(), file_bytes("copy.ini")) << file << " / " << name;
        }
    }
}

TEST_F(OneWritePerOperation, ADeletionWritesOnceWhatItsKeyByKeyWritesLeave) {
    const std::string records = "[P1]\r\npname=" + "一"_t +
                                "\r\npimg=fm.jpg\r\n[P2]\r\npname=" + "二"_t +
                                "\r\npnum=5\r\n[P3]\r\npname=\" x\"\r\nphd=h\r\n[P4]\r\n" +
                                "pname=" + "二"_t + "\r\npimg=fm4.jpg\r\n";
    const std::string tidy =
        "[NAME]\r\nname=0\r\n[images]\r\nnum=4\r\n[Logo]\r\nweblogo=logo.png\r\n" + records +
        "[dl]\r\nd=1\r\n[bl]\r\nd=0\r\n";
    const std::string untidy = "\xEF\xBB\xBF[images]\nnum = 3\n" + records + "[P9]\npname=far\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {tidy, "二"}, {tidy, " x"}, {tidy, "手工"}, {untidy, "一"}, {untidy, "二"}};
    for (const auto& [file, name] : cases) {
        for (const char* folder : {"一", "二", " x", "手工"})
            make_folder(std::string("我的图片库/") + folder);
        start_with_config(file);
        const GalleryConfig copy = copy_of_config();

        testing::FileWriteCounter writes(disk("config.ini"));
        const auto outcome =
            delete_sub_gallery(config_, local("我的图片库"), local_text(name), [](const Text&) {});
        EXPECT_TRUE(outcome && outcome->folder_gone) << name;
        EXPECT_EQ(writes.count(), 1) << name;
        EXPECT_FALSE(entry_exists("我的图片库/" + name)) << name;
        deletion_key_by_key(copy, local_text(name));
        EXPECT_EQ(config_text(), file_bytes("copy.ini")) << name;
    }
}

}  // namespace
}  // namespace galmora
