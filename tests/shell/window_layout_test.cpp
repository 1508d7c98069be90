#include "shell/window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>
#include <string>

#include "core/text.h"

namespace galmora {
namespace {

const ControlSpec& control(std::string_view name) {
    const ControlSpec* spec = find_control(name);
    if (!spec) throw std::runtime_error("missing control " + std::string(name));
    return *spec;
}

// Neighbours may share a one-pixel edge; more than that is a misplaced control.
bool overlap(const ControlSpec& a, const ControlSpec& b) {
    int width = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    int height = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return width > 1 && height > 1;
}

TEST(WindowLayout, HoldsEachControlOnceInsideTheClientArea) {
    std::set<std::string_view> names;
    for (const ControlSpec& spec : window_layout()) {
        SCOPED_TRACE(std::string(spec.name));
        EXPECT_TRUE(names.insert(spec.name).second);
        EXPECT_EQ(find_control(spec.name), &spec);
        EXPECT_GE(spec.left, 8);
        EXPECT_GE(spec.top, 9);
        EXPECT_LE(spec.left + spec.width, 756);
        EXPECT_LE(spec.top + spec.height, 642);
    }
    EXPECT_EQ(names.size(), 56u);
    EXPECT_EQ(find_control("编辑框1"), nullptr);  // page fragments are no controls
    EXPECT_EQ(find_control(""), nullptr);
}

TEST(WindowLayout, OnlyTheNewGalleryInputSharesItsPlace) {
    auto layout = window_layout();
    for (std::size_t i = 0; i < layout.size(); ++i)
        for (std::size_t j = i + 1; j < layout.size(); ++j) {
            if (!overlap(layout[i], layout[j])) continue;
            std::set<std::string_view> pair{layout[i].name, layout[j].name};
            bool shared = pair.count("标签3") &&
                          (pair.count("新建主图库名称") || pair.count("新建主图库按钮"));
            EXPECT_TRUE(shared) << layout[i].name << " overlaps " << layout[j].name;
        }
    EXPECT_TRUE(control("标签3").visible);
    EXPECT_FALSE(control("新建主图库名称").visible);
    EXPECT_FALSE(control("新建主图库按钮").visible);
}

TEST(WindowLayout, CaptionsAreTheWindowsOwnTexts) {
    EXPECT_EQ(control("标签3").caption, "选择主图库||新的子图库将生成到此目录: →");
    EXPECT_EQ(control("标签14").caption,
              "默认名称为:\"图库\"+\"随机数\" || 为新的子图库添写名称: →");
    EXPECT_EQ(control("选择框3").caption, "生成图片库后-直接浏览\"Web\"图库管理页面查看效果");
    EXPECT_EQ(control("按钮8").caption, "← * 选择或拖拽图片目录到此 *");
    EXPECT_EQ(control("标签1").caption, " * 单页显示数量1-999 *:→");
    EXPECT_EQ(control("标签6").caption, " * 共分1-99 * :→");
    EXPECT_EQ(control("标签5").caption, " ← 4、5 高清,3、2、1 普清");
    EXPECT_EQ(control("复制").caption, "←复制内容");
    EXPECT_EQ(control("新建主图库按钮").caption, "确定");
    EXPECT_EQ(control("组合框2").caption, "★★★★★\n★★★★\n★★★\n★★\n★");
    EXPECT_EQ(control("组合框3").caption, "本地模式\n网络模式");
    EXPECT_EQ(control("组合框4").caption, "选择要删除的子图库后点击 →");
    EXPECT_EQ(control("浏览目录1").caption, "默认封面");
    EXPECT_EQ(control("浏览目录3").caption, "默认Logo");
    EXPECT_EQ(control("网站标题链接").caption, "#");
    EXPECT_EQ(control("图库名称").caption, "");
    EXPECT_EQ(kWindowTitle, "Galmora - 带 [星] 号为必填项目");
}

TEST(WindowLayout, GeometryOfSampleControls) {
    auto at = [](std::string_view name) {
        const ControlSpec& s = control(name);
        return std::array{s.left, s.top, s.width, s.height};
    };
    EXPECT_EQ(at("组合框1"), (std::array{456, 9, 300, 27}));
    EXPECT_EQ(at("文件总数"), (std::array{195, 123, 61, 32}));
    EXPECT_EQ(at("编辑框3"), (std::array{8, 165, 536, 208}));
    EXPECT_EQ(at("生成图片库"), (std::array{656, 304, 100, 69}));
    EXPECT_EQ(at("按钮14"), (std::array{552, 341, 100, 32}));
    EXPECT_EQ(at("组合框3"), (std::array{149, 545, 107, 32}));
    EXPECT_EQ(at("标签5"), (std::array{280, 498, 232, 32}));
    EXPECT_EQ(at("选择框9"), (std::array{688, 610, 64, 32}));
    const char* formats[] = {"选择框5", "选择框6", "选择框7", "选择框8", "选择框10", "选择框11"};
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
    EXPECT_EQ(control("图库名称").max_length, 14);
    EXPECT_EQ(control("文件总数").max_length, 5);
    EXPECT_TRUE(control("文件总数").read_only);
    EXPECT_FALSE(control("文件总数").enabled);
    EXPECT_TRUE(control("文件总数").centred);
    EXPECT_EQ(control("单页数量").max_length, 3);
    EXPECT_TRUE(control("单页数量").integer_input);
    EXPECT_EQ(control("页总数").max_length, 2);
    EXPECT_FALSE(control("页总数").integer_input);
    EXPECT_FALSE(control("网站标题").enabled);
    EXPECT_TRUE(control("编辑框3").read_only);
    EXPECT_EQ(control("编辑框3").kind, ControlKind::MultiLineEdit);
    EXPECT_EQ(control("网站介绍").kind, ControlKind::MultiLineEdit);
    EXPECT_TRUE(control("浏览目录1").read_only);
    int drop_targets = 0;
    for (const ControlSpec& spec : window_layout()) drop_targets += spec.drop_target;
    EXPECT_EQ(drop_targets, 3);
    EXPECT_TRUE(control("浏览目录").drop_target);
    EXPECT_TRUE(control("浏览目录1").drop_target);
    EXPECT_TRUE(control("浏览目录3").drop_target);
    EXPECT_TRUE(control("选择框1").checked);
    EXPECT_TRUE(control("选择框3").checked);
    EXPECT_FALSE(control("选择框9").checked);
}

TEST(WindowLayout, FontsAndColours) {
    for (const ControlSpec& spec : window_layout()) {
        SCOPED_TRACE(std::string(spec.name));
        int expected = spec.kind == ControlKind::ComboBox ? 19 : 16;
        if (spec.name == "网站标题链接" || spec.name == "网站介绍") expected = 13;
        EXPECT_EQ(spec.font_pixels, expected);
        bool edit = spec.kind == ControlKind::LineEdit || spec.kind == ControlKind::MultiLineEdit;
        if (edit) {
            EXPECT_EQ(spec.background_colour, rgb(243, 255, 240));
        } else if (spec.kind != ControlKind::ComboBox) {
            EXPECT_EQ(spec.background_colour, -1);
        }
    }
    EXPECT_EQ(control("组合框1").background_colour, rgb(243, 255, 240));
    EXPECT_EQ(control("组合框4").background_colour, rgb(243, 255, 240));
    EXPECT_EQ(control("组合框2").background_colour, rgb(255, 255, 255));
    EXPECT_EQ(control("组合框3").background_colour, rgb(255, 255, 255));
    EXPECT_EQ(control("图库名称").text_colour, rgb(0, 96, 192));
    EXPECT_EQ(control("组合框4").text_colour, rgb(0, 96, 192));
    EXPECT_EQ(control("页总数").text_colour, rgb(0, 0, 128));
    EXPECT_EQ(control("编辑框3").text_colour, rgb(128, 0, 128));
    EXPECT_EQ(control("组合框2").text_colour, rgb(255, 128, 0));
    EXPECT_EQ(control("标签10").text_colour, rgb(255, 0, 0));
    EXPECT_EQ(control("标签11").text_colour, rgb(255, 0, 0));
    EXPECT_EQ(control("标签2").text_colour, 0);
    EXPECT_EQ(control("组合框3").text_colour, 0);
}

}  // namespace
}  // namespace galmora
