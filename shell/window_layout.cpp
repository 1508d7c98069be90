#include "shell/window_layout.h"

#include <algorithm>

#include "core/text.h"

namespace galmora {

namespace {

using enum ControlKind;
using enum ControlId;

constexpr int kFieldGreen = rgb(243, 255, 240);
constexpr int kWhite = rgb(255, 255, 255);
constexpr int kBlue = rgb(0, 96, 192);
constexpr int kNavy = rgb(0, 0, 128);
constexpr int kPurple = rgb(128, 0, 128);
constexpr int kOrange = rgb(255, 128, 0);
constexpr int kRed = rgb(255, 0, 0);

constexpr int kListFont = 19;
constexpr int kSmallFont = 13;

// A control definition with the settings it differs in from the defaults.
struct Def : ControlDefinition {
    constexpr Def font(int pixels) const { return with(&Def::font_pixels, pixels); }
    constexpr Def ink(int colour) const { return with(&Def::text_colour, colour); }
    constexpr Def fill(int colour) const { return with(&Def::background_colour, colour); }
    constexpr Def limit(int bytes) const { return with(&Def::max_length, bytes); }
    constexpr Def readonly() const { return with(&Def::read_only, true); }
    constexpr Def integer() const { return with(&Def::integer_input, true); }
    constexpr Def centre() const { return with(&Def::centred, true); }
    constexpr Def hidden() const { return with(&Def::visible, false); }
    constexpr Def disabled() const { return with(&Def::enabled, false); }
    constexpr Def ticked() const { return with(&Def::checked, true); }
    constexpr Def drops() const { return with(&Def::drop_target, true); }
    constexpr Def tip(std::string_view text) const { return with(&Def::tooltip, text); }

