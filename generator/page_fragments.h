#pragma once
// The fixed pieces of markup the pages are composed from, named by the place
// they take in a page.

#include "core/text.h"

namespace galmora {

enum class Fragment {
    // One picture of a sub-gallery page.
    PictureStart,
    PictureSource,
    PictureClick,
    PictureEnd,
    // One page block of pictures.
    PageBlockStart,
    TagEnd,  // also closes the title link of the main page
    PageBlockEnd,
    // The sub-gallery page around its blocks.
    SubPageHead,
    SubPageTitleEnd,
    SubPageTotalEnd,
    SubPageTail,
    // The main page around its cards.
    MainPageHead,
    MainPageTitleEnd,
    IconTypeEnd,
    LogoEnd,
    TitleLinkNameEnd,
    IntroductionEnd,
    CardsEnd,
    PageEndWithLanterns,
    PageEndWithoutLanterns,
    // One card of the main page.
    CardLinkStart,
    CardImageStart,
    CardImageEnd,
    CardNameEnd,
    CardCountEnd,
    CardQualityEnd,
    CardEnd,
};

// The fragment as a local-code-page text.
const Text& fragment(Fragment which);

}  // namespace galmora
