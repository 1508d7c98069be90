#include "library/gallery_config.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/codepage.h"
#include "tests/library/config_files.h"
#include "tests/support/child_run.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::append_record;
using testing::blank_record;
using testing::compact;
using testing::ConfigFileTest;
using testing::kDefaultConfig;
using testing::literal_record;
using testing::literal_value;
using testing::write_value;

SubGalleryRecord record(const Text& name, const Text& cover, int pictures) {
    static const Text hd = "高清"_t, five = "★★★★★"_t;
    return {name, cover, to_text(pictures), hd, five};
}

Text record_text(int number, const SubGalleryRecord& r) {
    return "[P" + to_text(number) + "]\r\npname=" + r.pname + "\r\npimg=" + r.pimg +
           "\r\npnum=" + r.pnum + "\r\nphd=" + r.phd + "\r\npstar=" + r.pstar + "\r\n";
}

// ensure_file --------------------------------------------------------------

using EnsureFile = ConfigFileTest;

TEST_F(EnsureFile, FirstStartWritesTheDefaultsInOrder) {
    config().ensure_file();
    EXPECT_EQ(bytes(), kDefaultConfig);
}

TEST_F(EnsureFile, ExistingFileIsNeverReinitialised) {
    const std::string incomplete = "[images]\nnum=7";  // no name, no logo, no final line end
    put(incomplete);
    config().ensure_file();
    EXPECT_EQ(bytes(), incomplete);
}

// Single values -----------------------------------------------------------

using SingleValues = ConfigFileTest;

TEST_F(SingleValues, MissingFileReadsEmptyZeroAndOff) {
    const GalleryConfig c = config();
    EXPECT_EQ(literal_value(c, "NAME", "name"), "");
    EXPECT_EQ(c.snapshot().selected_index(), 0);
    EXPECT_EQ(c.snapshot().record_count(), 0);
    EXPECT_EQ(c.snapshot().site_logo(), "");
    EXPECT_FALSE(c.snapshot().lanterns_on());
    EXPECT_FALSE(c.snapshot().keep_proportions());
    EXPECT_FALSE(c.snapshot().thumbnails_on());
    EXPECT_FALSE(exists());
}

TEST_F(SingleValues, SettersReplaceValuesInPlace) {
    const GalleryConfig c = config();
    c.ensure_file();
    c.update([](GalleryConfig::Edit& e) { e.set_selected_index(3); });
    c.update([](GalleryConfig::Edit& e) { e.set_site_logo("logo012345678.gif"); });
    c.update([](GalleryConfig::Edit& e) { e.set_lanterns_on(false); });
    c.update([](GalleryConfig::Edit& e) { e.set_keep_proportions(false); });
    EXPECT_EQ(bytes(),
              "[NAME]\r\nname=3\r\n[images]\r\nnum=0\r\n[Logo]\r\nweblogo=logo012345678.gif\r\n"
              "[dl]\r\nd=0\r\n[bl]\r\nd=0\r\n");
    EXPECT_EQ(c.snapshot().selected_index(), 3);
    EXPECT_EQ(c.snapshot().site_logo(), "logo012345678.gif");
    c.update([](GalleryConfig::Edit& e) { e.set_lanterns_on(true); });
    EXPECT_TRUE(c.snapshot().lanterns_on());
    EXPECT_FALSE(c.snapshot().keep_proportions());
}

TEST_F(SingleValues, TogglesAreOnOnlyForExactlyOne) {
    put("[dl]\r\nd = 1 \r\n[bl]\r\nd=01\r\n");
    EXPECT_TRUE(config().snapshot().lanterns_on());  // the reader trims the blanks
    EXPECT_FALSE(config().snapshot().keep_proportions());
    put("[dl]\r\nd=yes\r\n");
    EXPECT_FALSE(config().snapshot().lanterns_on());
}

// append_record -----------------------------------------------------------

using AppendRecord = ConfigFileTest;