    template <typename T>
    constexpr Def with(T ControlDefinition::*field, T value) const {
        Def copy = *this;
        copy.*field = value;
        return copy;
    }
};

constexpr Def def(ControlId id, std::string_view name, ControlKind kind, int left, int top,
                  int width, int height, std::string_view caption = {}) {
    Def d{};
    d.id = id;
    d.name = name;
    d.kind = kind;
    d.left = left;
    d.top = top;
    d.width = width;
    d.height = height;
    d.caption = caption;
    return d;
}

// In creation order, which is also the keyboard tab order.
constexpr ControlDefinition kControls[] = {
    // Main gallery row. 标签3 shares its place with the new-gallery name box
    // and its OK button; only one of the two is shown at a time.
    def(NewMainGalleryButton, "新建主图库", Button, 8, 9, 100, 32, "新建主图库"),
    def(MainGalleryLabel, "标签3", Label, 120, 9, 328, 32,
        "选择主图库||新的子图库将生成到此目录: →"),
    def(NewMainGalleryName, "新建主图库名称", LineEdit, 116, 9, 272, 32).fill(kFieldGreen).hidden(),
    def(NewMainGalleryConfirm, "新建主图库按钮", Button, 392, 9, 56, 32, "确定").hidden(),
    def(MainGalleryList, "组合框1", ComboBox, 456, 9, 300, 27, "我的图片库")
        .font(kListFont)
        .ink(kOrange)
        .fill(kFieldGreen),

    // Sub-gallery name row.
    def(SubGalleryNameLabel, "标签14", Label, 8, 48, 440, 32,
        "默认名称为:\"图库\"+\"随机数\" || 为新的子图库添写名称: →"),
    def(SubGalleryName, "图库名称", LineEdit, 456, 48, 300, 27)
        .ink(kBlue)
        .fill(kFieldGreen)
        .limit(14),

    // Picture source and counts.
    def(PictureFolder, "浏览目录", LineEdit, 8, 85, 480, 32).fill(kFieldGreen).drops(),
    def(ChoosePictureFolder, "按钮8", Button, 496, 85, 260, 32, "← * 选择或拖拽图片目录到此 *"),
    def(PictureTotalLabel, "标签2", Label, 9, 123, 183, 32, "图片总量记录1-98901:→"),
    def(PictureTotal, "文件总数", LineEdit, 195, 123, 61, 32)
        .ink(kPurple)
        .fill(kFieldGreen)
        .limit(5)
        .readonly()
        .centre()
        .disabled(),
    def(PerPageLabel, "标签1", Label, 256, 123, 208, 32, " * 单页显示数量1-999 *:→"),
    def(PerPage, "单页数量", LineEdit, 464, 123, 48, 32)
        .ink(kNavy)
        .fill(kFieldGreen)
        .limit(3)
        .integer()
        .centre(),
    def(PageCountLabel, "标签6", Label, 520, 123, 144, 32, " * 共分1-99 * :→"),
    def(PageCount, "页总数", LineEdit, 672, 123, 40, 32)
        .ink(kNavy)
        .fill(kFieldGreen)
        .limit(2)
        .centre(),
    def(PageUnitLabel, "标签12", Label, 720, 123, 24, 32, "页"),

    // Information panel and command buttons.
    def(InformationPanel, "编辑框3", MultiLineEdit, 8, 165, 536, 208)
        .ink(kPurple)
        .fill(kFieldGreen)
        .readonly(),
    def(HomePageButton, "按钮10", Button, 552, 164, 100, 32, "软件主页"),
    def(CheckUpdateButton, "按钮12", Button, 552, 199, 100, 32, "检测更新"),
    def(HelpButton, "按钮13", Button, 552, 234, 100, 32, "使用帮助"),
    def(CopyButton, "复制", Button, 552, 269, 100, 32, "←复制内容"),
    def(OpenRootButton, "按钮6", Button, 656, 269, 100, 32, "打开根目录"),
    def(ClearTitleLinkButton, "按钮15", Button, 552, 304, 100, 32, "清空链接"),
    def(ClearIntroductionButton, "按钮14", Button, 552, 341, 100, 32, "清空简介"),
    def(GenerateButton, "生成图片库", Button, 656, 304, 100, 69, "生成图片库"),

    // Sub-gallery management and site fields.
    def(SubGalleryList, "组合框4", ComboBox, 8, 385, 293, 27, "选择要删除的子图库后点击 →")
        .font(kListFont)
        .ink(kBlue)
        .fill(kFieldGreen),
    def(DeleteSubGalleryButton, "清除子图库", Button, 305, 382, 120, 32, "删除子图库"),
    def(SiteTitleLabel, "标签8", Label, 434, 382, 110, 32, "网站标题："),
    def(SiteTitle, "网站标题", LineEdit, 552, 382, 204, 32).ink(kBlue).fill(kFieldGreen).disabled(),
    def(CoverBox, "浏览目录1", LineEdit, 8, 422, 80, 32, "默认封面")
        .ink(kRed)
        .fill(kFieldGreen)
        .readonly()
        .centre()
        .drops(),
    def(ChooseCoverButton, "按钮7", Button, 93, 422, 120, 32, "选择图库封面"),
    def(LogoBox, "浏览目录3", LineEdit, 220, 422, 80, 32, "默认Logo")
        .ink(kRed)
        .fill(kFieldGreen)
        .readonly()
        .centre()
        .drops(),
    def(ChooseLogoButton, "按钮20", Button, 305, 422, 120, 32, "选择站点Logo"),
    def(SiteTitleLinkLabel, "标签9", Label, 434, 422, 110, 32, "标题链接："),
    def(SiteTitleLink, "网站标题链接", MultiLineEdit, 552, 422, 204, 32, "#")
        .font(kSmallFont)
        .ink(kBlue)
        .fill(kFieldGreen),
    def(SiteIntroductionLabel, "网站简介", Label, 8, 462, 76, 32, "网站简介："),
    def(SiteIntroduction, "网站介绍", MultiLineEdit, 96, 462, 660, 32)
        .font(kSmallFont)
        .ink(kBlue)
        .fill(kFieldGreen),

    // Options.
    def(RatingLabel, "标签4", Label, 8, 499, 136, 32, "图片质量星星数："),
    def(RatingList, "组合框2", ComboBox, 143, 499, 129, 27, "★★★★★\n★★★★\n★★★\n★★\n★")
        .font(kListFont)
        .ink(kOrange)
        .fill(kWhite),
    def(RatingHintLabel, "标签5", Label, 280, 498, 232, 32, " ← 4、5 高清,3、2、1 普清"),
    def(LanternSwitch, "灯笼开关", CheckBox, 522, 499, 102, 32, "灯笼开关"),
    def(KeepProportions, "保证图片比例", CheckBox, 628, 499, 128, 32, "保证图片比例"),
    def(ModeLabel, "标签10", Label, 8, 540, 128, 32, "管理模式选择:→").ink(kRed),
    def(ModeList, "组合框3", ComboBox, 149, 545, 107, 32, "本地模式\n网络模式")
        .font(kListFont)
        .fill(kWhite),
    def(SiteAddressLabel, "标签11", Label, 272, 540, 128, 32, "填写网站地址:→").ink(kRed),
    def(SiteAddress, "网络地址", LineEdit, 408, 540, 344, 32).ink(kBlue).fill(kFieldGreen),
    def(OpenFolderAfter, "选择框1", CheckBox, 8, 579, 240, 32, "生成图片库后-打开根目录").ticked(),
    def(OpenPageAfter, "选择框3", CheckBox, 264, 579, 400, 32,
        "生成图片库后-直接浏览\"Web\"图库管理页面查看效果")
        .ticked(),
    // An option beyond the original form: unticked until the user ticks it.
    def(Thumbnails, "选择框12", CheckBox, 672, 579, 84, 32, "缩略图")
        .tip("生成图片库时为较大的图片制作缩略图和全屏查看用的显示副本（长边 1280、1600、"
             "2048 像素），保存在主图库的 img/thumbs 目录中。网页的图片列表只加载缩略图，"
             "全屏查看时按屏幕大小加载合适的副本，打开更快、更省流量；查看器里的“原图”链接"
             "打开原图。勾选后，手机拍的 HEIC、HEIF 和 AVIF 照片也计入图片，并转换成所有"
             "浏览器都能显示的图片。缩略图和副本不含拍摄地点等信息。第一次制作需要一些时间"
             "（每张照片约几十毫秒），再次生成同一文件夹时会沿用已有的文件。"),
    def(FormatsLabel, "标签13", Label, 8, 610, 176, 32, "所有支持的图片格式:→"),
    // The formats that image collection accepts: shown, never changeable.
    def(JpgFormat, "选择框5", CheckBox, 190, 610, 64, 32, "JPG").disabled().ticked(),
    def(JpegFormat, "选择框6", CheckBox, 270, 610, 64, 32, "JPEG").disabled().ticked(),
    def(PngFormat, "选择框7", CheckBox, 350, 610, 64, 32, "PNG").disabled().ticked(),
    def(BmpFormat, "选择框8", CheckBox, 430, 610, 64, 32, "BMP").disabled().ticked(),
    def(GifFormat, "选择框10", CheckBox, 510, 610, 64, 32, "GIF").disabled().ticked(),
    def(WebpFormat, "选择框11", CheckBox, 590, 610, 64, 32, "WEBP").disabled().ticked(),
    def(AlwaysOnTop, "选择框9", CheckBox, 688, 610, 64, 32, "置顶"),
};

}  // namespace

std::span<const ControlDefinition> window_layout() {
    return kControls;
}

const ControlDefinition* find_control(ControlId id) {
    auto it =
        std::find_if(std::begin(kControls), std::end(kControls),
                     [id](const ControlDefinition& definition) { return definition.id == id; });
    return it == std::end(kControls) ? nullptr : &*it;
}

}  // namespace galmora
