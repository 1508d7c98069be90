// A library whose main gallery holds 5,000 sub-gallery folders with 5,000
// records: the time of one main page rebuild, of one sub-gallery list
// refresh, and of one deletion (confirmation answered at once).

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/files.h"
#include "generator/generation_state.h"
#include "library/gallery_config.h"
#include "library/library_context.h"
#include "library/sub_galleries.h"
#include "library/sub_gallery_deletion.h"

using namespace galmora;

namespace {

constexpr int kSubGalleries = 5000;

using Clock = std::chrono::steady_clock;

double milliseconds_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Just enough of a window: texts, check boxes and lists.
class BenchControls : public Controls {
  public:
    Text text(ControlId control) const override { return find(texts_, control); }
    void set_text(ControlId control, const Text& text) override { texts_[control] = text; }
    bool checked(ControlId) const override { return false; }
    void set_checked(ControlId, bool) override {}
    int selected_index(ControlId control) const override {
        auto it = selections_.find(control);
        return it == selections_.end() ? -1 : it->second;
    }
    void set_selected_index(ControlId control, int index) override {
        const int last = item_count(control) - 1;
        selections_[control] = std::max(-1, std::min(index, last));
    }
    Text item_text(ControlId control, int index) const override {
        auto it = items_.find(control);
        if (it == items_.end() || index < 0 || index >= static_cast<int>(it->second.size()))
            return {};
        return it->second[index];
    }
    void append_item(ControlId control, const Text& text) override {
        items_[control].push_back(text);
    }
    void clear_items(ControlId control) override {
        items_[control].clear();
        selections_[control] = -1;
    }
    int item_count(ControlId control) const override {
        auto it = items_.find(control);
        return it == items_.end() ? 0 : static_cast<int>(it->second.size());
    }
    bool visible(ControlId) const override { return true; }
    void set_visible(ControlId, bool) override {}
    bool enabled(ControlId) const override { return true; }
    void set_enabled(ControlId, bool) override {}
    int text_colour(ControlId) const override { return 0; }
    void set_text_colour(ControlId, int) override {}
    int background_colour(ControlId) const override { return 0; }
    void set_background_colour(ControlId, int) override {}
    void focus(ControlId) override {}
    void select_all(ControlId) override {}
    Text title() const override { return {}; }
    void set_title(const Text&) override {}
    bool always_on_top() const override { return false; }
    void set_always_on_top(bool) override {}
    void set_busy(bool) override {}
    void on(ControlId, ControlEvent, Handler) override {}

  private:
    static Text find(const std::map<ControlId, Text>& map, ControlId control) {
        auto it = map.find(control);
        return it == map.end() ? Text() : it->second;
    }
    std::map<ControlId, Text> texts_;
    std::map<ControlId, std::vector<Text>> items_;
    std::map<ControlId, int> selections_;
};

class ConfirmingDesktop : public DesktopServices {
  public:
    bool set_clipboard_text(const Text&) override { return true; }
    int message_box(const Text&, int, const Text&) override { return kResultOk; }
    Text choose_folder(const Text&) override { return {}; }
    Text choose_open_file() override { return {}; }
    void shell_open(const Text&) override {}
    void open_web_page(const Text&) override {}
};

Text name_of(int i) {
    static const Text prefix = local_text("图库");
    return prefix + to_text(100000000 + i);
}

void build_library(const Text& root, const Text& main_gallery) {
    create_directory(main_gallery);
    create_directory(main_gallery + "/img");
    Text config = "[NAME]\r\nname=0\r\n[images]\r\nnum=" + to_text(kSubGalleries) +
                  "\r\n[Logo]\r\nweblogo=logo.png\r\n[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n";
    for (int i = 1; i <= kSubGalleries; ++i) {
        const Text name = name_of(i), n = to_text(i);
        create_directory(main_gallery + "/" + name);
        write_file(main_gallery + "/" + name + "/index.html", as_bytes("page"));
        config += "[P" + n + "]\r\npname=" + name + "\r\npimg=fm" + n + ".jpg\r\npnum=" + n +
                  "\r\nphd=hd\r\npstar=*****\r\n";
    }
    write_file(root + "/config.ini", as_bytes(config));
}

}  // namespace

int main() {
    std::string folder = (std::filesystem::temp_directory_path() / "galmora-bench-XXXXXX");
    if (!mkdtemp(folder.data())) return 1;
    const Text root = local_text(folder);
    const Text main_name = local_text("我的图片库");
    const Text main_gallery = root + "/" + main_name;
    build_library(root, main_gallery);

    BenchControls ui;
    ConfirmingDesktop desktop;
    GenerationState state;
    const GalleryConfig config(root + "/config.ini");
    LibraryContext context{ui, desktop, state, config, root};
    SubGalleries sub_galleries(context);
    SubGalleryDeletion deletion(context, sub_galleries);
    ui.append_item(ControlId::MainGalleryList, main_name);
    ui.set_selected_index(ControlId::MainGalleryList, 0);
    ui.set_text(ControlId::SiteTitleLink, "#");
    state.current_main_gallery = main_gallery;
    std::printf("library: %d sub-gallery folders, %d records\n", kSubGalleries, kSubGalleries);

    auto start = Clock::now();
    sub_galleries.rebuild_main_page();
    std::printf("main page rebuild: %.1f ms (%zu bytes)\n", milliseconds_since(start),
                read_file(main_gallery + "/index.html").value_or(Bytes()).size());

    start = Clock::now();
    sub_galleries.refresh_sub_gallery_list();
    std::printf("sub-gallery list refresh: %.1f ms (%d entries)\n", milliseconds_since(start),
                ui.item_count(ControlId::SubGalleryList));

    ui.set_selected_index(ControlId::SubGalleryList, kSubGalleries / 2);
    start = Clock::now();
    deletion.delete_sub_gallery();
    std::printf(
        "one deletion (record, folder, compaction, list, main page): %.1f ms, "
        "%d records left\n",
        milliseconds_since(start), config.snapshot().record_count());
    const bool deleted = config.snapshot().record_count() == kSubGalleries - 1;

    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return deleted ? 0 : 1;
}