TEST_F(AppendRecord, WritesP1ThenP2AndCountsUp) {
    const GalleryConfig c = config();
    c.ensure_file();
    const SubGalleryRecord first = record("图库000000001"_t, "fm.jpg", 12);
    const SubGalleryRecord second = record("b", "fm123456789.png", 1);
    EXPECT_EQ(append_record(c, first), 1);
    EXPECT_EQ(bytes(),
              "[NAME]\r\nname=0\r\n[images]\r\nnum=1\r\n[Logo]\r\nweblogo=logo.png\r\n"
              "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n" +
                  record_text(1, first));
    EXPECT_EQ(append_record(c, second), 2);
    EXPECT_EQ(c.snapshot().record_count(), 2);
    EXPECT_EQ(literal_value(c, "images", "num"), "2");
    const SubGalleryRecord back = literal_record(c, 2);
    EXPECT_EQ(back.pname, second.pname);
    EXPECT_EQ(back.pimg, second.pimg);
    EXPECT_EQ(back.pnum, "1");
    EXPECT_EQ(back.phd, second.phd);
    EXPECT_EQ(back.pstar, second.pstar);
    EXPECT_EQ(literal_record(c, 1).pname, first.pname);
}

TEST_F(AppendRecord, CountWithoutLeadingDigitsOverwritesP1) {
    put("[images]\r\nnum=x5\r\n[P1]\r\npname=old\r\npimg=old.jpg\r\npnum=9\r\nphd=h\r\npstar="
        "s\r\n");
    const SubGalleryRecord fresh = record("new", "fm.jpg", 4);
    EXPECT_EQ(append_record(config(), fresh), 1);
    EXPECT_EQ(bytes(), "[images]\r\nnum=1\r\n" + record_text(1, fresh));
}

TEST_F(AppendRecord, OverwritesASlotLeftOverBeyondTheCount) {
    put("[images]\r\nnum=1\r\n[P2]\r\npname=stale\r\npnum=5\r\nextra=1\r\n");
    const SubGalleryRecord fresh = record("new", "fm.jpg", 4);
    EXPECT_EQ(append_record(config(), fresh), 2);
    EXPECT_EQ(bytes(),
              "[images]\r\nnum=2\r\n[P2]\r\npname=new\r\npnum=4\r\nextra=1\r\npimg=fm.jpg\r\n"
              "phd=" +
                  fresh.phd + "\r\npstar=" + fresh.pstar + "\r\n");
}

// A huge count appends right after it; a negative one counts as zero.
TEST_F(AppendRecord, NextSlotFollowsAHugeOrNegativeCount) {
    for (const auto& [count, next] : {std::pair{"2000000000", 2000000001}, {"-4", 1}}) {
        put(std::string("[images]\r\nnum=") + count + "\r\n");
        EXPECT_EQ(append_record(config(), record("a", "fm.jpg", 1)), next) << count;
        EXPECT_EQ(literal_value(config(), "images", "num"), to_text(next)) << count;
        EXPECT_EQ(literal_record(config(), next).pname, "a") << count;
    }
}

TEST_F(AppendRecord, SaturatedCountRefusesInsteadOfOverwriting) {
    const std::string full = "[images]\r\nnum=99999999999\r\n";
    put(full);
    EXPECT_EQ(append_record(config(), record("a", "fm.jpg", 1)), 0);
    EXPECT_EQ(bytes(), full);
}

// Values that the reader would trim or unquote -------------------------------

using StoredValues = ConfigFileTest;

TEST_F(StoredValues, EdgeBlanksAndQuotesSurviveTheRoundTrip) {
    const GalleryConfig c = config();
    const std::vector<Text> names = {" x", "x ", "'x'", "\"x\"", "\"", "a\tb\t", "\"q'"};
    for (const Text& name : names) append_record(c, record(name, "fm.jpg", 1));
    EXPECT_NE(bytes().find("pname=\" x\"\r\n"), std::string::npos);
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(literal_record(c, static_cast<int>(i) + 1).pname, names[i]);
            EXPECT_EQ(c.snapshot().find_record(names[i]), static_cast<int>(i) + 1) << names[i];
        }
        ASSERT_TRUE(compact(c));  // and again from the compacted file
    }
}

