#include "shell/info_texts.h"

#include "core/codepage.h"

namespace galmora {

using namespace literals;

Text default_introduction() {
    return "这里储存着网络搜集和个人收藏的各种美图，图片的清晰度用星星来表示，五星代表图片质量最好^^!"_t;
}

Text startup_information(const Text& main_gallery, const Text& suffix, const Text& maker_site) {
    static const Text head =
        "三步生成图库：作者：Tovenic！_2022/10\r\n\r\n1.选择图片目录 2.设置分页数量 "
        "3.点击右侧【生成图片库】↘\r\n\r\n当前程序配置大致如下：[相关参数请自行修改或配置]\r\n\r\n"
        "主图库为："_t;
    static const Text next_name = "\r\n即将生成新的子图库名称为：图库"_t;
    static const Text state =
        "\r\n选择图片目录的状态为：未选择\r\n管理模式为：本地模式\r\n\r\n作者站点："_t;
    return concat_text({head, main_gallery, next_name, suffix, state, maker_site});
}

Text help_text(const Text& maker_site) {
    static const Text paragraphs[] = {
        "使用帮助："_t,
        "新建主图库：点击左上角[新建主图库按钮，输入名称后点击确定即可]"_t,
        "主图库名称=网站标题名称"_t,
        "子图库名称默认为[图库]+随机数，生成图库之前可直接改写名称"_t,
        "支持选择目录，也支持拖拽目录到相应位置"_t,
        "[灯笼开关]是控制网站主页的灯笼，子图库没有灯笼"_t,
        "[保证图片比例]是控制子图库中点击放大后图片的比例"_t,
        "网络模式：开启[网络模式]后，在右侧填写正确的网站地址后再点击[生成图片库]按钮，"
        "确认地址无误之后上传整个图库到网站，主图库文件夹可重新自定义名称，但其中的子图库不可重新命"
        "名，"
        "访问网站的index.html即可访问网络图库"_t,
        "分享图库：分享主图库中的index.html的网络地址或者子图库中的index.html的网络地址即可"_t,
        "作者：Tovenic 2022/10"_t,
    };
    Text help;
    for (const Text& paragraph : paragraphs) help += paragraph + "\r\n\r\n";
    return help + "作者站点："_t + maker_site;
}

}  // namespace galmora
