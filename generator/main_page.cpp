#include "generator/main_page.h"

#include <unordered_map>

#include "generator/page_composer.h"

namespace galmora {

namespace {

Text compose_cards(const std::vector<Text>& folders, const std::vector<MainPageRecord>& records) {
    // One pass over the records instead of one per folder: a library may
    // hold thousands of records.
    std::unordered_map<std::string_view, std::vector<const MainPageRecord*>> by_name;
    for (const MainPageRecord& record : records) by_name[record.pname].push_back(&record);
    Text cards;
    for (const Text& folder : folders) {
        const auto named = by_name.find(folder);
        if (named == by_name.end()) continue;
        for (const MainPageRecord* record : named->second)
            cards += PageComposer::main_page_card(folder, record->pimg, record->pnum, record->phd,
                                                  record->pstar);
    }
    return cards;
}

}  // namespace

Text compose_main_page(const MainPageContent& content) {
    MainPageValues values;
    values.main_gallery_name = content.main_gallery_name;
    values.logo_file = content.weblogo;
    values.title_link = content.title_link;
    values.introduction = content.introduction;
    values.cards = compose_cards(content.sub_gallery_folders, content.records);
    values.lanterns = content.lanterns;
    return PageComposer::main_page(values);
}

}  // namespace galmora
