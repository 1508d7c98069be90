#pragma once
// The fixed texts the window shows in its information panel and the default
// site introduction.

#include "core/text.h"

namespace galmora {

Text default_introduction();
// main_gallery: the selected main gallery's name; suffix: the nine digits of
// the next sub-gallery name.
Text startup_information(const Text& main_gallery, const Text& suffix, const Text& maker_site);
Text help_text(const Text& maker_site);

}  // namespace galmora
