// Writes real generated sites for the browser tests: pictures (small JPEGs),
// sub-gallery pages and main pages, paged, composed and written by the
// generator's own functions exactly as a generation and a main page rebuild
// use them.
//
//   site_writer <output folder>                     the library the tests use
//   site_writer <output folder> --camera-photos     and 200 photos of a
//                                                   camera's size, with
//                                                   thumbnails and display
//                                                   copies (the benchmark's)
//   site_writer <output folder> <folder of .jpg>    a library to look at
//
// The output folder receives library/ (and pictures/ for the tests) and
// site.json, which names every written page.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "generator/main_page.h"
#include "generator/page_blocks.h"
#include "generator/page_composer.h"
#include "generator/picture_list.h"
#include "generator/sub_gallery_builder.h"
#include "generator/thumbnail_names.h"
#include "tests/browser/test_jpeg.h"
#include "tests/support/hostile_tree.h"

namespace galmora::testing {
namespace {

namespace fs = std::filesystem;

// What the page of a sub-gallery names as a picture's thumbnail, and whether
// that thumbnail lies in the main gallery's thumbnail folder; Copies: made,
// with display copies beside it; StandsIn: the same for an original browsers
// cannot show, which the page names only in data-original.
enum class Thumb { None, Made, Missing, Copies, StandsIn };

// The long sides of a picture's display copies, and of its thumbnail.
constexpr int kCopyLongSides[] = {1280, 1600, 2048};
constexpr int kThumbLongSide = 504;

struct SubGallery {
    std::string name;  // UTF-8
    std::vector<fs::path> pictures;
    int per_page = 2;
    bool keep_proportions = true;
    std::string cover = "fm.jpg";        // in the main gallery's img folder
    std::vector<Thumb> thumbnails = {};  // by picture; empty: a page without thumbnails
};

struct MainGallery {
    std::string name;
    bool lanterns = true;
    std::vector<SubGallery> sub_galleries;
};

Text local(const std::string& utf8) {
    return local_text(utf8);
}

// A dusk landscape: sky from one colour to another, a sun and two ridges.
Rgb landscape(double x, double y, int width, int height, int seed) {
    const double hue = seed * 0.9;
    const double t = y / height;
    Rgb sky{40 + 150 * t + 40 * std::sin(hue), 50 + 60 * t + 30 * std::cos(hue), 120 - 40 * t};
    const double sun_x = width * (0.3 + 0.1 * (seed % 4)), sun_y = height * 0.35;
    if (std::hypot(x - sun_x, y - sun_y) < std::min(width, height) * 0.12) sky = {255, 214, 150};
    const double far = height * (0.62 + 0.06 * std::sin(x / width * 6 + seed));
    const double near = height * (0.78 + 0.05 * std::sin(x / width * 9 + seed * 2));
    if (y > near) return {30, 22, 50};
    if (y > far) return {80.0 + 10 * (seed % 4), 50, 100};
    return sky;
}

Bytes picture(int width, int height, int seed) {
    return make_test_jpeg(width, height,
                          [=](double x, double y) { return landscape(x, y, width, height, seed); });
}

// A camera-like photo, of about 110 KB at its usual 1584 x 1056: a
// landscape with grain in every 8 x 8 block, so that the file is as heavy as
// a real one of its size.
Bytes photo(int seed, int width = 1584, int height = 1056) {
    return make_test_jpeg(width, height, [=](double x, double y) {
        Rgb c = landscape(x, y, width, height, seed);
        const unsigned hash =
            static_cast<unsigned>(x * 7919 + y * 104729) + static_cast<unsigned>(seed) * 15485863u;
        const double grain = static_cast<double>((hash * 2654435761u) >> 24) / 255.0 * 64 - 32;
        return Rgb{c.r + grain, c.g + grain * 0.8, c.b + grain * 0.6};
    });
}

// A photo as site_writer makes it: its landscape and its size.
struct Photo {
    int seed = 0;
    PictureSize size = {1584, 1056};
};

PictureSize scaled(PictureSize size, int long_side) {
    const double scale = static_cast<double>(long_side) / std::max(size.width, size.height);
    return {static_cast<int>(std::lround(size.width * scale)),
            static_cast<int>(std::lround(size.height * scale))};
}

bool write_bytes(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The pictures a user might have: wide and tall ones, one in a subfolder, and
// a folder of names that break unencoded addresses.
struct PictureSet {
    std::vector<fs::path> scenic;
    std::vector<fs::path> hostile;
    fs::path night;
    std::vector<fs::path> photos;  // 200 of about 110 KB
    std::vector<fs::path> shared_hostile;
    fs::path unthumbnailed;  // a photo whose thumbnail has gone missing
    fs::path deleted;        // named by a page, never written
    // 2560 x 1920 and 1920 x 2560 photos, and one HEIC file that is none
    std::vector<fs::path> large;
    std::vector<fs::path> camera;        // 4000 x 3000, on request
    std::map<fs::path, Photo> photo_of;  // the landscape and size of each photo
};

// A file that stands for a HEIC original: its type box, then nothing a
// browser could show.
Bytes fake_heic() {
    Bytes bytes = {0, 0, 0, 24, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c',
                   0, 0, 0, 0,  'm', 'i', 'f', '1', 'h', 'e', 'i', 'c'};
    bytes.insert(bytes.end(), 4096, 0x5A);
    return bytes;
}

void make_large_pictures(const fs::path& folder, PictureSet& set) {
    const struct {
        const char* name;
        PictureSize size;
    } large[] = {{"湖畔.jpg", {2560, 1920}},   {"塔楼.jpg", {1920, 2560}},
                 {"无副本.jpg", {2560, 1920}}, {"IMG_0004.heic", {2560, 1920}},
                 {"山谷.jpg", {2560, 1920}},   {"灯塔.jpg", {1920, 2560}}};
    int seed = 401;
    for (const auto& p : large) {
        const fs::path path = folder / "large" / p.name;
        set.large.push_back(path);
        set.photo_of[path] = {seed, p.size};
        write_bytes(path, path.extension() == ".heic" ? fake_heic()
                                                      : photo(seed, p.size.width, p.size.height));
        ++seed;
    }
}

void make_camera_photos(const fs::path& folder, PictureSet& set) {
    for (int i = 1; i <= 200; ++i) {
        const fs::path path = folder / "camera" / ("DSC_" + std::to_string(5000 + i) + ".jpg");
        set.camera.push_back(path);
        set.photo_of[path] = {500 + i, {4000, 3000}};
        write_bytes(path, photo(500 + i, 4000, 3000));
    }
}

PictureSet make_pictures(const fs::path& folder, bool camera_photos) {
    PictureSet set;
    const struct {
        const char* name;
        int width, height;
    } scenic[] = {{"湖光.jpg", 320, 200},
                  {"山色.jpg", 200, 320},
                  {"晨曦.jpg", 320, 240},
                  {"sub/夜空.jpg", 320, 200},
                  {"sub/落日.jpg", 240, 320}};
    int seed = 1;
    for (const auto& p : scenic) {
        set.scenic.push_back(folder / p.name);
        write_bytes(set.scenic.back(), picture(p.width, p.height, seed++));
    }
    const fs::path odd = folder / "奇怪 #?% 文件夹";
    for (const char* name : {"癨 \"引号\" #1 ?q %41 \\x.jpg", "😀 表情.jpg", "a b&c.jpg"}) {
        set.hostile.push_back(odd / name);
        write_bytes(set.hostile.back(), picture(240, 160, seed++));
    }
    set.night = folder / "night.jpg";
    write_bytes(set.night, picture(320, 200, seed++));
    for (int i = 1; i <= 200; ++i) {
        set.photos.push_back(folder / "photos" / ("IMG_" + std::to_string(1000 + i) + ".jpg"));
        write_bytes(set.photos.back(), photo(i));
        set.photo_of[set.photos.back()] = {i};
    }
    set.unthumbnailed = folder / "thumbs" / "缺缩略图.jpg";
    write_bytes(set.unthumbnailed, photo(201));
    set.deleted = folder / "thumbs" / "已删除.jpg";
    // The shared tree of hostile names (some of its "pictures" are text, so
    // they fail to load), and one original that has been deleted since.
    const fs::path hostile = folder / "hostile";
    make_hostile_tree(hostile.string());
    for (const std::string& name : hostile_pictures()) set.shared_hostile.push_back(hostile / name);
    set.shared_hostile.push_back(hostile / "已删除.jpg");
    make_large_pictures(folder, set);
    if (camera_photos) make_camera_photos(folder, set);
    return set;
}

std::vector<fs::path> pictures_in(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".jpg") found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

FileStamp stamp_of(const fs::path& picture) {
    return file_stamp(local(picture.string())).value_or(FileStamp{});
}

// Writes the photo at size into path unless an earlier page made it.
void write_scaled(const fs::path& path, const Photo& source, PictureSize size) {
    if (!fs::exists(path)) write_bytes(path, photo(source.seed, size.width, size.height));
}

// The thumbnail a page names for original, named as a generation names it;
// a made one is written into folder (the main gallery's thumbnail folder) as
// the original's photo at the thumbnail's size, as heavy for its size, and
// so are its display copies. A missing one is keyed under settings nothing
// was made with, so it never names a made file.
PictureThumbnail thumbnail_for(const fs::path& original, Thumb plan, const fs::path& folder,
                               const Photo& photo) {
    if (plan == Thumb::None) return {};
    const Text key = thumbnail_key(local(original.string()), stamp_of(original), 0,
                                   plan == Thumb::Missing ? "504, never made" : "504");
    const PictureSize size = scaled(photo.size, kThumbLongSide);
    PictureThumbnail thumbnail{thumbnail_file_name(key, size.width, size.height, "jpg"),
                               size.width};
    if (plan == Thumb::Missing) return thumbnail;
    write_scaled(folder / thumbnail.file_name, photo, size);
    if (plan == Thumb::Made) return thumbnail;
    for (int long_side : kCopyLongSides) {
        const PictureSize copy = scaled(photo.size, long_side);
        write_scaled(folder / copy_file_name(thumbnail.file_name, copy), photo, copy);
        thumbnail.copies.push_back(copy);
    }
    thumbnail.stands_for_original = plan == Thumb::StandsIn;
    return thumbnail;
}

// The blocks a scan of exactly these pictures leaves behind, in page blocks
// of per_page: each picture by its encoded local path and, in a sub-gallery
// with thumbnails, its thumbnail, made in main's thumbnail folder.
PageBlocks scanned(const SubGallery& sub, const fs::path& main, const PictureSet& set) {
    PictureList list;
    std::vector<PictureThumbnail> thumbnails;
    fs::path folder;
    std::uint32_t folder_index = 0;
    for (std::size_t i = 0; i < sub.pictures.size(); ++i) {
        const fs::path& picture = sub.pictures[i];
        if (i == 0 || picture.parent_path() != folder) {
            folder = picture.parent_path();
            const Text path = local(folder.string() + "/");
            folder_index = list.add_folder(path, PageComposer::encode_source(path));
        }
        list.add_picture(folder_index, local(picture.filename().string()));
        if (i < sub.thumbnails.size()) {
            const auto photo = set.photo_of.find(picture);
            thumbnails.push_back(
                thumbnail_for(picture, sub.thumbnails[i], main / std::string(kThumbnailFolder),
                              photo == set.photo_of.end() ? Photo{} : photo->second));
        }
    }
    return page_blocks(list, sub.per_page, sub.thumbnails.empty() ? nullptr : &thumbnails);
}

// The record a generation of sub would leave in config.ini.
MainPageRecord record_of(const SubGallery& sub) {
    const bool high = sub.pictures.size() > 3;
    return {local(sub.name), local(sub.cover), to_text(static_cast<int>(sub.pictures.size())),
            high ? local("高清") : local("普清"), high ? local("★★★★★") : local("★★★")};
}

std::string json_string(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The sub-galleries are given to the main page in the order they are
// declared, as if the folder listing gave them so.
void write_main_gallery(const fs::path& library, const MainGallery& gallery, const PictureSet& set,
                        std::string& json) {
    const fs::path main = library / gallery.name;
    const Text main_text = local(main.string());
    MainPageContent content;
    content.main_gallery_name = local(gallery.name);
    content.weblogo = "logo.png";
    content.title_link = "#";
    content.introduction = local("夜色与灯火：旅途中拍下的风景，按专题整理。");
    content.lanterns = gallery.lanterns;
    for (const SubGallery& sub : gallery.sub_galleries) {
        write_sub_gallery(
            main_text, local(sub.name), sub.keep_proportions,
            compose_sub_gallery_page(local(sub.name), scanned(sub, main, set), sub.per_page));
        std::error_code ignored;
        if (sub.cover != "fm.jpg")
            fs::copy_file(sub.pictures.front(), main / "img" / sub.cover, ignored);
        json += "  " + json_string(gallery.name + "/" + sub.name) + ": " +
                json_string((main / sub.name / "index.html").string()) + ",\n";
        content.sub_gallery_folders.push_back(local(sub.name));
        content.records.push_back(record_of(sub));
    }
    PageComposer::write_page(main_text + "/index.html", compose_main_page(content));
    json += "  " + json_string(gallery.name) + ": " + json_string((main / "index.html").string()) +
            ",\n";
}

std::vector<fs::path> slice(const std::vector<fs::path>& all, std::size_t from, std::size_t count) {
    std::vector<fs::path> part;
    for (std::size_t i = from; i < all.size() && part.size() < count; ++i) part.push_back(all[i]);
    return part;
}

// A main gallery named as markup, from the hostile tree: sub-galleries of
// the pictures whose names hold "&", a tab or a line feed, and of those in
// folders named as markup, under names that are markup or look like
// character references.
void write_hostile_library(const fs::path& tree, const fs::path& library, const PictureSet& set,
                           std::string& json) {
    std::vector<fs::path> references, markup;
    for (const std::string& relative : hostile_pictures()) {
        if (relative.find_first_of("&\t\n") != std::string::npos)
            references.push_back(tree / relative);
        else if (relative.find('<') != std::string::npos)
            markup.push_back(tree / relative);
    }
    const MainGallery named{kHostileMainGallery,
                            false,
                            {{kHostileSubGallery, references, 9, true, "fm.jpg"},
                             {"x&copy", references, 9, true, "fm.jpg"},
                             {"<img src=x onerror=alert(1)>", markup, 9, true, "fm.jpg"},
                             {"a<b", markup, 9, true, "fm.jpg"}}};
    write_main_gallery(library, named, set, json);
}

// Sub-galleries of a generation with thumbnails: the 200 photos, each with
// its thumbnail; in both style sheet variants, a few pictures of which one
// is too small for a thumbnail, one has lost its thumbnail and one has lost
// both; and the shared hostile tree, every picture with a thumbnail, in a
// main gallery whose name breaks any address or url() left unescaped.
void write_thumbnail_library(const PictureSet& set, const fs::path& library, std::string& json) {
    using enum Thumb;
    const std::vector<fs::path> mixed{set.photos[0], set.photos[1], set.unthumbnailed,
                                      set.deleted,   set.scenic[0], set.photos[2]};
    const std::vector<Thumb> plan{Made, Made, Missing, Missing, None, Made};
    const MainGallery photos{
        "图库五",
        false,
        {{"照片", set.photos, 200, true, "fm.jpg", std::vector<Thumb>(set.photos.size(), Made)},
         {"缩略图", mixed, 3, true, "fm.jpg", plan},
         {"缩略图拉伸", mixed, 3, false, "fm.jpg", plan}}};
    const MainGallery hostile{"缩略图 \"引号\" '单' (括号) #?% \\ 库",
                              false,
                              {{"怪名 #?%", set.shared_hostile, 8, true, "fm.jpg",
                                std::vector<Thumb>(set.shared_hostile.size(), Made)}}};
    write_main_gallery(library, photos, set, json);
    write_main_gallery(library, hostile, set, json);
}

// Pages with display copies, in both style sheet variants: wide and tall
// photos with copies, one photo with its thumbnail alone, and a HEIC
// original with its JPEG renditions.
void write_copies_library(const PictureSet& set, const fs::path& library, std::string& json) {
    using enum Thumb;
    const std::vector<Thumb> plan{Copies, Copies, Made, StandsIn, Copies, Copies};
    const MainGallery copies{"图库六",
                             false,
                             {{"副本", set.large, 6, true, "fm.jpg", plan},
                              {"副本拉伸", set.large, 6, false, "fm.jpg", plan}}};
    write_main_gallery(library, copies, set, json);
}

// The benchmark's 200 photos of a camera's size, with thumbnails, without
// and with display copies.
void write_camera_library(const PictureSet& set, const fs::path& library, std::string& json) {
    using enum Thumb;
    const MainGallery camera{
        "图库七",
        false,
        {{"缩略图", set.camera, 200, true, "fm.jpg", std::vector<Thumb>(set.camera.size(), Made)},
         {"副本", set.camera, 200, true, "fm.jpg", std::vector<Thumb>(set.camera.size(), Copies)}}};
    write_main_gallery(library, camera, set, json);
}

// The library the tests use: picture blocks, both style sheet variants,
// hostile names, main pages with and without lanterns, a block of 200
// photos of a camera's weight, without and with thumbnails, and pages with
// display copies; on request the benchmark's camera photos.
void write_test_library(const fs::path& output, const fs::path& library, bool camera_photos,
                        std::string& json) {
    const PictureSet set = make_pictures(output / "pictures", camera_photos);
    const MainGallery lit{"图库一",
                          true,
                          {{"风景", set.scenic, 2, true, "fm100000001.jpg"},
                           {"拉伸", set.scenic, 2, false, "fm100000002.jpg"},
                           {"奇怪 #?%", set.hostile, 9, true, "fm.jpg"},
                           {"夜 #1", {set.night}, 4, true, "fm100000003.jpg"}}};
    const MainGallery unlit{"图库二", false, {{"风景", set.scenic, 3, true, "fm.jpg"}}};
    const MainGallery viewer{"图库四",
                             false,
                             {{"照片", set.photos, 200, true, "fm.jpg"},
                              {"照片拉伸", set.photos, 200, false, "fm.jpg"},
                              {"怪名 #?%", set.shared_hostile, 8, true, "fm.jpg"},
                              {"怪名拉伸", set.shared_hostile, 8, false, "fm.jpg"}}};
    write_main_gallery(library, lit, set, json);
    write_main_gallery(library, unlit, set, json);
    // Nine cards: several rows and a last row of one on any window.
    MainGallery months{"图库三", false, {}};
    for (const char* name :
         {"一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月"})
        months.sub_galleries.push_back({name, {set.night}, 4, true, "fm.jpg"});
    write_main_gallery(library, months, set, json);
    write_main_gallery(library, viewer, set, json);
    write_hostile_library(output / "pictures" / "hostile", library, set, json);
    write_thumbnail_library(set, library, json);
    write_copies_library(set, library, json);
    if (camera_photos) write_camera_library(set, library, json);
}

// A library for looking at: the given pictures spread over a few themes.
void write_demo_library(const fs::path& pictures, const fs::path& library, std::string& json) {
    const std::vector<fs::path> all = pictures_in(pictures);
    if (all.empty()) return;
    const MainGallery demo{"我的图库",
                           true,
                           {{"湖光山色", all, 8, true, "fm100000001.jpg"},
                            {"春节灯会", slice(all, 2, 5), 8, true, "fm100000002.jpg"},
                            {"旅行随拍", slice(all, 1, 3), 8, true, "fm.jpg"},
                            {"城市夜景", slice(all, 4, 6), 8, true, "fm100000003.jpg"},
                            {"星空", slice(all, 6, 2), 8, true, "fm100000004.jpg"}}};
    write_main_gallery(library, demo, {}, json);
}

int run(const fs::path& output, const std::string& option) {
    const fs::path library = output / "library";
    fs::create_directories(library);
    std::string json = "{\n";
    if (option.empty() || option == "--camera-photos") {
        write_test_library(output, library, !option.empty(), json);
    } else {
        write_demo_library(option, library, json);
    }
    json += "  \"library\": " + json_string(library.string()) + "\n}\n";
    std::ofstream(output / "site.json", std::ios::binary) << json;
    return 0;
}

}  // namespace
}  // namespace galmora::testing

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr,
                     "usage: site_writer <output folder> [--camera-photos | <pictures folder>]\n");
        return 2;
    }
    return galmora::testing::run(argv[1], argc == 3 ? argv[2] : "");
}
