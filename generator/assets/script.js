// Page switching of a sub-gallery page: the page holds blocks with the class
// names "page-1", "page-2", ..., and exactly one of them is shown at a time.
// The style sheet shows "page-1" before any of this runs.

// Every block name the page may use, in page order.
var page_names = [
    "page-1", "page-2", "page-3", "page-4", "page-5", "page-6", "page-7", "page-8", "page-9", "page-10",
    "page-11", "page-12", "page-13", "page-14", "page-15", "page-16", "page-17", "page-18", "page-19", "page-20",
    "page-21", "page-22", "page-23", "page-24", "page-25", "page-26", "page-27", "page-28", "page-29", "page-30",
    "page-31", "page-32", "page-33", "page-34", "page-35", "page-36", "page-37", "page-38", "page-39", "page-40",
    "page-41", "page-42", "page-43", "page-44", "page-45", "page-46", "page-47", "page-48", "page-49", "page-50",
    "page-51", "page-52", "page-53", "page-54", "page-55", "page-56", "page-57", "page-58", "page-59", "page-60",
    "page-61", "page-62", "page-63", "page-64", "page-65", "page-66", "page-67", "page-68", "page-69", "page-70",
    "page-71", "page-72", "page-73", "page-74", "page-75", "page-76", "page-77", "page-78", "page-79", "page-80",
    "page-81", "page-82", "page-83", "page-84", "page-85", "page-86", "page-87", "page-88", "page-89", "page-90",
    "page-91", "page-92", "page-93", "page-94", "page-95", "page-96", "page-97", "page-98", "page-99"
];

// Told the name of the block page_option has just shown (undefined when
// none); the viewer below keeps the address and the thumbnails up to date.
var after_block_shown = function () {};

// Hides every block of the list, then shows the blocks named pagename.
function page_option(pagename) {
    var blocks = block_elements();
    for (var i = 0; i < blocks.length; i++) {
        var name = block_name(blocks[i]);
        if (name) {
            blocks[i].style.display = name === pagename ? "block" : "none";
        }
    }
    after_block_shown(pagename);
}

// The elements that may carry a block name: the children of the block
// container, so that a switch never searches a page of many thousand
// pictures; on a page without that container, every element with a name.
function block_elements() {
    var pager = document.getElementById("pager");
    for (var child = pager && pager.firstElementChild; child; child = child.nextElementSibling) {
        if (child.classList.contains("page-block")) {
            return child.children;
        }
    }
    return document.querySelectorAll("." + page_names.join(",."));
}

// The block name an element carries, or null.
function block_name(element) {
    for (var i = 0; i < element.classList.length; i++) {
        if (page_names.indexOf(element.classList[i]) >= 0) {
            return element.classList[i];
        }
    }
    return null;
}

// The first element named pagename, or null.
function block_element(pagename) {
    var blocks = block_elements();
    for (var i = 0; i < blocks.length; i++) {
        if (pagename && block_name(blocks[i]) === pagename) {
            return blocks[i];
        }
    }
    return null;
}

function page_field() {
    return document.getElementById("currentPage");
}

// The block at 1-based position k of the list; undefined outside 1-99, which
// hides every block.
function page_at(k) {
    return page_names[k - 1];
}

function first_click() {
    page_option(page_at(1));
    page_field().value = 1;
}

function last_click() {
    var total = parseInt(document.getElementById("totalPage").value, 10);
    page_option(page_at(total));
    page_field().value = total;
}

function prev_click() {
    var k = parseInt(page_field().value, 10);
    if (k > 1) {
        page_field().value = k - 1;
        page_option(page_at(k - 1));
    }
}

// Stops only at the end of the list, not at the page total: past the last
// real block the picture area stays empty.
function next_click() {
    var k = parseInt(page_field().value, 10);
    if (k < page_names.length) {
        page_field().value = k + 1;
        page_option(page_at(k + 1));
    }
}

function choose_page() {
    page_option(page_at(parseInt(page_field().value, 10)));
}

