// The snapshot must answer exactly what one read_profile per key answers, on
// files as untidy as hand edits and other programs leave them.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "library/gallery_config.h"
#include "tests/library/config_files.h"
#include "tests/support/profile_calls.h"

namespace galmora {

using testing::read_profile;
using testing::write_profile;
namespace {

using namespace galmora::literals;
using testing::ConfigFileTest;
using testing::literal_record;
using testing::literal_record_count;
using testing::literal_value;

std::string untidy_file() {
    std::string nul_value = "c";
    nul_value += '\0';
    nul_value += "d";
    return "garbage line without equals\r\n"
           "key=before any section\r\n"
           "[ NAME ]\r\n"
           "  name =  5  \r\n"
           "[images]\n"
           "NUM = \"6\"\n"
           "num=9\n"
           "[Logo]\r"
           "weblogo='logo.png'\r"
           "[p1]\r\n"
           "PName =   \"a b\"  \r\n"
           "pimg=fm.jpg ;not a comment\r\n"
           "; pname=comment\r\n"
           "[P1]\r\n"
           "pname=second-p1\r\n"
           "[P2]\r\n"
           "pname=\r\n"
           "pimg=kept-with-empty-name\r\n"
           "\r\n"
           "[ P3 ]x\r\n"
           "pname=" +
           nul_value +
           "\r\n"
           "pnum=1\r\n"
           "pnum=2\r\n"
           "[P03]\r\n"
           "pname=zero-padded\r\n"
           "[P4\r\n"
           "pname=unclosed\r\n"
           "[dl]\r\n"
           "d=1\r\n"
           "[DL]\r\n"
           "d=0\r\n"
           "[p5]\r\n"
           "pname=" +
           "图库"_t +
           "\r\n"
           "[P4]\r\n"
           "pstar=\"★\r\n"
           "pname=last";
}

const std::vector<std::string> kSections = {"NAME", "name", " NAME", "images", "IMAGES", "Logo",
                                            "dl",   "DL",   "bl",    "P1",     "p1",     "P2",
                                            "P3",   "P03",  "P4",    "[P4",    "P5",     "P6"};
const std::vector<std::string> kKeys = {"name", "num",  "NUM", "weblogo", "d",   "pname",  "PNAME",
                                        "pimg", "pnum", "phd", "pstar",   "key", "missing"};

void expect_same_record(const SubGalleryRecord& a, const SubGalleryRecord& b, int slot) {
    EXPECT_EQ(a.pname, b.pname) << "slot " << slot;
    EXPECT_EQ(a.pimg, b.pimg) << "slot " << slot;
    EXPECT_EQ(a.pnum, b.pnum) << "slot " << slot;
    EXPECT_EQ(a.phd, b.phd) << "slot " << slot;
    EXPECT_EQ(a.pstar, b.pstar) << "slot " << slot;
}

// What find_record means, read literally: one read per slot from 1 to num.
std::optional<int> literal_find(const GalleryConfig& c, const Text& name) {
    const int count = literal_record_count(c);
    for (int i = 1; i <= count; ++i)
        if (literal_value(c, "P" + to_text(i), "pname") == name) return i;
    return std::nullopt;
}

using SnapshotReads = ConfigFileTest;

TEST_F(SnapshotReads, EqualKeyByKeyReadsOnAnUntidyFile) {
    put(untidy_file());
    const GalleryConfig c = config();
    const GalleryConfig::Snapshot snapshot = c.snapshot();
    for (const std::string& section : kSections) {
        for (const std::string& key : kKeys) {
            EXPECT_EQ(snapshot.read_value(section, key), literal_value(c, section, key))
                << "[" << section << "] " << key;
            const bool present = read_profile(c.path(), section, key, "\x01") != "\x01";
            EXPECT_EQ(snapshot.has_value(section, key), present) << "[" << section << "] " << key;
        }
    }
    EXPECT_EQ(snapshot.record_count(), literal_record_count(c));
    EXPECT_EQ(snapshot.selected_index(), to_integer(literal_value(c, "NAME", "name")));
    EXPECT_EQ(snapshot.site_logo(), literal_value(c, "Logo", "weblogo"));
    EXPECT_EQ(snapshot.lanterns_on(), literal_value(c, "dl", "d") == "1");
    EXPECT_EQ(snapshot.keep_proportions(), literal_value(c, "bl", "d") == "1");
    for (int slot = 0; slot <= literal_record_count(c) + 2; ++slot)
        expect_same_record(snapshot.read_record(slot), literal_record(c, slot), slot);
}

TEST_F(SnapshotReads, SkippedSlotsReadEmpty) {
    put(untidy_file());
    const GalleryConfig c = config();
    const GalleryConfig::Snapshot snapshot = c.snapshot();
    const std::vector<int>& present = snapshot.slots_present();
    for (int slot = 1; slot <= literal_record_count(c); ++slot) {
        if (std::find(present.begin(), present.end(), slot) != present.end()) continue;
        expect_same_record(literal_record(c, slot), SubGalleryRecord{}, slot);
    }
    if (!present.empty()) {
        EXPECT_LE(present.back(), literal_record_count(c));
    }
}

TEST_F(SnapshotReads, FindRecordEqualsTheLiteralSearch) {
    put(untidy_file());
    const GalleryConfig c = config();
    const GalleryConfig::Snapshot snapshot = c.snapshot();
    std::vector<Text> names = {"",         "a b",  "second-p1", "c",       "zero-padded",
                               "unclosed", "last", "A B",       "missing", "图库"_t};
    names.push_back(literal_value(c, "P3", "pname"));
    for (const Text& name : names) {
        EXPECT_EQ(c.snapshot().find_record(name), literal_find(c, name)) << name;
        EXPECT_EQ(snapshot.find_record(name), literal_find(c, name)) << name;
    }
    EXPECT_EQ(snapshot.records_named("a b"), std::vector<int>{1});
}

TEST_F(SnapshotReads, RecordsNamedListsEveryMatchInOrder) {
    put("[images]\r\nnum=5\r\n[P4]\r\npname=f\r\n[P2]\r\npname=f\r\n[P3]\r\npname=g\r\n"
        "[P6]\r\npname=f\r\n");
    const GalleryConfig::Snapshot snapshot = config().snapshot();
    EXPECT_EQ(snapshot.records_named("f"), (std::vector<int>{2, 4}));
    EXPECT_TRUE(snapshot.records_named("F").empty());
    EXPECT_TRUE(snapshot.records_named("").empty());
}

TEST_F(SnapshotReads, ReadsNeverRewriteTheFile) {
    const std::string original = untidy_file();
    put(original);
    const GalleryConfig c = config();
    c.ensure_file();
    const GalleryConfig::Snapshot snapshot = c.snapshot();
    snapshot.selected_index();
    snapshot.record_count();
    snapshot.site_logo();
    snapshot.lanterns_on();
    snapshot.keep_proportions();
    snapshot.read_record(1);
    snapshot.find_record("last");
    c.update([](GalleryConfig::Edit&) {});  // an edit that changes nothing writes nothing
    EXPECT_EQ(bytes(), original);
}

TEST_F(SnapshotReads, CompactionKeepsWhatTheLiteralReadsSee) {
    put(untidy_file());
    const GalleryConfig c = config();
    std::vector<SubGalleryRecord> kept;
    for (int slot = 1; slot <= literal_record_count(c); ++slot) {
        SubGalleryRecord r = literal_record(c, slot);
        if (!r.pname.empty()) kept.push_back(std::move(r));
    }
    const Text name = literal_value(c, "NAME", "name"), logo = literal_value(c, "Logo", "weblogo");
    const Text lanterns = literal_value(c, "dl", "d");

    ASSERT_TRUE(testing::compact(c));
    ASSERT_EQ(literal_record_count(c), static_cast<int>(kept.size()));
    for (size_t i = 0; i < kept.size(); ++i)
        expect_same_record(literal_record(c, static_cast<int>(i) + 1), kept[i],
                           static_cast<int>(i) + 1);
    EXPECT_EQ(bytes().find("[P" + to_text(static_cast<int>(kept.size()) + 1) + "]"),
              std::string::npos);
    EXPECT_EQ(literal_value(c, "NAME", "name"), name);
    EXPECT_EQ(literal_value(c, "Logo", "weblogo"), logo);
    EXPECT_EQ(literal_value(c, "dl", "d"), lanterns);
    EXPECT_EQ(bytes().find("[bl]"), std::string::npos);  // absent before, absent after
    const std::string text = bytes();
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

}  // namespace
}  // namespace galmora
