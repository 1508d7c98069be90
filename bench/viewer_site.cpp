// Makes, through the real window (offscreen, or on an X server with
// QT_QPA_PLATFORM=xcb), the site the page benchmark measures as a visitor
// would see it: a folder of camera photos generated once without the
// 缩略图 option and once with it (thumbnails and display copies), and a
// folder of HEIC photos with it. Prints how long each generation took from
// the click of 生成图片库 to its end, whether a file the HEIC page names
// holds EXIF or a GPS position, and writes site.json naming the pages under
// the keys bench/thumbnail_page.mjs reads:
//
//   bench_viewer_site <site folder> <photo folder> [<HEIC folder>]
//   node bench/thumbnail_page.mjs <site folder>/site.json
//
// The photo folders are linked into the site folder (pictures/ and
// heic/pictures/), so that one local web server serves the pages and their
// originals at the paths the pages name.

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/support/timing.h"
#include "core/codepage.h"
#include "core/files.h"
#include "imaging/qt_picture_maker.h"
#include "shell/application.h"
#include "shell/qt/qt_window_thread.h"
#include "shell/qt/shell_window.h"
#include "tests/shell/qt/widget_lookup.h"
#include "tests/support/exif_segment.h"
#include "tests/support/scripted_desktop.h"

namespace fs = std::filesystem;
using namespace galmora;

namespace {

struct Generated {
    std::string key;   // the page's name in site.json
    fs::path page;
    double seconds = 0;
};

class Site {
  public:
    explicit Site(const fs::path& root) : root_(root), window_thread_(&window_) {
        fs::create_directories(root / "library");
        UpdateSettings offline;
        offline.network.system_online = [] { return false; };
        QtPictureMaker::set_process_limits();
        app_ = std::make_unique<Application>(
            window_.controls(), desktop_, local_text((root / "library").string()), offline,
            UpdateWindowHooks{}, BackgroundServices{&window_thread_, {&maker_}});
        app_->start_up();
        window_.set_checked(ControlId::OpenFolderAfter, false);
        window_.set_checked(ControlId::OpenPageAfter, false);
        window_.show();
    }

    Generated generate(const fs::path& folder, const std::string& name, bool thumbnails) {
        if (window_.checked(ControlId::Thumbnails) != thumbnails) click(ControlId::Thumbnails);
        desktop_.folder_answers.push_back(local_text(folder.string()));
        click(ControlId::ChoosePictureFolder);
        replace_text(ControlId::PerPage, "999");
        window_.set_text(ControlId::SubGalleryName, local_text(name));
        bench::Stopwatch watch;
        click(ControlId::GenerateButton);
        const Text caption = local_text("生成图片库");
        (void)QTest::qWaitFor([&] { return window_.text(ControlId::GenerateButton) == caption; },
                              3600 * 1000);
        const double seconds = watch.elapsed().wall;
        const int pictures = std::stoi(utf8_string(window_.text(ControlId::PictureTotal)));
        std::printf("%-8s %4d pictures, %s: %7.2f s, %6.1f ms a picture\n", name.c_str(),
                    pictures, thumbnails ? "with thumbnails and copies" : "without thumbnails",
                    seconds, 1000 * seconds / std::max(1, pictures));
        return {"", root_ / "library" / "我的图片库" / name / "index.html", seconds};
    }

  private:
    void click(ControlId control) {
        QTest::mouseClick(testing::widget(window_, control), Qt::LeftButton);
    }
    void replace_text(ControlId control, const std::string& utf8) {
        auto* edit = testing::widget<QLineEdit>(window_, control);
        edit->selectAll();
        testing::type_keys(edit, QString::fromStdString(utf8));
    }

    fs::path root_;
    ShellWindow window_;
    testing::ScriptedDesktop desktop_;
    const QtPictureMaker maker_;
    QtWindowThread window_thread_;
    std::unique_ptr<Application> app_;
};

std::string file_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every thumbnail folder file the page names by its key (its thumbnail and
// copies), and the originals it names with src: none may hold EXIF or GPS.
void check_metadata(const Generated& heic, const fs::path& thumbs) {
    const std::string page = file_bytes(heic.page);
    const Bytes gps = testing::gps_latitude_bytes();
    const std::string gps_text(gps.begin(), gps.end());
    int files = 0, with_metadata = 0;
    for (const auto& entry : fs::directory_iterator(thumbs)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 16 || page.find("../img/thumbs/" + name.substr(0, 16)) == std::string::npos)
            continue;
        ++files;
        const std::string bytes = file_bytes(entry.path());
        if (bytes.find("Exif") != std::string::npos || bytes.find(gps_text) != std::string::npos)
            ++with_metadata;
    }
    std::size_t src_heic = 0;
    for (std::size_t at = page.find("src=\""); at != std::string::npos; at = page.find("src=\"", at + 1)) {
        const std::size_t end = page.find('"', at + 5);
        const std::string source = page.substr(at + 5, end - at - 5);
        if (source.size() > 5 && (source.ends_with(".heic") || source.ends_with(".HEIC"))) ++src_heic;
    }
    std::printf("HEIC page: %d files of the thumbnail folder named, %d with EXIF or GPS; "
                "%zu src naming a HEIC\n",
                files, with_metadata, src_heic);
}

std::string json_string(const std::string& utf8) {
    std::string quoted = "\"";
    for (char c : utf8) quoted += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
    return quoted + "\"";
}

void write_site_json(const fs::path& root, const std::vector<Generated>& pages) {
    std::ofstream json(root / "site.json");
    json << "{\n";
    for (std::size_t i = 0; i < pages.size(); ++i)
        json << "  " << json_string(pages[i].key) << ": " << json_string(pages[i].page.string())
             << (i + 1 < pages.size() ? ",\n" : "\n");
    json << "}\n";
}

void link(const fs::path& target, const fs::path& link_path) {
    fs::create_directories(link_path.parent_path());
    std::error_code ignored;
    fs::remove(link_path, ignored);
    fs::create_directory_symlink(fs::absolute(target), link_path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_viewer_site <site folder> <photo folder> [<HEIC folder>]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication application(argc, argv);
    const fs::path root = fs::absolute(argv[1]);
    link(argv[2], root / "pictures");
    if (argc > 3) link(argv[3], root / "heic" / "pictures");
    Site site(root);
    std::vector<Generated> pages;
    pages.push_back(site.generate(root / "pictures", "照片", false));
    pages.back().key = "图库四/照片";
    pages.push_back(site.generate(root / "pictures", "副本", true));
    pages.back().key = "图库七/副本";
    if (argc > 3) {
        pages.push_back(site.generate(root / "heic" / "pictures", "HEIC", true));
        pages.back().key = "图库八/HEIC";
        check_metadata(pages.back(), root / "library" / "我的图片库" / "img" / "thumbs");
    }
    write_site_json(root, pages);
    std::printf("site: %s\n", (root / "site.json").c_str());
    return 0;
}
