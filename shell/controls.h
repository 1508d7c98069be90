#pragma once
// How operations reach the main window: every control is addressed by its
// ControlId; every text passed in or out is a local-code-page Text.
//
// Rule shared by every implementation: setting the text of a single-line
// edit box raises its content-changed event before set_text returns, exactly
// as typing does (also when the text does not change).

#include <functional>

#include "core/text.h"

namespace galmora {

// Every control of the main window, by what it is; the window's table gives
// each its place, kind and caption.
enum class ControlId {
    NewMainGalleryButton,
    MainGalleryLabel,
    NewMainGalleryName,
    NewMainGalleryConfirm,
    MainGalleryList,
    SubGalleryNameLabel,
    SubGalleryName,
    PictureFolder,
    ChoosePictureFolder,
    PictureTotalLabel,
    PictureTotal,
    PerPageLabel,
    PerPage,
    PageCountLabel,
    PageCount,
    PageUnitLabel,
    InformationPanel,
    HomePageButton,
    CheckUpdateButton,
    HelpButton,
    CopyButton,
    OpenRootButton,
    ClearTitleLinkButton,
    ClearIntroductionButton,
    GenerateButton,
    SubGalleryList,
    DeleteSubGalleryButton,
    SiteTitleLabel,
    SiteTitle,
    CoverBox,
    ChooseCoverButton,
    LogoBox,
    ChooseLogoButton,
    SiteTitleLinkLabel,
    SiteTitleLink,
    SiteIntroductionLabel,
    SiteIntroduction,
    RatingLabel,
    RatingList,
    RatingHintLabel,
    LanternSwitch,
    KeepProportions,
    ModeLabel,
    ModeList,
    SiteAddressLabel,
    SiteAddress,
    OpenFolderAfter,
    OpenPageAfter,
    Thumbnails,
    FormatsLabel,
    JpgFormat,
    JpegFormat,
    PngFormat,
    BmpFormat,
    GifFormat,
    WebpFormat,
    AlwaysOnTop,
};

enum class ControlEvent { Clicked, ContentChanged, ItemSelected, FilesDropped };

class Controls {
  public:
    using Handler = std::function<void(const Text& argument)>;
    virtual ~Controls() = default;

    // Edit boxes, labels, buttons, check boxes.
    virtual Text text(ControlId control) const = 0;
    virtual void set_text(ControlId control, const Text& text) = 0;
    // set_text of a text the caller is done with, such as a generated page
    // of many megabytes: a window may keep its memory instead of a copy.
    virtual void move_text_into(ControlId control, Text text) { set_text(control, text); }

    virtual bool checked(ControlId control) const = 0;
    virtual void set_checked(ControlId control, bool checked) = 0;

    // Drop-down lists. set_selected_index clamps to [-1, count - 1];
    // item_text out of range is the empty text.
    virtual int selected_index(ControlId control) const = 0;
    virtual void set_selected_index(ControlId control, int index) = 0;
    virtual Text item_text(ControlId control, int index) const = 0;
    virtual void append_item(ControlId control, const Text& text) = 0;
    virtual void clear_items(ControlId control) = 0;
    virtual int item_count(ControlId control) const = 0;

    virtual bool visible(ControlId control) const = 0;
    virtual void set_visible(ControlId control, bool visible) = 0;
    virtual bool enabled(ControlId control) const = 0;
    virtual void set_enabled(ControlId control, bool enabled) = 0;

    // Colours are rgb() values.
    virtual int text_colour(ControlId control) const = 0;
    virtual void set_text_colour(ControlId control, int colour) = 0;
    virtual int background_colour(ControlId control) const = 0;
    virtual void set_background_colour(ControlId control, int colour) = 0;

    virtual void focus(ControlId control) = 0;
    virtual void select_all(ControlId control) = 0;

    virtual Text title() const = 0;
    virtual void set_title(const Text& title) = 0;
    virtual bool always_on_top() const = 0;
    virtual void set_always_on_top(bool on) = 0;
    // A busy cursor while a long operation blocks the window.
    virtual void set_busy(bool busy) = 0;

    // Runs handler for every later event of that control; the argument is
    // the dropped text for FilesDropped and empty otherwise.
    virtual void on(ControlId control, ControlEvent event, Handler handler) = 0;
};

// Text of the selected item of a drop-down list.
inline Text selected_text(const Controls& controls, ControlId list) {
    return controls.item_text(list, controls.selected_index(list));
}

}  // namespace galmora
