// The end of a generation through the whole program: the panel is given the
// page only once config.ini holds the record and the main page lists the
// sub-gallery, and a generation that is taken back never shows its result.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "shell/application.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using namespace galmora::literals;

// What the library holds each time the panel is given a text.
class PanelWitness : public testing::FakeControls {
  public:
    struct Sight {
        Text panel;
        std::string config, main_page;
    };
    explicit PanelWitness(const testing::TempDir& root) : root_(root) {}
    void set_text(ControlId control, const Text& text) override {
        if (control == ControlId::InformationPanel)
            sights.push_back({text, root_.contents("config.ini"), main_page()});
        FakeControls::set_text(control, text);
    }
    std::vector<Sight> sights;

  private:
    std::string main_page() const {
        const std::string page = "我的图片库/index.html";
        return fs::is_regular_file(root_.file(page)) ? root_.contents(page) : "";
    }

    const testing::TempDir& root_;
};

class GenerationOrder : public ::testing::Test {
  protected:
    void SetUp() override {
        UpdateSettings offline;
        offline.network.system_online = [] { return false; };
        app = std::make_unique<Application>(ui, desktop, root.text(), offline);
        app->start_up();
        pictures.put("a.jpg");
        desktop.folder_answers.push_back(pictures.text());
        ui.click(ControlId::ChoosePictureFolder);
        ui.type(ControlId::PerPage, "2");
    }
    // The sights of the panel during one click of 生成图片库 for name.
    std::vector<PanelWitness::Sight> generate(const Text& name) {
        ui.set_text(ControlId::SubGalleryName, name);
        ui.sights.clear();
        ui.click(ControlId::GenerateButton);
        return ui.sights;
    }

    testing::TempDir root, pictures;
    PanelWitness ui{root};
    testing::ScriptedDesktop desktop;
    std::unique_ptr<Application> app;
};

TEST_F(GenerationOrder, ThePanelShowsTheResultOnlyOnceTheGenerationIsRecorded) {
    const Text result_line = "\r\n 新图库目录："_t;
    fs::create_directories(root.file("我的图片库/index.html"));  // no main page can be written
    for (const PanelWitness::Sight& sight : generate("撤销"_t))
        EXPECT_EQ(sight.panel.find(result_line), Text::npos);
    ASSERT_EQ(desktop.message_boxes.size(), 1u);
    EXPECT_EQ(ui.text(ControlId::InformationPanel), desktop.message_boxes[0].message);

    fs::remove(root.file("我的图片库/index.html"));
    const std::vector<PanelWitness::Sight> sights = generate("风景"_t);
    ASSERT_FALSE(sights.empty());
    const PanelWitness::Sight& shown = sights.back();
    EXPECT_EQ(shown.panel.rfind(result_line, 0), 0u);
    EXPECT_EQ(shown.panel, ui.text(ControlId::InformationPanel));
    EXPECT_NE(shown.config.find("pname=" + "风景"_t), std::string::npos);
    EXPECT_NE(shown.main_page.find("./风景/index.html"), std::string::npos);
}

}  // namespace
}  // namespace galmora
