#include "shell/window_layout.h"

#include <algorithm>

#include "core/text.h"

namespace galmora {

namespace {

using enum ControlKind;

constexpr int kFieldGreen = rgb(243, 255, 240);
constexpr int kWhite = rgb(255, 255, 255);
constexpr int kBlue = rgb(0, 96, 192);
constexpr int kNavy = rgb(0, 0, 128);
constexpr int kPurple = rgb(128, 0, 128);
constexpr int kOrange = rgb(255, 128, 0);
constexpr int kRed = rgb(255, 0, 0);

constexpr int kListFont = 19;
constexpr int kSmallFont = 13;

// In creation order, which is also the keyboard tab order.
constexpr ControlSpec kControls[] = {
    // Main gallery row. 标签3 shares its place with the new-gallery name box
    // and its OK button; only one of the two is shown at a time.
    {.name = "新建主图库", .kind = Button, .left = 8, .top = 9, .width = 100, .height = 32,
     .caption = "新建主图库"},
    {.name = "标签3", .kind = Label, .left = 120, .top = 9, .width = 328, .height = 32,
     .caption = "选择主图库||新的子图库将生成到此目录: →"},
    {.name = "新建主图库名称", .kind = LineEdit, .left = 116, .top = 9, .width = 272, .height = 32,
     .background_colour = kFieldGreen, .visible = false},
    {.name = "新建主图库按钮", .kind = Button, .left = 392, .top = 9, .width = 56, .height = 32,
     .caption = "确定", .visible = false},
    {.name = "组合框1", .kind = ComboBox, .left = 456, .top = 9, .width = 300, .height = 27,
     .caption = "我的图片库", .font_pixels = kListFont, .text_colour = kOrange,
     .background_colour = kFieldGreen},

    // Sub-gallery name row.
    {.name = "标签14", .kind = Label, .left = 8, .top = 48, .width = 440, .height = 32,
     .caption = "默认名称为:\"图库\"+\"随机数\" || 为新的子图库添写名称: →"},
    {.name = "图库名称", .kind = LineEdit, .left = 456, .top = 48, .width = 300, .height = 27,
     .text_colour = kBlue, .background_colour = kFieldGreen, .max_length = 14},

    // Picture source and counts.
    {.name = "浏览目录", .kind = LineEdit, .left = 8, .top = 85, .width = 480, .height = 32,
     .background_colour = kFieldGreen, .drop_target = true},
    {.name = "按钮8", .kind = Button, .left = 496, .top = 85, .width = 260, .height = 32,
     .caption = "← * 选择或拖拽图片目录到此 *"},
    {.name = "标签2", .kind = Label, .left = 9, .top = 123, .width = 183, .height = 32,
     .caption = "图片总量记录1-98901:→"},
    {.name = "文件总数", .kind = LineEdit, .left = 195, .top = 123, .width = 61, .height = 32,
     .text_colour = kPurple, .background_colour = kFieldGreen, .max_length = 5,
     .read_only = true, .centred = true, .enabled = false},
    {.name = "标签1", .kind = Label, .left = 256, .top = 123, .width = 208, .height = 32,
     .caption = " * 单页显示数量1-999 *:→"},
    {.name = "单页数量", .kind = LineEdit, .left = 464, .top = 123, .width = 48, .height = 32,
     .text_colour = kNavy, .background_colour = kFieldGreen, .max_length = 3,
     .integer_input = true, .centred = true},
    {.name = "标签6", .kind = Label, .left = 520, .top = 123, .width = 144, .height = 32,
     .caption = " * 共分1-99 * :→"},
    {.name = "页总数", .kind = LineEdit, .left = 672, .top = 123, .width = 40, .height = 32,
     .text_colour = kNavy, .background_colour = kFieldGreen, .max_length = 2, .centred = true},
    {.name = "标签12", .kind = Label, .left = 720, .top = 123, .width = 24, .height = 32,
     .caption = "页"},

    // Information panel and command buttons.
    {.name = "编辑框3", .kind = MultiLineEdit, .left = 8, .top = 165, .width = 536, .height = 208,
     .text_colour = kPurple, .background_colour = kFieldGreen, .read_only = true},
    {.name = "按钮10", .kind = Button, .left = 552, .top = 164, .width = 100, .height = 32,
     .caption = "软件主页"},
    {.name = "按钮12", .kind = Button, .left = 552, .top = 199, .width = 100, .height = 32,
     .caption = "检测更新"},
    {.name = "按钮13", .kind = Button, .left = 552, .top = 234, .width = 100, .height = 32,
     .caption = "使用帮助"},
    {.name = "复制", .kind = Button, .left = 552, .top = 269, .width = 100, .height = 32,
     .caption = "←复制内容"},
    {.name = "按钮6", .kind = Button, .left = 656, .top = 269, .width = 100, .height = 32,
     .caption = "打开根目录"},
    {.name = "按钮15", .kind = Button, .left = 552, .top = 304, .width = 100, .height = 32,
     .caption = "清空链接"},
    {.name = "按钮14", .kind = Button, .left = 552, .top = 341, .width = 100, .height = 32,
     .caption = "清空简介"},
    {.name = "生成图片库", .kind = Button, .left = 656, .top = 304, .width = 100, .height = 69,
     .caption = "生成图片库"},

    // Sub-gallery management and site fields.
    {.name = "组合框4", .kind = ComboBox, .left = 8, .top = 385, .width = 293, .height = 27,
     .caption = "选择要删除的子图库后点击 →", .font_pixels = kListFont, .text_colour = kBlue,
     .background_colour = kFieldGreen},
    {.name = "清除子图库", .kind = Button, .left = 305, .top = 382, .width = 120, .height = 32,
     .caption = "删除子图库"},
    {.name = "标签8", .kind = Label, .left = 434, .top = 382, .width = 110, .height = 32,
     .caption = "网站标题："},
    {.name = "网站标题", .kind = LineEdit, .left = 552, .top = 382, .width = 204, .height = 32,
     .text_colour = kBlue, .background_colour = kFieldGreen, .enabled = false},
    {.name = "浏览目录1", .kind = LineEdit, .left = 8, .top = 422, .width = 80, .height = 32,
     .caption = "默认封面", .text_colour = kRed, .background_colour = kFieldGreen,
     .read_only = true, .centred = true, .drop_target = true},
    {.name = "按钮7", .kind = Button, .left = 93, .top = 422, .width = 120, .height = 32,
     .caption = "选择图库封面"},
    {.name = "浏览目录3", .kind = LineEdit, .left = 220, .top = 422, .width = 80, .height = 32,
     .caption = "默认Logo", .text_colour = kRed, .background_colour = kFieldGreen,
     .read_only = true, .centred = true, .drop_target = true},
    {.name = "按钮20", .kind = Button, .left = 305, .top = 422, .width = 120, .height = 32,
     .caption = "选择站点Logo"},
    {.name = "标签9", .kind = Label, .left = 434, .top = 422, .width = 110, .height = 32,
     .caption = "标题链接："},
    {.name = "网站标题链接", .kind = MultiLineEdit, .left = 552, .top = 422, .width = 204,
     .height = 32, .caption = "#", .font_pixels = kSmallFont, .text_colour = kBlue,
     .background_colour = kFieldGreen},
    {.name = "网站简介", .kind = Label, .left = 8, .top = 462, .width = 76, .height = 32,
     .caption = "网站简介："},
    {.name = "网站介绍", .kind = MultiLineEdit, .left = 96, .top = 462, .width = 660, .height = 32,
     .font_pixels = kSmallFont, .text_colour = kBlue, .background_colour = kFieldGreen},

    // Options.
    {.name = "标签4", .kind = Label, .left = 8, .top = 499, .width = 136, .height = 32,
     .caption = "图片质量星星数："},
    {.name = "组合框2", .kind = ComboBox, .left = 143, .top = 499, .width = 129, .height = 27,
     .caption = "★★★★★\n★★★★\n★★★\n★★\n★", .font_pixels = kListFont, .text_colour = kOrange,
     .background_colour = kWhite},
    {.name = "标签5", .kind = Label, .left = 280, .top = 498, .width = 232, .height = 32,
     .caption = " ← 4、5 高清,3、2、1 普清"},
    {.name = "灯笼开关", .kind = CheckBox, .left = 522, .top = 499, .width = 102, .height = 32,
     .caption = "灯笼开关"},
    {.name = "保证图片比例", .kind = CheckBox, .left = 628, .top = 499, .width = 128, .height = 32,
     .caption = "保证图片比例"},
    {.name = "标签10", .kind = Label, .left = 8, .top = 540, .width = 128, .height = 32,
     .caption = "管理模式选择:→", .text_colour = kRed},
    {.name = "组合框3", .kind = ComboBox, .left = 149, .top = 545, .width = 107, .height = 32,
     .caption = "本地模式\n网络模式", .font_pixels = kListFont, .background_colour = kWhite},
    {.name = "标签11", .kind = Label, .left = 272, .top = 540, .width = 128, .height = 32,
     .caption = "填写网站地址:→", .text_colour = kRed},
    {.name = "网络地址", .kind = LineEdit, .left = 408, .top = 540, .width = 344, .height = 32,
     .text_colour = kBlue, .background_colour = kFieldGreen},
    {.name = "选择框1", .kind = CheckBox, .left = 8, .top = 579, .width = 240, .height = 32,
     .caption = "生成图片库后-打开根目录", .checked = true},
    {.name = "选择框3", .kind = CheckBox, .left = 264, .top = 579, .width = 488, .height = 32,
     .caption = "生成图片库后-直接浏览\"Web\"图库管理页面查看效果", .checked = true},
    {.name = "标签13", .kind = Label, .left = 8, .top = 610, .width = 176, .height = 32,
     .caption = "所有支持的图片格式:→"},
    // The formats that image collection accepts: shown, never changeable.
    {.name = "选择框5", .kind = CheckBox, .left = 190, .top = 610, .width = 64, .height = 32,
     .caption = "JPG", .enabled = false, .checked = true},
    {.name = "选择框6", .kind = CheckBox, .left = 270, .top = 610, .width = 64, .height = 32,
     .caption = "JPEG", .enabled = false, .checked = true},
    {.name = "选择框7", .kind = CheckBox, .left = 350, .top = 610, .width = 64, .height = 32,
     .caption = "PNG", .enabled = false, .checked = true},
    {.name = "选择框8", .kind = CheckBox, .left = 430, .top = 610, .width = 64, .height = 32,
     .caption = "BMP", .enabled = false, .checked = true},
    {.name = "选择框10", .kind = CheckBox, .left = 510, .top = 610, .width = 64, .height = 32,
     .caption = "GIF", .enabled = false, .checked = true},
    {.name = "选择框11", .kind = CheckBox, .left = 590, .top = 610, .width = 64, .height = 32,
     .caption = "WEBP", .enabled = false, .checked = true},
    {.name = "选择框9", .kind = CheckBox, .left = 688, .top = 610, .width = 64, .height = 32,
     .caption = "置顶"},
};

}  // namespace

std::span<const ControlSpec> window_layout() { return kControls; }

const ControlSpec* find_control(std::string_view name) {
    auto it = std::find_if(std::begin(kControls), std::end(kControls),
                           [name](const ControlSpec& spec) { return spec.name == name; });
    return it == std::end(kControls) ? nullptr : &*it;
}

}  // namespace galmora
