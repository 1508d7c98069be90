#include "shell/window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>
#include <string>

#include "core/text.h"
#include "tests/support/control_printing.h"

namespace galmora {
namespace {

const ControlDefinition& control(ControlId id) {
    const ControlDefinition* definition = find_control(id);
    if (!definition) throw std::runtime_error("missing control " + std::to_string(int(id)));
    return *definition;
}

// Neighbours may share a one-pixel edge; more than that is a misplaced control.
bool overlap(const ControlDefinition& a, const ControlDefinition& b) {
    int width = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    int height = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return width > 1 && height > 1;
}

TEST(WindowLayout, HoldsEachControlOnceInsideTheClientArea) {
    std::set<std::string_view> names;
    std::set<ControlId> ids;
    for (const ControlDefinition& definition : window_layout()) {
        SCOPED_TRACE(std::string(definition.name));
        EXPECT_TRUE(names.insert(definition.name).second);
        EXPECT_TRUE(ids.insert(definition.id).second);
        EXPECT_EQ(find_control(definition.id), &definition);
        EXPECT_GE(definition.left, 8);
        EXPECT_GE(definition.top, 9);
        EXPECT_LE(definition.left + definition.width, 756);
        EXPECT_LE(definition.top + definition.height, 642);
    }
    EXPECT_EQ(names.size(), 57u);
    // Every identifier has its row; page fragments ("编辑框1"...) have none.
    EXPECT_EQ(ids.size(), 57u);
    EXPECT_EQ(int(*ids.rbegin()), 56);
    EXPECT_EQ(std::count(names.begin(), names.end(), "编辑框1"), 0);
    // The names are the widgets' object names.
    EXPECT_EQ(control(ControlId::MainGalleryList).name, "组合框1");
    EXPECT_EQ(control(ControlId::InformationPanel).name, "编辑框3");
    EXPECT_EQ(control(ControlId::CheckUpdateButton).name, "按钮12");
}

TEST(WindowLayout, OnlyTheNewGalleryInputSharesItsPlace) {
    auto layout = window_layout();
    for (std::size_t i = 0; i < layout.size(); ++i)
        for (std::size_t j = i + 1; j < layout.size(); ++j) {
            if (!overlap(layout[i], layout[j])) continue;
            std::set<ControlId> pair{layout[i].id, layout[j].id};
            bool shared = pair.count(ControlId::MainGalleryLabel) &&
                          (pair.count(ControlId::NewMainGalleryName) ||
                           pair.count(ControlId::NewMainGalleryConfirm));
            EXPECT_TRUE(shared) << layout[i].name << " overlaps " << layout[j].name;
        }
    EXPECT_TRUE(control(ControlId::MainGalleryLabel).visible);
    EXPECT_FALSE(control(ControlId::NewMainGalleryName).visible);
    EXPECT_FALSE(control(ControlId::NewMainGalleryConfirm).visible);
}

TEST(WindowLayout, CaptionsAreTheWindowsOwnTexts) {
    EXPECT_EQ(control(ControlId::MainGalleryLabel).caption,
              "选择主图库||新的子图库将生成到此目录: →");
    EXPECT_EQ(control(ControlId::SubGalleryNameLabel).caption,
              "默认名称为:\"图库\"+\"随机数\" || 为新的子图库添写名称: →");
    EXPECT_EQ(control(ControlId::OpenPageAfter).caption,
              "生成图片库后-直接浏览\"Web\"图库管理页面查看效果");
    EXPECT_EQ(control(ControlId::ChoosePictureFolder).caption, "← * 选择或拖拽图片目录到此 *");
    EXPECT_EQ(control(ControlId::PerPageLabel).caption, " * 单页显示数量1-999 *:→");
    EXPECT_EQ(control(ControlId::PageCountLabel).caption, " * 共分1-99 * :→");
    EXPECT_EQ(control(ControlId::RatingHintLabel).caption, " ← 4、5 高清,3、2、1 普清");
    EXPECT_EQ(control(ControlId::CopyButton).caption, "←复制内容");
    EXPECT_EQ(control(ControlId::NewMainGalleryConfirm).caption, "确定");
    EXPECT_EQ(control(ControlId::RatingList).caption, "★★★★★\n★★★★\n★★★\n★★\n★");
    EXPECT_EQ(control(ControlId::ModeList).caption, "本地模式\n网络模式");
    EXPECT_EQ(control(ControlId::SubGalleryList).caption, "选择要删除的子图库后点击 →");
    EXPECT_EQ(control(ControlId::CoverBox).caption, "默认封面");
    EXPECT_EQ(control(ControlId::LogoBox).caption, "默认Logo");
    EXPECT_EQ(control(ControlId::SiteTitleLink).caption, "#");
    EXPECT_EQ(control(ControlId::SubGalleryName).caption, "");
    EXPECT_EQ(kWindowTitle, "Galmora - 带 [星] 号为必填项目");
}

TEST(WindowLayout, GeometryOfSampleControls) {
    auto at = [](ControlId id) {
        const ControlDefinition& s = control(id);
        return std::array{s.left, s.top, s.width, s.height};
    };
    EXPECT_EQ(at(ControlId::MainGalleryList), (std::array{456, 9, 300, 27}));
    EXPECT_EQ(at(ControlId::PictureTotal), (std::array{195, 123, 61, 32}));
    EXPECT_EQ(at(ControlId::InformationPanel), (std::array{8, 165, 536, 208}));
    EXPECT_EQ(at(ControlId::GenerateButton), (std::array{656, 304, 100, 69}));
    EXPECT_EQ(at(ControlId::ClearIntroductionButton), (std::array{552, 341, 100, 32}));
    EXPECT_EQ(at(ControlId::ModeList), (std::array{149, 545, 107, 32}));
    EXPECT_EQ(at(ControlId::RatingHintLabel), (std::array{280, 498, 232, 32}));
    EXPECT_EQ(at(ControlId::AlwaysOnTop), (std::array{688, 610, 64, 32}));
    const ControlId formats[] = {ControlId::JpgFormat, ControlId::JpegFormat,
                                 ControlId::PngFormat, ControlId::BmpFormat,
                                 ControlId::GifFormat, ControlId::WebpFormat};
    const char* captions[] = {"JPG", "JPEG", "PNG", "BMP", "GIF", "WEBP"};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(formats[i]);
        EXPECT_EQ(at(formats[i]), (std::array{190 + 80 * i, 610, 64, 32}));
        EXPECT_EQ(control(formats[i]).caption, captions[i]);
        EXPECT_TRUE(control(formats[i]).checked);
        EXPECT_FALSE(control(formats[i]).enabled);
    }
}

TEST(WindowLayout, InputModesAndLimits) {
    EXPECT_EQ(control(ControlId::SubGalleryName).max_length, 14);
    EXPECT_EQ(control(ControlId::PictureTotal).max_length, 5);
    EXPECT_TRUE(control(ControlId::PictureTotal).read_only);
    EXPECT_FALSE(control(ControlId::PictureTotal).enabled);
    EXPECT_TRUE(control(ControlId::PictureTotal).centred);
    EXPECT_EQ(control(ControlId::PerPage).max_length, 3);
    EXPECT_TRUE(control(ControlId::PerPage).integer_input);
    EXPECT_EQ(control(ControlId::PageCount).max_length, 2);
    EXPECT_FALSE(control(ControlId::PageCount).integer_input);
    EXPECT_FALSE(control(ControlId::SiteTitle).enabled);
    EXPECT_TRUE(control(ControlId::InformationPanel).read_only);
    EXPECT_EQ(control(ControlId::InformationPanel).kind, ControlKind::MultiLineEdit);
    EXPECT_EQ(control(ControlId::SiteIntroduction).kind, ControlKind::MultiLineEdit);
    EXPECT_TRUE(control(ControlId::CoverBox).read_only);
    int drop_targets = 0;
    for (const ControlDefinition& definition : window_layout())
        drop_targets += definition.drop_target;
    EXPECT_EQ(drop_targets, 3);
    EXPECT_TRUE(control(ControlId::PictureFolder).drop_target);
    EXPECT_TRUE(control(ControlId::CoverBox).drop_target);
    EXPECT_TRUE(control(ControlId::LogoBox).drop_target);
    EXPECT_TRUE(control(ControlId::OpenFolderAfter).checked);
    EXPECT_TRUE(control(ControlId::OpenPageAfter).checked);
    EXPECT_FALSE(control(ControlId::AlwaysOnTop).checked);
}

TEST(WindowLayout, FontsAndColours) {
    for (const ControlDefinition& definition : window_layout()) {
        SCOPED_TRACE(std::string(definition.name));
        int expected = definition.kind == ControlKind::ComboBox ? 19 : 16;
        if (definition.id == ControlId::SiteTitleLink ||
            definition.id == ControlId::SiteIntroduction)
            expected = 13;
        EXPECT_EQ(definition.font_pixels, expected);
        bool edit = definition.kind == ControlKind::LineEdit ||
                    definition.kind == ControlKind::MultiLineEdit;
        if (edit) {
            EXPECT_EQ(definition.background_colour, rgb(243, 255, 240));
        } else if (definition.kind != ControlKind::ComboBox) {
            EXPECT_EQ(definition.background_colour, -1);
        }
    }
    EXPECT_EQ(control(ControlId::MainGalleryList).background_colour, rgb(243, 255, 240));
    EXPECT_EQ(control(ControlId::SubGalleryList).background_colour, rgb(243, 255, 240));
    EXPECT_EQ(control(ControlId::RatingList).background_colour, rgb(255, 255, 255));
    EXPECT_EQ(control(ControlId::ModeList).background_colour, rgb(255, 255, 255));
    EXPECT_EQ(control(ControlId::SubGalleryName).text_colour, rgb(0, 96, 192));
    EXPECT_EQ(control(ControlId::SubGalleryList).text_colour, rgb(0, 96, 192));
    EXPECT_EQ(control(ControlId::PageCount).text_colour, rgb(0, 0, 128));
    EXPECT_EQ(control(ControlId::InformationPanel).text_colour, rgb(128, 0, 128));
    EXPECT_EQ(control(ControlId::RatingList).text_colour, rgb(255, 128, 0));
    EXPECT_EQ(control(ControlId::ModeLabel).text_colour, rgb(255, 0, 0));
    EXPECT_EQ(control(ControlId::SiteAddressLabel).text_colour, rgb(255, 0, 0));
    EXPECT_EQ(control(ControlId::PictureTotalLabel).text_colour, 0);
    EXPECT_EQ(control(ControlId::ModeList).text_colour, 0);
}

}  // namespace
}  // namespace galmora
