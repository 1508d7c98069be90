// The embedded site files against their sources, their formats read from the
// files' own headers, and where and when they are placed.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/files.h"
#include "generator/asset_store.h"
#include "generator/embedded_files.h"
#include "tests/generator/embedded_asset.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using testing::embedded;

// This file lies in tests/generator/ of the source tree.
const fs::path kSourceRoot = fs::path(__FILE__).parent_path().parent_path().parent_path();

std::string read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string as_string(ByteView bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::vector<std::string> split_lines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

unsigned be16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]);
}

unsigned be32(const std::string& b, std::size_t at) {
    return be16(b, at) << 16 | be16(b, at + 2);
}

struct FrameHeader {
    int marker = 0;  // 0xC0 baseline, 0xC2 progressive
    unsigned width = 0;
    unsigned height = 0;
};

// Walks the JPEG segments up to the first start-of-frame.
FrameHeader jpeg_frame(const std::string& b) {
    if (b.size() < 4 || be16(b, 0) != 0xFFD8) return {};
    for (std::size_t at = 2; at + 9 < b.size();) {
        if (static_cast<unsigned char>(b[at]) != 0xFF) return {};
        const int marker = static_cast<unsigned char>(b[at + 1]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return {marker, be16(b, at + 7), be16(b, at + 5)};
        at += 2 + be16(b, at + 2);
    }
    return {};
}

bool has_bom(const std::string& s) {
    return s.starts_with("\xEF\xBB\xBF");
}
bool only_crlf(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    return s.find("\r\n") != std::string::npos;
}
bool only_lf(const std::string& s) {
    return s.find('\r') == std::string::npos;
}

const std::vector<std::string> kAssetFiles = {"tkgxtb.svg", "bgh2560L30.jpg", "fm.jpg",
                                              "logo.png",   "kl.js",          "style.css",
                                              "script.js",  "mains.css"};

TEST(EmbeddedFiles, EveryAssetEqualsItsSourceFile) {
    for (const std::string& name : kAssetFiles) {
        const std::string source = read_bytes(kSourceRoot / "generator/assets" / name);
        ASSERT_FALSE(source.empty()) << name;
        EXPECT_EQ(embedded(name), source) << name;
    }
    EXPECT_TRUE(AssetStore::embedded("missing.css").empty());
}

TEST(EmbeddedFiles, EveryFragmentEqualsItsSourceFile) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kSourceRoot / "generator/fragments")) {
        if (entry.path().extension() != ".txt") continue;
        ++count;
        const std::string name = entry.path().stem().string();
        EXPECT_EQ(as_string(find_embedded(embedded_fragments(), name)), read_bytes(entry.path()))
            << name;
    }
    EXPECT_EQ(count, 27);
    EXPECT_EQ(embedded_fragments().size(), 27u);
}

TEST(EmbeddedFiles, StretchedVariantDiffersInExactlyTheTwoHeightLines) {
    const std::string proportional = embedded("mains.css");
    const std::string stretched = embedded("mains-stretched.css");
    const auto a = split_lines(proportional, "\r\n");
    const auto b = split_lines(stretched, "\r\n");
    ASSERT_EQ(a.size(), b.size());
    int differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        ++differing;
        EXPECT_EQ(a[i], "    height:auto;");
        EXPECT_EQ(b[i], "    height:100%;");
    }
    EXPECT_EQ(differing, 2);
}