// The picture viewer. The page's own overlay (#myModal, with the picture
// #img01) stands at the very end of the page, after every thumbnail, and so
// does the page's own demo(). This script runs at the top of the body, so it
// defines demo() first, lends the viewer a stand-in overlay until the real one
// has been read, and takes demo() back once the page has replaced it. Pictures
// are found by their ids (Img1 ... ImgN) and blocks by their class names, so
// no key ever walks over every picture of a large page.
(function () {
    "use strict";

    var SLIDE_MS = 3000;
    var SWIPE_PX = 50;
    var ADDRESS_DELAY_MS = 250;
    var SHARP = 0.9;  // the least share of a picture's screen pixels a copy may have
    var VIEWER_STATE = { galleryViewer: true };

    var viewer = {
        host: null,       // the overlay in use: #myModal, or the stand-in
        standIn: null,
        content: null,    // the overlay's picture element
        ui: null,         // the controls, made once and moved between overlays
        number: 0,        // picture shown, 0 while the viewer is closed
        fit: false,
        slideshow: 0,     // timer of the running slideshow, 0 when stopped
        expectBack: false,
        pendingAddress: 0, // timer of an address not yet written
        addressWritten: 0, // when a step last wrote the address
        touch: null,
        preloads: [],
        preloadAfter: 0,  // picture whose neighbours wait for its file
        preview: null,    // the thumbnail standing in for a coming file
        shown: null,      // { files, rank } the overlay's picture shows or awaits
        larger: null,     // a larger file being fetched to replace the shown one
        pickFrame: 0      // a new pick waiting for the next frame
    };
    var grid = {
        shownBlock: 1,
        failed: {},       // block number -> thumbnails whose original failed
        notice: null,
        lastNumber: 0     // known once the page has been read
    };

    // --- Pictures and blocks -------------------------------------------------

    function picture(n) {
        return n > 0 ? document.getElementById("Img" + n) : null;
    }

    // The number in an id "Img<n>", 0 for any other id.
    function number_in(id) {
        var match = /^Img(\d+)$/.exec(id || "");
        return match ? parseInt(match[1], 10) : 0;
    }

    function number_of(element) {
        return number_in(element.id);
    }

    function is_thumbnail(element) {
        return !!element && element.nodeType === 1 && element.classList.contains("myImg") &&
            number_of(element) > 0;
    }

    // A thumbnail's block number, from its parent's class "page-k".
    function block_of(img) {
        var match = /(?:^|\s)page-(\d+)(?:\s|$)/.exec(img.parentNode ? img.parentNode.className : "");
        return match ? parseInt(match[1], 10) : 0;
    }

    // The original's address as the page writes it: data-original when
    // browsers cannot show it (src then names the largest copy), else src.
    function original_source(img) {
        return img.getAttribute("data-original") || img.getAttribute("src") || "";
    }

    // The file name at the end of a picture's original, decoded for people.
    function file_name(img) {
        var address = original_source(img).split(/[?#]/)[0];
        var name = address.slice(address.lastIndexOf("/") + 1);
        try {
            return decodeURIComponent(name);
        } catch (malformed) {
            return name;
        }
    }

    // The number of the last picture: the last thumbnail of the last block
    // that has one (the final block is empty when the count divides evenly).
    function last_number() {
        if (grid.lastNumber || document.readyState === "loading") return grid.lastNumber;
        var blocks = block_elements();
        for (var i = blocks.length - 1; i >= 0; i--) {
            for (var item = blocks[i].lastElementChild; item; item = item.previousElementSibling) {
                if (is_thumbnail(item)) return (grid.lastNumber = number_of(item));
            }
        }
        return 0;
    }

    // Shows block k and sets the page field, as the page buttons do.
    function show_block(k) {
        page_option(page_at(k));
        var field = page_field();
        if (field) field.value = k;
    }

    // --- Thumbnails ----------------------------------------------------------

    // Makes the thumbnails of a shown block reachable with Tab and names them
    // by their file, once the block has been read completely.
    function prepare_thumbnails(block) {
        if (!block || block.viewerPrepared) return;
        for (var item = block.firstElementChild; item; item = item.nextElementSibling) {
            if (!is_thumbnail(item)) continue;
            item.tabIndex = 0;
            if (!item.getAttribute("alt")) item.alt = file_name(item);
        }
        block.viewerPrepared = document.readyState !== "loading";
    }

    // The element that stands for picture n in the grid: its thumbnail, or the
    // tile that replaced it.
    function grid_item(n) {
        var img = picture(n);
        return img && img.viewerTile ? img.viewerTile : img;
    }

    // A grid picture that does not load: one whose own thumbnail failed falls
    // back to its original; one whose original does not load becomes a
    // labelled tile of the same size, and the top bar counts the failures of
    // the shown block, so that moved or deleted originals are seen at once.
    function on_load_error(event) {
        var img = event.target;
        if (!is_thumbnail(img) || img.viewerTile) return;
        if (img.hasAttribute("srcset")) {
            fall_back_to_original(img);
        } else {
            replace_with_tile(img);
        }
    }

    // Without srcset the browser loads src: the original, or the largest
    // copy of one that browsers cannot show.
    function fall_back_to_original(img) {
        img.removeAttribute("srcset");
        img.removeAttribute("sizes");
    }

    function replace_with_tile(img) {
        var name = file_name(img);
        var tile = document.createElement("span");
        tile.className = "myImg-failed";
        tile.tabIndex = 0;
        tile.setAttribute("role", "button");
        tile.setAttribute("aria-label", "图片无法加载：" + name);
        tile.appendChild(text_element("span", "myImg-failed-title", "图片无法加载"));
        tile.appendChild(text_element("span", "myImg-failed-name", name));
        tile.addEventListener("click", function () { open_viewer(number_of(img)); });
        img.viewerTile = tile;
        img.style.display = "none";
        img.parentNode.insertBefore(tile, img.nextSibling);
        var block = block_of(img);
        grid.failed[block] = (grid.failed[block] || 0) + 1;
        if (block === grid.shownBlock) update_failed_notice();
    }

    function update_failed_notice() {
        var count = grid.failed[grid.shownBlock] || 0;
        if (!grid.notice) {
            var bar = document.querySelector(".page-icon");
            if (!bar || !count) return;
            grid.notice = text_element("span", "page-notice", "");
            grid.notice.setAttribute("role", "status");
            bar.insertBefore(grid.notice, bar.firstChild);
        }
        grid.notice.textContent = count ? "本页 " + count + " 张图片无法加载" : "";
        grid.notice.style.display = count ? "" : "none";
    }

    function text_element(tag, className, text) {
        var element = document.createElement(tag);
        element.className = className;
        element.textContent = text;
        return element;
    }

    // --- The overlay and its controls ----------------------------------------

    function make_button(kind, label, text, action) {
        var button = document.createElement("button");
        button.type = "button";
        button.className = "viewer-button viewer-" + kind;
        button.setAttribute("aria-label", label);
        button.title = label;
        button.textContent = text;
        // The overlay closes on any click that reaches it; a control's does not.
        button.addEventListener("click", function (event) {
            event.stopPropagation();
            action();
        });
        return button;
    }

    // The original as an ordinary link, so that it opens, saves or copies as
    // any link does, from disk or from a web server. In a tab of its own, the
    // viewer stays where it was.
    function make_original_link() {
        var link = text_element("a", "viewer-button viewer-original", "原图");
        link.target = "_blank";
        link.rel = "noopener";
        link.addEventListener("click", function (event) { event.stopPropagation(); });
        return link;
    }

    function make_controls() {
        var ui = {
            box: text_element("div", "viewer-controls", ""),
            prev: make_button("prev", "上一张", "\u2039", function () { step(-1); }),
            next: make_button("next", "下一张", "\u203A", function () { step(1); }),
            fit: make_button("fit", "适应窗口", "适应", toggle_fit),
            fullscreen: make_button("fullscreen", "全屏", "全屏", toggle_fullscreen),
            slideshow: make_button("slideshow", "开始幻灯片", "播放", toggle_slideshow),
            original: make_original_link(),
            close: make_button("close", "关闭", "\u00D7", function () { close_viewer(false); }),
            caption: text_element("div", "viewer-caption", ""),
            count: text_element("span", "viewer-count", ""),
            name: text_element("span", "viewer-name", ""),
            spinner: text_element("div", "viewer-spinner", ""),
            message: text_element("div", "viewer-message", "")
        };
        var tools = text_element("div", "viewer-tools", "");
        tools.appendChild(ui.fit);
        tools.appendChild(ui.fullscreen);
        tools.appendChild(ui.slideshow);
        tools.appendChild(ui.original);
        tools.appendChild(ui.close);
        ui.caption.setAttribute("aria-live", "polite");
        ui.caption.appendChild(ui.count);
        ui.caption.appendChild(ui.name);
        ui.spinner.setAttribute("role", "status");
        ui.spinner.setAttribute("aria-label", "正在加载");
        ui.message.setAttribute("role", "alert");
        [ui.prev, ui.next, tools, ui.caption, ui.spinner, ui.message].forEach(function (part) {
            ui.box.appendChild(part);
        });
        return ui;
    }

    // Moves the controls into an overlay and listens to it and its picture.
    function use_host(host) {
        if (viewer.host === host) return host;
        if (!viewer.ui) viewer.ui = make_controls();
        viewer.host = host;
        viewer.content = host.querySelector(".content") || host.appendChild(document.createElement("img"));
        host.appendChild(viewer.ui.box);
        host.setAttribute("role", "dialog");
        host.setAttribute("aria-modal", "true");
        host.setAttribute("aria-label", "图片查看器");
        host.tabIndex = -1;
        host.classList.toggle("viewer-fit", viewer.fit);
        // Runs after the overlay's own click handler, which hides it.
        host.addEventListener("click", function () {
            if (viewer.host === host && viewer.number && host.style.display === "none") close_viewer(false);
        });
        host.addEventListener("touchstart", on_touch_start, { passive: true });
        host.addEventListener("touchmove", on_touch_move, { passive: false });
        host.addEventListener("touchend", on_touch_end, { passive: false });
        viewer.content.addEventListener("load", on_content_settled);
        viewer.content.addEventListener("error", on_content_settled);
        return host;
    }

    // While the page is still being read its overlay does not exist yet: a
    // stand-in of the same classes lets a thumbnail click open at once.
    function stand_in() {
        if (!viewer.standIn) {
            var host = text_element("div", "modal", "");
            var content = document.createElement("img");
            content.className = "content";
            host.appendChild(content);
            host.addEventListener("click", function () { host.style.display = "none"; });
            document.body.appendChild(host);
            viewer.standIn = host;
        }
        return use_host(viewer.standIn);
    }

    function current_host() {
        var modal = document.getElementById("myModal");
        return modal ? use_host(modal) : stand_in();
    }

    // Once the page's own overlay exists, the viewer moves into it.
    function adopt_page_overlay() {
        var modal = document.getElementById("myModal");
        if (!modal || !viewer.standIn) return;
        var open = viewer.number;
        var focused = viewer.standIn.contains(document.activeElement);
        viewer.standIn.parentNode.removeChild(viewer.standIn);
        viewer.standIn = null;
        use_host(modal);
        if (open) {
            modal.style.display = "block";
            viewer.number = 0;
            show_picture(open);
            if (focused) viewer.ui.close.focus();
        }
    }

    // --- Showing pictures ----------------------------------------------------

    // Opens the viewer on picture n, or moves it there when it is open.
    function open_viewer(n, address) {
        var img = picture(n);
        if (!img) return false;
        var opening = !viewer.number;
        var host = current_host();
        host.style.display = "block";
        document.documentElement.classList.add("viewer-open");
        show_picture(n, opening ? (address || "push") : "replace");
        if (opening) viewer.ui.close.focus();
        return true;
    }

    function show_picture(n, address) {
        var img = picture(n);
        if (!img || n === viewer.number) return !!img;
        viewer.number = n;
        var block = block_of(img);
        if (block && block !== grid.shownBlock) show_block(block);
        set_content(img);
        update_caption();
        // Fetched now, the neighbours would share the network with the
        // file that the thumbnail stands in for.
        viewer.preloadAfter = viewer.preview ? n : 0;
        if (!viewer.preview) preload_neighbours(n);
        write_viewer_address(address || "replace");
        if (viewer.slideshow) schedule_slide();
        return true;
    }

    // Gives the overlay's picture the address of the picture's sharp file
    // (sharp_rank): one of its display copies, or what src names, as the
    // page's own demo() does. Until that file has arrived, the thumbnail
    // stands in when there is one; a spinner shows while there is nothing to
    // show.
    function set_content(img) {
        var host = viewer.host;
        var content = viewer.content;
        var thumbnail = thumbnail_of(img);
        end_preview();
        viewer.larger = null;
        content.alt = file_name(img);
        // A new address alone would leave the previous picture on screen,
        // over the thumbnail, until the new file arrives.
        if (thumbnail) content.removeAttribute("src");
        var files = files_of(img);
        show_file(files, sharp_rank(files));
        host.classList.remove("viewer-failed");
        var waiting = !content.complete;
        var previewed = waiting && !!thumbnail && start_preview(thumbnail);
        host.classList.toggle("viewer-loading", waiting && !previewed);
        if (content.complete && content.naturalWidth === 0) show_failure();
        host.scrollTop = 0;
    }

    function on_content_settled(event) {
        var host = viewer.host;
        if (!host || event.target !== viewer.content) return;
        if (event.type === "error" && fall_back_from_copy()) return;
        host.classList.remove("viewer-loading");
        // A late event of a picture shown before leaves the preview alone.
        if (viewer.content.complete) {
            var waiting = viewer.preloadAfter;
            viewer.preloadAfter = 0;
            end_preview();
            if (waiting && waiting === viewer.number) preload_neighbours(waiting);
        }
        if (event.type === "error") show_failure();
    }

    // The thumbnail a grid picture names in srcset ("<address> <width>w"):
    // its address and its size, which its file name ends with
    // ("-504x336.jpg"); null for a picture without one, or whose thumbnail
    // failed and was dropped.
    function thumbnail_of(img) {
        var address = (img.getAttribute("srcset") || "").trim().split(/\s+/)[0];
        var size = /-(\d+)x(\d+)\.[a-z]+$/.exec(address.split(/[?#]/)[0]);
        return size ? { address: address, width: +size[1], height: +size[2] } : null;
    }

    // --- Display copies ------------------------------------------------------
    // A picture with a thumbnail may have display copies of a few sizes
    // beside it, listed in data-copies ("1280x960 2048x1536", smallest
    // first) and named as the thumbnail with the size replaced. The viewer
    // shows the smallest copy that is sharp where the picture shows, and what
    // src names (the original) only when the screen needs more than every
    // copy. For an original browsers cannot show, src names the largest copy,
    // the most the viewer ever shows of it.

    // A picture's files: its copies ({ address, width, height }, smallest
    // first, a copy src names left out) and the address src names, as file
    // rank copies.length; width and height give the picture's proportions.
    // Without a thumbnail (none, or dropped as failed) or once a copy has
    // failed, only src.
    function files_of(img) {
        var files = { copies: [], original: img.src, width: 0, height: 0 };
        var thumbnail = thumbnail_of(img);
        var sizes = thumbnail && !img.viewerCopiesFailed ? (img.getAttribute("data-copies") || "").split(" ") : [];
        for (var i = 0; i < sizes.length; i++) {
            var size = /^(\d+)x(\d+)$/.exec(sizes[i]);
            if (!size) continue;
            var address = thumbnail.address.replace(/-\d+x\d+(\.[a-z]+)$/, "-" + sizes[i] + "$1");
            files.width = +size[1];
            files.height = +size[2];
            if (address !== img.getAttribute("src")) {
                files.copies.push({ address: address, width: files.width, height: files.height });
            }
        }
        return files;
    }

    function has_copies(n) {
        var img = picture(n);
        return !!img && img.hasAttribute("data-copies");
    }

    function file_address(files, rank) {
        return rank < files.copies.length ? files.copies[rank].address : files.original;
    }

    // The rank of the smallest copy that is sharp where the picture shows:
    // its pixels at least SHARP of the device pixels of its place, both ways
    // (a phone's pinch zoom included). Fitted, a copy must also be at least
    // its place, as a fitted picture is never enlarged and the original,
    // larger than any copy, would fill it. The original when no copy is sharp.
    function sharp_rank(files) {
        if (!files.copies.length) return 0;
        var place = place_of(files);
        var zoom = window.visualViewport ? Math.max(window.visualViewport.scale, 1) : 1;
        var least = Math.max(SHARP * (window.devicePixelRatio || 1) * zoom, viewer.fit ? 1 : 0);
        for (var rank = 0; rank < files.copies.length; rank++) {
            var copy = files.copies[rank];
            // A pixel of rounding between the sizes of copies is no blur.
            if (copy.width + 1 >= least * place.width && copy.height + 1 >= least * place.height) return rank;
        }
        return files.copies.length;
    }

    // The place, in CSS pixels, that the picture of files takes in the
    // overlay as it stands (fitted or not, the window's size, the style
    // sheet's variant): the overlay's picture is laid out as a copy with the
    // picture's proportions, measured, and put back before anything is
    // drawn. Fitted, the picture is drawn whole inside that box.
    function place_of(files) {
        var host = viewer.host;
        var content = viewer.content;
        var was = { ratio: content.style.aspectRatio, copy: host.classList.contains("viewer-copy"), top: host.scrollTop };
        content.style.aspectRatio = files.width + " / " + files.height;
        host.classList.add("viewer-copy");
        var box = content.getBoundingClientRect();
        content.style.aspectRatio = was.ratio;
        host.classList.toggle("viewer-copy", was.copy);
        host.scrollTop = was.top;
        if (!viewer.fit) return { width: box.width, height: box.height };
        var scale = Math.min(box.width / files.width, box.height / files.height);
        return { width: files.width * scale, height: files.height * scale };
    }

    // Points the overlay's picture at file rank of files.
    function show_file(files, rank) {
        viewer.host.classList.toggle("viewer-copy", rank < files.copies.length);
        viewer.content.src = file_address(files, rank);
        viewer.shown = { files: files, rank: rank, src: viewer.content.src };
    }

    // A resize, a turn, fullscreen or fitting may make a larger file the
    // sharp one: it takes the place of the shown picture once it has
    // arrived, or at once while nothing sharp shows yet. A smaller file never
    // replaces a picture that is sharp already: it would cost a download to
    // show less. The neighbours' sharp files are fetched anew once the shown
    // picture is sharp. Pictures without copies are left as they are.
    function pick_again() {
        viewer.pickFrame = 0;
        var n = viewer.number;
        var shown = viewer.shown;
        if (!n || !shown || ![n - 1, n, n + 1].some(has_copies)) return;
        var rank = shown.files.copies.length ? sharp_rank(shown.files) : 0;
        if (rank <= shown.rank || (viewer.larger && viewer.larger.rank >= rank)) {
            if (!viewer.preloadAfter && !viewer.larger) preload_neighbours(n);
        } else if (viewer.preview || !viewer.content.complete) {
            show_file(shown.files, rank);
        } else {
            fetch_larger(shown.files, rank);
        }
    }

    function fetch_larger(files, rank) {
        var probe = new Image();
        viewer.larger = { probe: probe, rank: rank };
        probe.addEventListener("load", function () {
            if (!viewer.larger || viewer.larger.probe !== probe) return;
            viewer.larger = null;
            show_file(files, rank);
            preload_neighbours(viewer.number);
        });
        // The picture shown stays; a later change of size tries again.
        probe.addEventListener("error", function () {
            if (viewer.larger && viewer.larger.probe === probe) viewer.larger = null;
        });
        probe.src = file_address(files, rank);
    }

    // Window sizes change many times a frame while a window is dragged.
    function pick_soon() {
        if (viewer.number && !viewer.pickFrame) viewer.pickFrame = requestAnimationFrame(pick_again);
    }

    // A copy that does not load gives way to what src names; the picture's
    // copies are not tried again.
    function fall_back_from_copy() {
        var shown = viewer.shown;
        var img = picture(viewer.number);
        if (!img || !shown || shown.src !== viewer.content.src || shown.rank >= shown.files.copies.length) {
            return false;
        }
        img.viewerCopiesFailed = true;
        show_file(files_of(img), 0);
        return true;
    }

    // Shows the thumbnail as the background of the overlay's picture, whose
    // box takes the thumbnail's proportions, the original's give or take
    // rounding: the original then covers it exactly. The thumbnail is the
    // grid's, usually loaded already; true when it is.
    function start_preview(thumbnail) {
        var probe = new Image();
        viewer.preview = probe;
        probe.addEventListener("load", function () {
            if (viewer.preview === probe) viewer.host.classList.remove("viewer-loading");
        });
        probe.addEventListener("error", function () {
            if (viewer.preview === probe) end_preview();
        });
        probe.src = thumbnail.address;
        viewer.content.style.aspectRatio = thumbnail.width + " / " + thumbnail.height;
        viewer.content.style.backgroundImage = css_url(probe.src);
        viewer.host.classList.add("viewer-preview");
        return probe.complete && probe.naturalWidth > 0;
    }

    function end_preview() {
        if (!viewer.preview) return;
        viewer.preview = null;
        viewer.content.style.aspectRatio = "";
        viewer.content.style.backgroundImage = "";
        viewer.host.classList.remove("viewer-preview");
    }

    // A CSS url() of an address; quotes, backslashes and line breaks escaped.
    function css_url(address) {
        return 'url("' + address.replace(/["\\\n\r\f]/g, function (c) {
            return "\\" + c.charCodeAt(0).toString(16) + " ";
        }) + '")';
    }

    function show_failure() {
        var img = picture(viewer.number);
        viewer.host.classList.add("viewer-failed");
        viewer.ui.message.textContent = "图片无法加载：" + (img ? file_name(img) : "");
    }

    function update_caption() {
        var ui = viewer.ui;
        var n = viewer.number;
        var last = last_number();
        ui.count.textContent = "第 " + n + " / " + (last || "\u2026") + " 张";
        var img = picture(n);
        ui.name.textContent = file_name(img);
        ui.original.setAttribute("href", original_source(img));
        ui.original.setAttribute("aria-label", "原图：" + file_name(img));
        ui.original.title = ui.original.getAttribute("aria-label");
        ui.prev.setAttribute("aria-disabled", String(n <= 1));
        ui.next.setAttribute("aria-disabled", String(!picture(n + 1)));
    }

    // The neighbours' sharp files start loading now, so a step shows at once.
    function preload_neighbours(n) {
        viewer.preloads = [picture(n + 1), picture(n - 1)].filter(Boolean).map(function (img) {
            var files = files_of(img);
            var early = new Image();
            early.src = file_address(files, sharp_rank(files));
            return early;
        });
    }

    function step(delta) {
        return viewer.number ? show_picture(viewer.number + delta) : false;
    }

    function close_viewer(fromHistory) {
        var n = viewer.number;
        if (!n) return;
        viewer.number = 0;
        viewer.larger = null;
        cancel_address();
        viewer.host.style.display = "none";
        document.documentElement.classList.remove("viewer-open");
        stop_slideshow();
        if (document.fullscreenElement) toggle_fullscreen();
        var item = grid_item(n);
        if (item && item.offsetParent) item.focus();
        if (!fromHistory) leave_viewer_address();
    }

    // --- Fit, fullscreen, slideshow ------------------------------------------

    // Switches between the style sheet's display and the whole picture fitted
    // into the window.
    function toggle_fit() {
        viewer.fit = !viewer.fit;
        if (viewer.host) viewer.host.classList.toggle("viewer-fit", viewer.fit);
        var label = viewer.fit ? "原样显示" : "适应窗口";
        viewer.ui.fit.setAttribute("aria-label", label);
        viewer.ui.fit.title = label;
        viewer.ui.fit.textContent = viewer.fit ? "原样" : "适应";
        pick_soon();
    }

    // Browsers refuse fullscreen without a user gesture; that is no error here.
    function toggle_fullscreen() {
        try {
            var done = document.fullscreenElement ? document.exitFullscreen()
                : document.documentElement.requestFullscreen();
            if (done && done.catch) done.catch(function () {});
        } catch (refused) {
            // Nothing to do: the page simply stays as it is.
        }
    }

    function toggle_slideshow() {
        if (viewer.slideshow) {
            stop_slideshow();
        } else if (viewer.number && picture(viewer.number + 1)) {
            schedule_slide();
        }
    }

    function schedule_slide() {
        clearTimeout(viewer.slideshow);
        viewer.slideshow = setTimeout(function () {
            if (!step(1) || !picture(viewer.number + 1)) stop_slideshow();
        }, SLIDE_MS);
        slideshow_label(true);
    }

    function stop_slideshow() {
        clearTimeout(viewer.slideshow);
        viewer.slideshow = 0;
        slideshow_label(false);
    }

    function slideshow_label(running) {
        var button = viewer.ui && viewer.ui.slideshow;
        if (!button) return;
        button.setAttribute("aria-label", running ? "停止幻灯片" : "开始幻灯片");
        button.title = button.getAttribute("aria-label");
        button.textContent = running ? "暂停" : "播放";
    }

    // --- Keys, focus and touch -----------------------------------------------

    function on_key(event) {
        if (event.ctrlKey || event.altKey || event.metaKey) return;
        if (!viewer.number) {
            open_from_grid(event);
            return;
        }
        var actions = {
            ArrowRight: function () { step(1); },
            ArrowLeft: function () { step(-1); },
            Home: function () { show_picture(1); },
            End: function () { show_picture(last_number()); },
            Escape: function () { close_viewer(false); },
            " ": toggle_slideshow,
            z: toggle_fit,
            Z: toggle_fit,
            f: toggle_fullscreen,
            F: toggle_fullscreen,
            Tab: function () { cycle_focus(event.shiftKey ? -1 : 1); }
        };
        var action = actions[event.key];
        if (!action) return;
        event.preventDefault();
        action();
    }

    // Enter (or Space) on a focused thumbnail or tile opens it.
    function open_from_grid(event) {
        if (event.key !== "Enter" && event.key !== " ") return;
        var target = event.target;
        var img = is_thumbnail(target) ? target
            : target.classList && target.classList.contains("myImg-failed") ? target.previousSibling : null;
        if (!is_thumbnail(img)) return;
        event.preventDefault();
        open_viewer(number_of(img));
    }

    // Tab and Shift+Tab go round the viewer's controls and never leave it.
    function cycle_focus(direction) {
        var controls = [viewer.ui.prev, viewer.ui.next, viewer.ui.fit, viewer.ui.fullscreen,
            viewer.ui.slideshow, viewer.ui.original, viewer.ui.close];
        var at = controls.indexOf(document.activeElement);
        var next = at < 0 ? 0 : (at + direction + controls.length) % controls.length;
        controls[next].focus();
    }

    function keep_focus_inside(event) {
        if (viewer.number && viewer.host && !viewer.host.contains(event.target)) viewer.ui.close.focus();
    }

    function on_touch_start(event) {
        var t = event.touches[0];
        viewer.touch = event.touches.length === 1
            ? { x: t.clientX, y: t.clientY, top: viewer.host.scrollTop } : null;
    }

    // A sideways move belongs to the viewer: the browser neither scrolls nor
    // flings, so the next tap is a tap again.
    function on_touch_move(event) {
        var start = viewer.touch;
        var t = event.touches[0];
        if (start && event.cancelable && Math.abs(t.clientX - start.x) > Math.abs(t.clientY - start.y)) {
            event.preventDefault();
        }
    }

    // A sideways swipe steps, a downward swipe closes; anything shorter stays
    // a tap, whose click closes the overlay as before.
    function on_touch_end(event) {
        var start = viewer.touch;
        viewer.touch = null;
        if (!start || !viewer.number) return;
        var t = event.changedTouches[0];
        var dx = t.clientX - start.x;
        var dy = t.clientY - start.y;
        if (Math.abs(dx) >= SWIPE_PX && Math.abs(dx) > Math.abs(dy)) {
            event.preventDefault();
            step(dx < 0 ? 1 : -1);
        } else if (dy >= SWIPE_PX && dy > Math.abs(dx) && start.top === 0) {
            event.preventDefault();
            close_viewer(false);
        }
    }

    // --- The address ---------------------------------------------------------
    // "#p3" is block 3; "#p3-57" is picture 57, open in the viewer, in block 3.
    // Opening the viewer adds one history entry, so Back closes it first; every
    // other change replaces the current entry.

    function parse_address(hash) {
        var match = /^#p(\d+)(?:-(\d+))?$/.exec(hash || "");
        return match ? { block: parseInt(match[1], 10), picture: match[2] ? parseInt(match[2], 10) : 0 } : null;
    }

    function write_address(fragment, state, push) {
        try {
            if (push) {
                history.pushState(state, "", "#" + fragment);
            } else {
                history.replaceState(state, "", "#" + fragment);
            }
        } catch (refused) {
            // A browser that keeps no history for pages opened from disk still
            // follows the fragment itself.
            try {
                if (push) {
                    location.hash = fragment;
                } else {
                    location.replace(location.href.split("#")[0] + "#" + fragment);
                }
            } catch (ignored) {
                // The address then simply stays as it was.
            }
        }
    }

    // Steps inside the viewer replace the address at most once in a short
    // while, the last step always included: a browser limits how often a page
    // may rewrite its history, and a held arrow key should cost no more than
    // the pictures it shows.
    function write_address_soon(fragment, state) {
        cancel_address();
        var wait = viewer.addressWritten + ADDRESS_DELAY_MS - Date.now();
        var write = function () {
            viewer.pendingAddress = 0;
            viewer.addressWritten = Date.now();
            write_address(fragment, state, false);
        };
        if (wait <= 0) {
            write();
        } else {
            viewer.pendingAddress = setTimeout(write, wait);
        }
    }

    function cancel_address() {
        clearTimeout(viewer.pendingAddress);
        viewer.pendingAddress = 0;
    }

    function write_viewer_address(how) {
        var fragment = "p" + grid.shownBlock + "-" + viewer.number;
        var reloaded = history.state && history.state.galleryViewer;
        if (how === "replace" || (how === "link" && reloaded)) {
            write_address_soon(fragment, VIEWER_STATE);
        } else if (how === "push") {
            write_address(fragment, VIEWER_STATE, true);
        } else if (how === "link") {
            // Opened from a link: an entry for the block first, so Back closes.
            write_address("p" + grid.shownBlock, null, false);
            write_address(fragment, VIEWER_STATE, true);
        }
    }

    function leave_viewer_address() {
        if (history.state && history.state.galleryViewer) {
            viewer.expectBack = true;
            history.back();
        } else {
            write_address("p" + grid.shownBlock, null, false);
        }
    }

    function on_history_move() {
        var place = parse_address(location.hash);
        if (viewer.expectBack) {
            viewer.expectBack = false;
        } else if (place && place.picture && picture(place.picture)) {
            open_viewer(place.picture, "none");
            return;
        } else if (viewer.number) {
            close_viewer(true);
        } else if (place && block_exists(place.block)) {
            show_block(place.block);
            return;
        }
        // The entry left behind may name an older block than the one shown.
        write_address("p" + grid.shownBlock, history.state, false);
    }

    function block_exists(k) {
        return !!block_element(page_at(k));
    }

    // A linked block shows at once, before the page has been read, through a
    // rule that page_option's own settings later override.
    function show_linked_block_early(k) {
        if (k === 1 || !page_at(k)) return null;
        var rule = document.createElement("style");
        rule.textContent = ".page-1{display:none}." + page_at(k) + "{display:block}";
        document.head.appendChild(rule);
        return rule;
    }

    // Calls act(element) as soon as find() returns one: now, on a later frame
    // while the page is being read, or at the latest once it has been read.
    function when_present(find, act) {
        var done = false;
        var attempt = function () {
            var found = !done && find();
            if (found) {
                done = true;
                act(found);
            } else if (!done && document.readyState === "loading") {
                requestAnimationFrame(attempt);
            }
        };
        if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", attempt);
        attempt();
    }

    function follow_start_address() {
        var place = parse_address(location.hash);
        if (!place) return;
        if (place.picture) {
            when_present(function () { return picture(place.picture); }, function () {
                open_viewer(place.picture, "link");
            });
            return;
        }
        var rule = show_linked_block_early(place.block);
        document.addEventListener("DOMContentLoaded", function () {
            if (rule) rule.parentNode.removeChild(rule);
            if (grid.shownBlock !== 1) return;
            show_block(block_exists(place.block) ? place.block : 1);
        });
        when_present(page_field, function (field) {
            if (grid.shownBlock === 1) field.value = place.block;
        });
    }

    // --- Start ---------------------------------------------------------------

    // The page declares no viewport of its own; without one a phone lays it
    // out 980 pixels wide and every control shrinks out of a finger's reach.
    function prepare_document() {
        document.documentElement.lang = "zh-CN";
        if (!document.querySelector("meta[name=viewport]")) {
            var meta = document.createElement("meta");
            meta.name = "viewport";
            meta.content = "width=device-width, initial-scale=1";
            document.head.appendChild(meta);
        }
    }

    function viewer_demo(imgId) {
        var n = number_in(imgId);
        if (n && open_viewer(n)) return;
        // Anything else is shown the plain way.
        var modal = current_host();
        modal.style.display = "block";
        end_preview();
        viewer.content.src = document.getElementById(imgId).src;
    }

    function on_page_read() {
        window.demo = viewer_demo;
        adopt_page_overlay();
        prepare_thumbnails(block_element(page_at(grid.shownBlock)));
        update_failed_notice();
        if (viewer.number) update_caption();
    }

    after_block_shown = function (pagename) {
        var k = pagename ? page_names.indexOf(pagename) + 1 : 0;
        grid.shownBlock = k;
        prepare_thumbnails(block_element(pagename));
        update_failed_notice();
        if (k && !viewer.number) write_address("p" + k, null, false);
    };

    window.demo = viewer_demo;
    prepare_document();
    document.addEventListener("error", on_load_error, true);
    document.addEventListener("keydown", on_key);
    document.addEventListener("focusin", keep_focus_inside);
    window.addEventListener("popstate", on_history_move);
    window.addEventListener("resize", pick_soon);
    if (window.visualViewport) window.visualViewport.addEventListener("resize", pick_soon);
    document.addEventListener("fullscreenchange", pick_soon);
    document.addEventListener("DOMContentLoaded", on_page_read);
    follow_start_address();
})();
