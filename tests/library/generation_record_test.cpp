#include "library/generation_record.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/library/library_fixture.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;

using RecordGeneration = LibraryTest;

TEST_F(RecordGeneration, WritesTheChosenPicturesTheRecordTheCountAndTheSelection) {
    config_.ensure_file();
    record_generation(config_,
                      {"风景"_t, 12, "普清"_t, "★★★"_t, "logo123456789.png", "fm987654321.jpg", 0});
    const std::string after_first =
        "[NAME]\r\nname=0\r\n[images]\r\nnum=1\r\n[Logo]\r\nweblogo=logo123456789.png"
        "\r\n[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n[P1]\r\npname=" +
        "风景"_t + "\r\npimg=fm987654321.jpg\r\npnum=12\r\nphd=" + "普清"_t +
        "\r\npstar=" + "★★★"_t + "\r\n";
    EXPECT_EQ(config_text(), after_first);

    // Nothing chosen for the next one: the defaults are recorded; a list
    // without a selection is stored as its first entry.
    record_generation(config_, {"第二"_t, 0, "高清"_t, "★"_t, {}, {}, -1});
    const auto snapshot = config_.snapshot();
    EXPECT_EQ(snapshot.record_count(), 2);
    EXPECT_EQ(snapshot.site_logo(), "logo.png");
    EXPECT_EQ(snapshot.read_record(2).pname, "第二"_t);
    EXPECT_EQ(snapshot.read_record(2).pimg, "fm.jpg");
    EXPECT_EQ(snapshot.read_record(2).pnum, "0");
    EXPECT_EQ(snapshot.selected_index(), 0);

    record_generation(config_, {"三"_t, 3, "高清"_t, "★"_t, {}, {}, 4});
    EXPECT_EQ(config_.snapshot().selected_index(), 4);
}

}  // namespace
}  // namespace galmora
