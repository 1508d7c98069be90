#pragma once
// A library root in a temporary folder with its config.ini, and raw access
// to the files below it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "library/gallery_config.h"
#include "tests/library/config_files.h"
#include "tests/support/temp_dir.h"

namespace galmora::testing {

class LibraryTest : public ::testing::Test {
  protected:
    // Paths below the root, given in UTF-8 as on disk.
    std::string disk(const std::string& relative) const { return root_.file(relative); }
    Text local(const std::string& relative) const { return root_.file_text(relative); }
    void make_folder(const std::string& relative) const {
        std::filesystem::create_directories(disk(relative));
    }
    void put_file(const std::string& relative, const std::string& bytes) const {
        root_.put(relative, bytes);
    }
    std::string file_bytes(const std::string& relative) const {
        std::ifstream in(disk(relative), std::ios::binary);
        if (!in) return "<missing>";
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The entry itself, a symbolic link included.
    bool entry_exists(const std::string& relative) const {
        struct stat info;
        return ::lstat(disk(relative).c_str(), &info) == 0;
    }
    std::string config_text() const { return file_bytes("config.ini"); }
    // A file in the img folder of 我的图片库.
    std::string img(const Text& name) const {
        return file_bytes("我的图片库/img/" + utf8_string(name));
    }
    void put_config(const std::string& bytes) const { put_file("config.ini", bytes); }
    // Sub-galleries of 我的图片库, each a folder with a page, recorded in
    // order with their covers; each cover named "<x>.jpg" is a file in img,
    // beside the shared "fm.jpg".
    void library_with(const std::vector<std::pair<std::string, std::string>>& records) const;
    // Number of cards in the main page of the given main gallery.
    int card_count(const std::string& main_gallery) const {
        const std::string page = file_bytes(main_gallery + "/index.html");
        int count = 0;
        for (auto at = page.find("<div class=\"item\">"); at != std::string::npos;
             at = page.find("<div class=\"item\">", at + 1))
            ++count;
        return count;
    }

    TempDir root_;
    GalleryConfig config_{root_.text() + "/config.ini"};
};

// Every text a deletion tells before its outcome, as the panel shows it.
inline const std::string kDeletionSteps = local_text(
    "即将删除被选择的子图库所有相关数据...\r\n\r\n清除被选择子图库的相关记录...\r\n\r\n"
    "删除被选择子图库的封面与目录...\r\n\r\n刷新子图库列表...\r\n\r\n更新数据...\r\n\r\n");

// Entries of a main gallery that are never a sub-gallery to delete.
inline const std::vector<Text> kNotSubGalleries = {
    "..", ".", "img", "js", "stylecss", "../" + local_text("我的图片库"), Text()};

// A record section as config.ini holds it.
inline std::string record_text(int slot, const std::string& pname, const std::string& pimg) {
    return "[P" + std::to_string(slot) + "]\r\npname=" + pname + "\r\npimg=" + pimg +
           "\r\npnum=5\r\nphd=" + local_text("普清") + "\r\npstar=" + local_text("★★") + "\r\n";
}

inline void LibraryTest::library_with(
    const std::vector<std::pair<std::string, std::string>>& records) const {
    std::string config = "[NAME]\r\nname=0\r\n[images]\r\nnum=" + std::to_string(records.size()) +
                         "\r\n[Logo]\r\nweblogo=logo.png\r\n";
    make_folder("我的图片库/img");
    put_file("我的图片库/img/fm.jpg", "default cover");
    int slot = 1;
    for (const auto& [name, cover] : records) {
        make_folder("我的图片库/" + name + "/bg");
        put_file("我的图片库/" + name + "/index.html", "page");
        if (cover != "fm.jpg" && cover.ends_with(".jpg") && cover.find('/') == std::string::npos)
            put_file("我的图片库/img/" + cover, "cover");
        config += record_text(slot++, local_text(name), cover);
    }
    put_config(config + "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n");
}

inline std::vector<Text> local_texts(std::initializer_list<const char*> utf8) {
    std::vector<Text> result;
    for (const char* item : utf8) result.push_back(local_text(item));
    return result;
}

}  // namespace galmora::testing
