#!/usr/bin/env python3
"""Writes the page fragments into generator/fragments/, one UTF-8 file per
fragment named after it. The literals below are the single source of the
fragments' bytes: line ends are CR LF in some and a bare LF in others, and the
pages keep that mix. Run it again after changing a literal and commit both."""

from pathlib import Path

FRAGMENTS = [
    ("编辑框11", "<!-- 以下为图库源代码 -->\r\n<!DOCTYPE html>\r\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n    \r\n    <head>\r\n        <meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />\r\n        <title>"),
    ("编辑框16", "</title><link rel=\"icon\" type=\"image/png\" href=\"../img/logo.png\" />\r\n        <link rel=\"stylesheet\" type=\"text/css\" href=\"./mains.css\" />\r\n    </head>\r\n        \r\n        <body>\r\n            <script src=\"./script.js\" type=\"text/javascript\" charset=\"utf-8\"></script>\r\n\t\t\t<!--按钮区域，可更改文字显示或变更位置，[value-“2”]根据总页数手动定义，此数值不要超过JS里定义的数组数值-->\r\n            <div class=\"page-icon\">\r\n                <button>共计\r\n                    <input id=\"totalPage\" type=\"button\" value=\""),
    ("编辑框13", "\" readonly=\"readonly\"> /99页</button>\r\n                <button>第\r\n                    <input id=\"currentPage\" onchange=\"choose_page()\" type=\"text\" value=\"1\" /> 页</button>\r\n                <button class=\"firstPage\" onclick=\"first_click()\">首页</button>\r\n                <button class=\"beforePage\" onclick=\"prev_click()\">上一页</button>\r\n                <button class=\"nextPage\" onclick=\"next_click()\">下一页</button>\r\n                <button class=\"lastPage\" onclick=\"last_click()\">末页</button>\r\n            </div>\r\n            <div id=\"pager\">\r\n                <!-- 页面内容添加区，每一个[page]代表一个页面 -->\r\n                <div class=\"page-block\">"),
    ("编辑框14", "</div></div>\r\n                <!-- 图片显示区域，无需更改 -->\r\n                <div id=\"myModal\" class=\"modal\" onclick=\"document.getElementById('myModal').style.display='none'\">\r\n                    <!-- 图片显示内容，无需更改 -->\r\n                    <img class=\"content\" id=\"img01\">\r\n                </div>\r\n                <!--脚本代码，无需更改-->\r\n                <script>\r\n                function demo(imgId) {\r\n                    document.getElementById('myModal').style.display = \"block\";\r\n                    document.getElementById(\"img01\").src = document.getElementById(imgId).src;\r\n                }\r\n                </script>\r\n                <br/>\r\n            </div>\r\n\t\t\t<!--按钮区域，可更改文字显示或变更位置-->\r\n            <div class=\"page-icon\">\r\n                <button class=\"firstPage\" onclick=\"first_click()\">首页</button>\r\n                <button class=\"beforePage\" onclick=\"prev_click()\">上一页</button>\r\n                <button class=\"nextPage\" onclick=\"next_click()\">下一页</button>\r\n                <button class=\"lastPage\" onclick=\"last_click()\">末页</button>\r\n            </div>\r\n        </body>\r\n\r\n</html>"),
    ("编辑框9", "<div class=\"page-"),
    ("编辑框10", "\">"),
    ("编辑框12", "</div>"),
    ("编辑框1", "<img loading=\"lazy\" id=\"Img"),
    ("编辑框4", "\" class=\"myImg\" src=\""),
    ("编辑框2", "\" onclick=\"demo('Img"),
    ("编辑框5", "')\">"),
    ("编辑框24", "<html lang=\"en\">\r\n    \r\n    <head>\r\n        <meta charset=\"UTF-8\">\r\n        <title>"),
    ("编辑框30", "</title>\r\n        <link rel=\"icon\" type=\"image/"),
    ("编辑框29", "\" href=\"./img/"),
    ("编辑框28", "\" />\r\n        <link rel=\"stylesheet\" type=\"text/css\" href=\"./stylecss/style.css\">\r\n    </head>\r\n    \r\n    <body>\r\n        <div class=\"navbar\">\r\n            <div class=\"logo-wrapper\">\r\n                <a href=\"#\">\r\n                    <img class=\"logo\" src=\"\">\r\n                </a>\r\n            </div>\r\n            <div class=\"main-menu\"> <a href=\""),
    ("编辑框17", "</a>\r\n\r\n            </div>\r\n        </div>\r\n        <div id=\"rq\">\r\n            <div class=\"prompt\">\r\n                <p class=\"p1\">"),
    ("编辑框32", "</p>\r\n            </div>\r\n        </div>\r\n        <div class=\"wrap\">"),
    ("编辑框23", "        </div>\n        <div class=\"footer\">\n            <p class=\"p4\">本图库由 Galmora 生成</p>\n        </div>\n    "),
    ("编辑框25", "\n    </body>\n\n</html>"),
    ("编辑框26", "<script src=\"./js/kl.js\"></script>\n    </body>\n\n</html>"),
    ("编辑框22", "<div class=\"item\">\n                <div class=\"img-box\">\n                    <a href=\""),
    ("编辑框21", "\" target=\"_blank\">\n                        <img alt=\"Arcade\" src=\"./img/"),
    ("编辑框19", "\">\n                    </a>\n                </div>\n                <p class=\"p3\"><strong><span style=\"color: rgb(39, 174, 96);\">"),
    ("编辑框20", "</span><br/><span style=\"color: rgb(0, 176, 240);\">共计<span style=\"color: rgb(247, 150, 70);\">"),
    ("编辑框31", "</span>张(<span style=\"color: rgb(204, 153, 204);\">"),
    ("编辑框33", "</span>)</span><span style=\"color: rgb(247, 150, 70);\"> "),
    ("编辑框18", "</span></strong></p>\n            </div>"),
]


def main():
    folder = Path(__file__).resolve().parent.parent / "generator" / "fragments"
    folder.mkdir(parents=True, exist_ok=True)
    for name, text in FRAGMENTS:
        (folder / (name + ".txt")).write_bytes(text.encode("utf-8"))


if __name__ == "__main__":
    main()
