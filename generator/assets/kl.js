/*
 * Festive lanterns for the gallery's main page.
 *
 * When loaded, adds its style rules to the document head and hangs two
 * lanterns, labelled "祝" and "福", at the top of the window: fixed 12 px below
 * the top edge, the first 40 px from the left edge, the second 130 px from the
 * right edge (80 px on windows at most 460 px wide). Both swing without end,
 * and neither takes the pointer nor can be selected, so the page below them
 * stays usable.
 */
(function () {
    "use strict";

    var LABELS = ["\u795d", "\u798f"]; // 祝, 福

    var RULES = [
        ".kl-lantern{position:fixed;top:12px;z-index:9999;width:96px;height:124px;",
        "pointer-events:none;user-select:none;-webkit-user-select:none;-moz-user-select:none;",
        "transform-origin:50% 0;animation:kl-swing 3.2s ease-in-out infinite alternate;}",
        ".kl-lantern-left{left:40px;}",
        ".kl-lantern-right{right:130px;animation-delay:-1.6s;}",
        "@media (max-width:460px){.kl-lantern-right{right:80px;}}",
        ".kl-lantern *{box-sizing:border-box;pointer-events:none;}",
        ".kl-string{position:absolute;left:47px;top:0;width:2px;height:14px;background:#b8860b;}",
        ".kl-body{position:absolute;left:0;top:14px;width:96px;height:72px;border-radius:50%;",
        "background:radial-gradient(ellipse at 45% 38%,#ff9a6b 0%,#f2413a 45%,#b5121f 100%);",
        "box-shadow:0 0 36px -6px rgba(255,72,48,0.9);}",
        ".kl-cap{position:absolute;left:24px;width:48px;height:9px;border-radius:4px;",
        "background:linear-gradient(#ffe08a,#d9992b);}",
        ".kl-cap-top{top:-5px;}",
        ".kl-cap-bottom{bottom:-5px;}",
        ".kl-rib{position:absolute;top:0;height:72px;border-radius:50%;",
        "border:2px solid rgba(255,205,120,0.45);}",
        ".kl-rib-outer{left:11px;width:74px;}",
        ".kl-rib-inner{left:30px;width:36px;}",
        ".kl-label{position:absolute;left:0;top:0;width:96px;height:72px;line-height:72px;",
        "text-align:center;font-size:34px;font-weight:bold;color:#ffd54a;",
        "font-family:KaiTi,STKaiti,\"AR PL UKai CN\",\"Noto Serif CJK SC\",serif;",
        "text-shadow:0 0 8px rgba(255,160,40,0.8);}",
        ".kl-tassel{position:absolute;left:43px;top:86px;width:10px;height:38px;",
        "transform-origin:50% 0;animation:kl-swing 2.4s ease-in-out infinite alternate-reverse;}",
        ".kl-tassel:before{content:\"\";position:absolute;left:4px;top:0;width:2px;height:10px;",
        "background:#d9992b;}",
        ".kl-tassel:after{content:\"\";position:absolute;left:0;top:10px;width:10px;height:28px;",
        "border-radius:2px 2px 6px 6px;background:linear-gradient(#ffb23a,#e8333a 35%,#b5121f);}",
        "@keyframes kl-swing{from{transform:rotate(-9deg);}to{transform:rotate(9deg);}}"
    ];

    function add_rules() {
        var style = document.createElement("style");
        style.type = "text/css";
        style.setAttribute("data-kl", "lanterns");
        style.appendChild(document.createTextNode(RULES.join("")));
        document.head.appendChild(style);
    }

    function part(parent, classes) {
        var element = document.createElement("div");
        element.className = classes;
        parent.appendChild(element);
        return element;
    }

    function lantern(label, side) {
        var root = document.createElement("div");
        root.className = "kl-lantern kl-lantern-" + side;
        root.setAttribute("aria-hidden", "true");
        part(root, "kl-string");
        var body = part(root, "kl-body");
        part(body, "kl-cap kl-cap-top");
        part(body, "kl-rib kl-rib-outer");
        part(body, "kl-rib kl-rib-inner");
        part(body, "kl-label").appendChild(document.createTextNode(label));
        part(body, "kl-cap kl-cap-bottom");
        part(root, "kl-tassel");
        return root;
    }

    function hang() {
        if (document.querySelector(".kl-lantern")) {
            return;  // loaded twice: one pair is enough
        }
        add_rules();
        document.body.appendChild(lantern(LABELS[0], "left"));
        document.body.appendChild(lantern(LABELS[1], "right"));
    }

    if (document.body) {
        hang();
    } else {
        document.addEventListener("DOMContentLoaded", hang);
    }
})();
