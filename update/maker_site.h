#pragma once
// The address of the maker's web server: its root "/" is the home page that
// 软件主页 opens and that the start-up and help texts name, and the version
// page lies below it. This is the one place to change when the server moves.

#include <string_view>

namespace galmora {

inline constexpr std::string_view kMakerSite = "http://galmora.example.com/";
// Relative to kMakerSite.
inline constexpr std::string_view kVersionPagePath = "ver/pixvanever.html";

}  // namespace galmora
