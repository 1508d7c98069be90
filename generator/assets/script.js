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

// Hides every block of the list, then shows the blocks named pagename.
function page_option(pagename) {
    for (var i = 0; i < page_names.length; i++) {
        set_display(page_names[i], "none");
    }
    if (pagename) {
        set_display(pagename, "block");
    }
}

function set_display(classname, display) {
    var blocks = document.getElementsByClassName(classname);
    for (var i = 0; i < blocks.length; i++) {
        blocks[i].style.display = display;
    }
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
