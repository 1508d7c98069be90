#pragma once
// The window's controls that the library reads and writes, by their names in
// the window definition.

#include <string_view>

namespace galmora::library_controls {

inline constexpr std::string_view kMainGalleryList = "组合框1";
inline constexpr std::string_view kNewGalleryButton = "新建主图库";
inline constexpr std::string_view kNewGalleryName = "新建主图库名称";
inline constexpr std::string_view kNewGalleryConfirm = "新建主图库按钮";
inline constexpr std::string_view kMainGalleryLabel = "标签3";
inline constexpr std::string_view kSiteTitle = "网站标题";
inline constexpr std::string_view kSiteTitleLink = "网站标题链接";
inline constexpr std::string_view kSiteIntroduction = "网站介绍";
inline constexpr std::string_view kSubGalleryList = "组合框4";
inline constexpr std::string_view kInformationPanel = "编辑框3";
inline constexpr std::string_view kCoverBox = "浏览目录1";
inline constexpr std::string_view kLogoBox = "浏览目录3";
inline constexpr std::string_view kOpenFolderAfter = "选择框1";
inline constexpr std::string_view kOpenPageAfter = "选择框3";
inline constexpr std::string_view kSubGalleryName = "图库名称";

}  // namespace galmora::library_controls
