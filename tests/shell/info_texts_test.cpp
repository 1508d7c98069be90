#include "shell/info_texts.h"

#include <gtest/gtest.h>

#include "core/codepage.h"

namespace galmora {
namespace {

using namespace literals;

TEST(StartupInformation, NamesTheMainGalleryAndTheDrawnSuffix) {
    const Text text = startup_information("我的图片库"_t, "012345678", "http://site.test/");
    EXPECT_EQ(utf8_string(text),
              "三步生成图库：作者：Tovenic！_2022/10\r\n\r\n1.选择图片目录 2.设置分页数量 "
              "3.点击右侧【生成图片库】↘\r\n\r\n当前程序配置大致如下：[相关参数请自行修改或配置]"
              "\r\n\r\n主图库为：我的图片库\r\n即将生成新的子图库名称为：图库012345678\r\n"
              "选择图片目录的状态为：未选择\r\n管理模式为：本地模式\r\n\r\n作者站点："
              "http://site.test/");
}

TEST(HelpText, ElevenParagraphsSeparatedByBlankLinesEndingInTheSite) {
    const std::string help = utf8_string(help_text("http://site.test/"));
    EXPECT_EQ(help.rfind("使用帮助：\r\n\r\n新建主图库：", 0), 0u);
    EXPECT_NE(help.find("主图库名称=网站标题名称\r\n\r\n子图库名称默认为"), std::string::npos);
    EXPECT_NE(help.find("即可访问网络图库\r\n\r\n分享图库："), std::string::npos);
    const std::string tail = "作者：Tovenic 2022/10\r\n\r\n作者站点：http://site.test/";
    ASSERT_GE(help.size(), tail.size());
    EXPECT_EQ(help.substr(help.size() - tail.size()), tail);
    std::size_t breaks = 0;
    for (std::size_t at = help.find("\r\n\r\n"); at != std::string::npos;
         at = help.find("\r\n\r\n", at + 4))
        ++breaks;
    EXPECT_EQ(breaks, 10u);
}

TEST(DefaultIntroduction, IsTheStarsSentence) {
    EXPECT_EQ(utf8_string(default_introduction()),
              "这里储存着网络搜集和个人收藏的各种美图，图片的清晰度用星星来表示，"
              "五星代表图片质量最好^^!");
}

}  // namespace
}  // namespace galmora