TEST_F(StoredValues, LineBreaksAreRefusedNotInjected) {
    const GalleryConfig c = config();
    c.ensure_file();
    EXPECT_FALSE(write_value(c, "Logo", "weblogo", "a.png\r\n[P1]\r\npname=evil"));
    EXPECT_EQ(append_record(c, record("two\nlines", "fm.jpg", 1)), 0);
    Text with_zero = "a";
    with_zero += '\0';
    EXPECT_EQ(append_record(c, record("ok", with_zero, 1)), 0);
    EXPECT_EQ(bytes(), kDefaultConfig);
}

// blank_record ------------------------------------------------------------

using BlankRecord = ConfigFileTest;

TEST_F(BlankRecord, KeepsTheFiveKeysWithEmptyValues) {
    const GalleryConfig c = config();
    append_record(c, record("a", "fm.jpg", 1));
    append_record(c, record("b", "fm.jpg", 2));
    blank_record(c, 1);
    EXPECT_EQ(bytes(),
              "[P1]\r\npname=\r\npimg=\r\npnum=\r\nphd=\r\npstar=\r\n[images]\r\nnum=2\r\n" +
                  record_text(2, record("b", "fm.jpg", 2)));
}

// find_record -------------------------------------------------------------

using FindRecord = ConfigFileTest;

TEST_F(FindRecord, ReturnsTheLowestOfEqualNames) {
    const GalleryConfig c = config();
    c.ensure_file();
    for (const char* name : {"x", "same", "y", "same"}) append_record(c, record(name, "fm.jpg", 1));
    EXPECT_EQ(c.snapshot().find_record("same"), 2);
    EXPECT_EQ(c.snapshot().find_record("x"), 1);
    EXPECT_EQ(c.snapshot().find_record("SAME"), std::nullopt);  // names compare case-sensitively
    EXPECT_EQ(c.snapshot().find_record("missing"), std::nullopt);
}

TEST_F(FindRecord, SearchesOnlySlotsUpToTheCount) {
    put("[images]\r\nnum=1\r\n[P1]\r\npname=a\r\n[P2]\r\npname=b\r\n");
    EXPECT_EQ(config().snapshot().find_record("b"), std::nullopt);
}

TEST_F(FindRecord, HugeCountReturnsAtOnce) {
    put("[images]\r\nnum=2000000000\r\n[P1]\r\npname=a\r\n[P3]\r\npname=b\r\n[P1999999999]\r\n"
        "pname=far\r\n");
    EXPECT_EQ(config().snapshot().find_record("b"), 3);
    EXPECT_EQ(config().snapshot().find_record("far"), 1999999999);
    EXPECT_EQ(config().snapshot().find_record("missing"), std::nullopt);
    EXPECT_EQ(config().snapshot().find_record(""),
              2);  // slot 2 has no section, so its pname reads empty
}

// compact -----------------------------------------------------------------

using Compact = ConfigFileTest;

