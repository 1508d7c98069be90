#include "generator/page_fragments.h"

#include <array>
#include <string_view>
#include <utility>

#include "core/codepage.h"
#include "generator/embedded_files.h"

namespace galmora {

namespace {

using enum Fragment;

// Each fragment and the embedded file (generator/fragments/<name>.txt) it is.
constexpr std::pair<Fragment, std::string_view> kFragmentFiles[] = {
    {PictureStart, "编辑框1"},
    {PictureSource, "编辑框4"},
    {PictureClick, "编辑框2"},
    {PictureEnd, "编辑框5"},
    {PageBlockStart, "编辑框9"},
    {TagEnd, "编辑框10"},
    {PageBlockEnd, "编辑框12"},
    {SubPageHead, "编辑框11"},
    {SubPageTitleEnd, "编辑框16"},
    {SubPageTotalEnd, "编辑框13"},
    {SubPageTail, "编辑框14"},
    {MainPageHead, "编辑框24"},
    {MainPageTitleEnd, "编辑框30"},
    {IconTypeEnd, "编辑框29"},
    {LogoEnd, "编辑框28"},
    {TitleLinkNameEnd, "编辑框17"},
    {IntroductionEnd, "编辑框32"},
    {CardsEnd, "编辑框23"},
    {PageEndWithLanterns, "编辑框26"},
    {PageEndWithoutLanterns, "编辑框25"},
    {CardLinkStart, "编辑框22"},
    {CardImageStart, "编辑框21"},
    {CardImageEnd, "编辑框19"},
    {CardNameEnd, "编辑框20"},
    {CardCountEnd, "编辑框31"},
    {CardQualityEnd, "编辑框33"},
    {CardEnd, "编辑框18"},
};

constexpr std::size_t kFragmentCount = std::size(kFragmentFiles);

}  // namespace

const Text& fragment(Fragment which) {
    // Converted from the embedded UTF-8 once.
    static const std::array<Text, kFragmentCount> texts = [] {
        std::array<Text, kFragmentCount> converted;
        for (const auto& [id, name] : kFragmentFiles) {
            const ByteView bytes = find_embedded(embedded_fragments(), name);
            converted[static_cast<std::size_t>(id)] = local_text(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
        return converted;
    }();
    return texts[static_cast<std::size_t>(which)];
}

}  // namespace galmora