TEST(EmbeddedFiles, PicturesHaveTheirFormatsAndSizes) {
    const FrameHeader background = jpeg_frame(embedded("bgh2560L30.jpg"));
    EXPECT_EQ(background.marker, 0xC2);  // progressive
    EXPECT_EQ(background.width, 2560u);
    EXPECT_EQ(background.height, 1440u);

    const FrameHeader cover = jpeg_frame(embedded("fm.jpg"));
    EXPECT_EQ(cover.marker, 0xC0);  // baseline
    EXPECT_EQ(cover.width, 1280u);
    EXPECT_EQ(cover.height, 720u);

    const std::string logo = embedded("logo.png");
    ASSERT_GT(logo.size(), 33u);
    EXPECT_EQ(logo.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(logo.substr(12, 4), "IHDR");
    EXPECT_EQ(be32(logo, 16), 400u);
    EXPECT_EQ(be32(logo, 20), 400u);
    EXPECT_EQ(logo[24], 8);  // bit depth
    EXPECT_EQ(logo[25], 2);  // RGB, no alpha

    const std::string decoration = embedded("tkgxtb.svg");
    EXPECT_NE(decoration.find("width=\"298\" height=\"168\""), std::string::npos);
    EXPECT_TRUE(only_lf(decoration));
}

TEST(EmbeddedFiles, TextFilesHaveTheirEncodingsAndLineEnds) {
    for (const char* name : {"mains.css", "mains-stretched.css"}) {
        EXPECT_TRUE(has_bom(embedded(name))) << name;
        EXPECT_TRUE(only_crlf(embedded(name))) << name;
    }
    EXPECT_FALSE(has_bom(embedded("style.css")));
    EXPECT_TRUE(only_lf(embedded("style.css")));
    for (const char* name : {"script.js", "kl.js"}) {
        EXPECT_FALSE(has_bom(embedded(name))) << name;
        EXPECT_TRUE(only_crlf(embedded(name))) << name;
    }
}

class AssetPlacement : public ::testing::Test {
  protected:
    std::string contents(const std::string& relative) const { return folder_.contents(relative); }
    void overwrite(const std::string& relative, const std::string& text) const {
        folder_.put(relative, text);
    }
    fs::path at(const std::string& relative) const { return fs::path(folder_.path()) / relative; }

    testing::TempDir folder_;
};

TEST_F(AssetPlacement, MainGalleryGetsItsFoldersAndFiles) {
    AssetStore::place_main_gallery_assets(folder_.text());
    for (const char* placed : {"img/tkgxtb.svg", "img/bgh2560L30.jpg", "img/fm.jpg", "img/logo.png",
                               "js/kl.js", "stylecss/style.css"})
        EXPECT_EQ(contents(placed), embedded(at(placed).filename().string())) << placed;
    EXPECT_FALSE(fs::exists(at("index.html")));
}

TEST_F(AssetPlacement, MainGalleryFilesAreWrittenOnlyWhenMissing) {
    AssetStore::place_main_gallery_assets(folder_.text());
    overwrite("img/logo.png", "user logo");
    overwrite("stylecss/style.css", "body{}");
    fs::remove(at("img/fm.jpg"));
    AssetStore::place_main_gallery_assets(folder_.text());
    EXPECT_EQ(contents("img/logo.png"), "user logo");
    EXPECT_EQ(contents("stylecss/style.css"), "body{}");
    EXPECT_EQ(contents("img/fm.jpg"), embedded("fm.jpg"));
}

TEST_F(AssetPlacement, AFolderOfAFileNameIsLeftAlone) {
    fs::create_directories(at("js/kl.js"));
    AssetStore::place_main_gallery_assets(folder_.text());
    EXPECT_TRUE(fs::is_directory(at("js/kl.js")));
    EXPECT_EQ(contents("img/logo.png"), embedded("logo.png"));
}

TEST_F(AssetPlacement, AFileNamedImgMakesItsRowsFailQuietly) {
    overwrite("img", "not a folder");
    AssetStore::place_main_gallery_assets(folder_.text());
    EXPECT_EQ(contents("img"), "not a folder");
    EXPECT_EQ(contents("js/kl.js"), embedded("kl.js"));
}

TEST_F(AssetPlacement, SubGalleryScriptAndStyleSheetAreAlwaysReplaced) {
    AssetStore::place_sub_gallery_assets(folder_.text(), true);
    EXPECT_EQ(contents("bg/bgh2560L30.jpg"), embedded("bgh2560L30.jpg"));
    EXPECT_EQ(contents("bg/tkgxtb.svg"), embedded("tkgxtb.svg"));
    overwrite("script.js", "edited");
    overwrite("mains.css", "edited");
    overwrite("bg/tkgxtb.svg", "edited");
    AssetStore::place_sub_gallery_assets(folder_.text(), true);
    EXPECT_EQ(contents("script.js"), embedded("script.js"));
    EXPECT_EQ(contents("mains.css"), embedded("mains.css"));
    EXPECT_EQ(contents("bg/tkgxtb.svg"), "edited");
}

TEST_F(AssetPlacement, ProportionSettingChoosesTheStyleSheetVariant) {
    AssetStore::place_sub_gallery_assets(folder_.text(), true);
    EXPECT_EQ(contents("mains.css"), embedded("mains.css"));
    EXPECT_NE(contents("mains.css")
                  .find(".content{\r\n    display:block;\r\n    width:100%;\r\n"
                        "    height:auto;"),
              std::string::npos);
    AssetStore::place_sub_gallery_assets(folder_.text(), false);
    EXPECT_EQ(contents("mains.css"), embedded("mains-stretched.css"));
    EXPECT_EQ(contents("mains.css").find("height:auto;"), std::string::npos);
}

}  // namespace
}  // namespace galmora
