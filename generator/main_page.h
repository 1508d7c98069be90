#pragma once
// The main page of a main gallery, composed from plain values: the one place
// that decides which cards appear and in which order.

#include <vector>

#include "core/text.h"

namespace galmora {

// One sub-gallery record of config.ini, as the main page shows it.
struct MainPageRecord {
    Text pname, pimg, pnum, phd, pstar;
};

struct MainPageContent {
    Text main_gallery_name;
    std::vector<Text> sub_gallery_folders;  // in listing order
    std::vector<MainPageRecord> records;    // by record number
    Text weblogo;
    Text title_link;
    Text introduction;
    bool lanterns = false;
};

// Cards grouped by folder in the order the folders are given; within a
// folder one card per record of that name, by record number. A folder
// without a record and a record without a folder show no card.
Text compose_main_page(const MainPageContent& content);

}  // namespace galmora