TEST_F(Compact, DropsBlankedSlotsAndKeepsTheSwitches) {
    const GalleryConfig c = config();
    c.ensure_file();
    const SubGalleryRecord two = record("二"_t, "fm000000002.jpg", 2);
    const SubGalleryRecord four = record("four", "fm.jpg", 4);
    append_record(c, record("one", "fm.jpg", 1));
    append_record(c, two);
    append_record(c, record("three", "fm.jpg", 3));
    append_record(c, four);
    blank_record(c, 1);
    blank_record(c, 3);
    c.update([](GalleryConfig::Edit& e) { e.set_selected_index(2); });
    c.update([](GalleryConfig::Edit& e) { e.set_site_logo("logo555.png"); });
    c.update([](GalleryConfig::Edit& e) { e.set_lanterns_on(false); });
    ASSERT_TRUE(compact(c));
    EXPECT_EQ(bytes(),
              "[NAME]\r\nname=2\r\n[images]\r\nnum=2\r\n[Logo]\r\nweblogo=logo555.png\r\n" +
                  record_text(1, two) + record_text(2, four) + "[dl]\r\nd=0\r\n[bl]\r\nd=1\r\n");
    // The thumbnails option, once stored, has a section of its own that
    // compaction keeps too.
    c.update([](GalleryConfig::Edit& e) { e.set_thumbnails_on(true); });
    EXPECT_TRUE(c.snapshot().thumbnails_on());
    ASSERT_TRUE(compact(c));
    EXPECT_EQ(bytes().substr(bytes().size() - 30), "[bl]\r\nd=1\r\n[thumbnails]\r\nd=1\r\n");
}

// Untidy files and the bytes their compaction leaves: the head is always
// written, switches only when they were there.
TEST_F(Compact, RewritesUntidyFilesToTheirRecords) {
    struct Case {
        const char *what, *before, *after;
    };
    for (const Case& c : {
             Case{"zero count writes only the head",
                  "[NAME]\nname=1\n[images]\nnum=0\n[Logo]\nweblogo=logo.png\n[P1]\npname=left\n"
                  "[bl]\nd=0",
                  "[NAME]\r\nname=1\r\n[images]\r\nnum=0\r\n[Logo]\r\nweblogo=logo.png\r\n"
                  "[bl]\r\nd=0\r\n"},
             Case{"missing switches stay missing",
                  "[NAME]\r\nname=0\r\n[images]\r\nnum=1\r\n[P1]\r\npname=a\r\n[dl]\r\nx=1\r\n",
                  "[NAME]\r\nname=0\r\n[images]\r\nnum=1\r\n[Logo]\r\nweblogo=\r\n"
                  "[P1]\r\npname=a\r\npimg=\r\npnum=\r\nphd=\r\npstar=\r\n"},
             Case{"huge count keeps every named record",
                  "[images]\r\nnum=2000000000\r\n[P1999999999]\r\npname=far\r\n[P2]\r\n"
                  "pname=near\r\n[P7]\r\npname=\r\n",
                  "[NAME]\r\nname=\r\n[images]\r\nnum=2\r\n[Logo]\r\nweblogo=\r\n"
                  "[P1]\r\npname=near\r\npimg=\r\npnum=\r\nphd=\r\npstar=\r\n"
                  "[P2]\r\npname=far\r\npimg=\r\npnum=\r\nphd=\r\npstar=\r\n"},
             Case{"negative count keeps no slot", "[images]\r\nnum=-3\r\n[P1]\r\npname=a\r\n",
                  "[NAME]\r\nname=\r\n[images]\r\nnum=0\r\n[Logo]\r\nweblogo=\r\n"},
             Case{"a byte order mark is kept",
                  "\xEF\xBB\xBF[NAME]\r\nname=1\r\n[images]\r\nnum=1\r\n[P1]\r\npname=a\r\n",
                  "\xEF\xBB\xBF[NAME]\r\nname=1\r\n[images]\r\nnum=1\r\n[Logo]\r\nweblogo=\r\n"
                  "[P1]\r\npname=a\r\npimg=\r\npnum=\r\nphd=\r\npstar=\r\n"},
         }) {
        put(c.before);
        ASSERT_TRUE(compact(config())) << c.what;
        EXPECT_EQ(bytes(), c.after) << c.what;
    }
}

TEST_F(Compact, UnreadableFileIsLeftAlone) {
    const std::string original = "[images]\r\nnum=1\r\n[P1]\r\npname=a\r\n";
    put(original);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_write);
    testing::run_unprivileged(root_.path(), [&] { EXPECT_FALSE(compact(config())); });
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
    EXPECT_EQ(bytes(), original);
}

}  // namespace
}  // namespace galmora
