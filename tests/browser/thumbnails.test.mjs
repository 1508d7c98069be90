// Sub-gallery pages with thumbnails: the grid fetches thumbnails and never
// the originals, falls back to the original and then to the labelled tile
// when files are missing, and the viewer shows the grid's thumbnail at once,
// drawn where the original then takes its place. Pages from disk and from a
// local web server, in a desktop window and on a touch phone.
import { after, afterEach, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { openBrowser, pageUrl, serveFiles, sitesFolder } from './browser.mjs';

const DESK = { viewport: { width: 1280, height: 800 } };
const PHONE = { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 };

// 200 photos of 1584 × 1056, each with its 504 × 336 thumbnail, in one block.
const PHOTOS = '图库五/照片';
// Blocks of 3: two photos with thumbnails, one whose thumbnail is missing |
// one whose thumbnail and original are missing, one too small for a
// thumbnail, a photo with its thumbnail. Both style sheet variants.
const MIXED = ['图库五/缩略图', '图库五/缩略图拉伸'];
const HOSTILE = '缩略图 "引号" \'单\' (括号) #?% \\ 库/怪名 #?%';

const isOriginal = (url) => url.includes('/pictures/');
const isThumbnail = (url) => url.includes('/img/thumbs/');
const fileOf = (url) => decodeURIComponent(url.split(/[?#]/)[0].split('/').pop());
const THUMBNAIL_NAME = /^[0-9a-f]{16}-504x336\.jpg$/;

let server;
before(async () => { server = await serveFiles(sitesFolder()); });
after(() => server.close());
const TRANSPORTS = [['from disk', () => undefined], ['over HTTP', () => server.origin]];

// A fresh tab on the page, recording every address it asks for. With gates
// ('open' or 'shut' to begin with), originals and thumbnails can be held
// back: page.gates.originals.shut(), .open().
async function openPage(browser, key, origin, { hash = '', gates = null } = {}) {
  const page = await browser.context.newPage();
  page.requested = [];
  page.errors = [];
  page.on('request', (request) => page.requested.push(request.url()));
  page.on('pageerror', (error) => page.errors.push(error.message));
  const shut = gates === 'shut';
  if (gates) {
    page.gates = { originals: await gate(page, isOriginal, shut), thumbnails: await gate(page, isThumbnail, shut) };
  }
  await page.goto(pageUrl(key, origin) + hash, { waitUntil: shut ? 'domcontentloaded' : 'load' });
  return page;
}

async function gate(page, matches, shutAtFirst) {
  let shut = shutAtFirst;
  const waiting = [];
  const pass = (route) => route.continue().catch(() => {});
  await page.route((url) => matches(url.href), (route) => (shut ? waiting.push(route) : pass(route)));
  return {
    shut() { shut = true; },
    open() { shut = false; waiting.splice(0).forEach(pass); },
  };
}

// Waits until every grid picture on the screen has loaded or become a tile;
// their ids.
async function screenSettled(page) {
  const ids = await page.waitForFunction(() => {
    const onScreen = [...document.querySelectorAll('img.myImg')].filter((img) => {
      const r = img.getBoundingClientRect();
      return r.width > 0 && r.bottom > 0 && r.top < innerHeight;
    });
    // A failed load is complete too, until its error handler has run and
    // tried the original or hidden it behind the tile: not yet settled.
    return onScreen.length > 0 && onScreen.every((img) => img.complete && img.naturalWidth > 0) &&
      onScreen.map((img) => img.id);
  });
  return ids.jsonValue();
}

// The shown block's pictures: what each shows (a file name, or "tile") and
// whether it still names a thumbnail.
function shownGrid(page) {
  return page.evaluate(() => [...document.querySelectorAll('img.myImg')]
    .filter((img) => getComputedStyle(img.parentNode).display !== 'none')
    .map((img) => [img.id, img.style.display === 'none' ? 'tile'
      : img.complete && img.naturalWidth > 0 ? decodeURIComponent(img.currentSrc.split('/').pop()) : 'nothing',
    img.hasAttribute('srcset') || img.hasAttribute('sizes')]));
}

const notice = (page) => page.locator('.page-notice').evaluateAll((all) =>
  all.map((e) => (getComputedStyle(e).display === 'none' ? '' : e.textContent)).join(''));

// The viewer as the visitor sees it, with the picture it shows and that
// picture's thumbnail address.
function viewerState(page) {
  return page.evaluate(() => {
    const modal = document.getElementById('myModal');
    const content = document.getElementById('img01');
    const n = parseInt(modal.querySelector('.viewer-count').textContent.replace(/^\D+/, ''), 10);
    const grid = document.getElementById(`Img${n}`);
    const srcset = grid.getAttribute('srcset');
    const r = content.getBoundingClientRect();
    return {
      n,
      name: modal.querySelector('.viewer-name').textContent,
      preview: modal.classList.contains('viewer-preview'),
      spinner: getComputedStyle(modal.querySelector('.viewer-spinner')).display !== 'none',
      failed: modal.classList.contains('viewer-failed'),
      src: content.src,
      original: grid.src,
      loaded: content.complete && content.naturalWidth > 0,
      background: getComputedStyle(content).backgroundImage,
      thumbnail: srcset ? new URL(srcset.split(' ')[0], document.baseURI).href : null,
      box: { x: r.x, y: r.y, width: r.width, height: r.height },
    };
  });
}

// Waits until the page has asked for the file.
async function asked(page, name) {
  if (!page.requested.some((url) => fileOf(url) === name)) await page.waitForRequest((r) => fileOf(r.url()) === name);
}

// Waits until the page holds the original of picture n, fetched ahead: a
// picture made now with its address is complete at once.
const fetchedAhead = (page, n) => page.waitForFunction((id) => {
  const probe = new Image();
  probe.src = document.getElementById(id).src;
  return probe.complete && probe.naturalWidth > 0;
}, `Img${n}`);
const thumbnailArrived = (page) =>
  page.waitForFunction(() => !document.getElementById('myModal').classList.contains('viewer-loading'));
const loadedOriginal = (page) => page.waitForFunction(() => {
  const content = document.getElementById('img01');
  return content.complete && content.naturalWidth > 0;
});

// The thumbnail stands in: the viewer names the original, which has not
// arrived, and draws the thumbnail without a spinner.
function assertPreview(seen) {
  assert.equal(seen.src, seen.original, 'the viewer names the original');
  assert.equal(seen.loaded, false, 'the original is held back');
  assert.deepEqual([seen.preview, seen.spinner], [true, false], `picture ${seen.n}: preview, no spinner`);
  assert.equal(seen.background, `url("${seen.thumbnail}")`);
}

function assertOriginal(seen) {
  assert.equal(seen.src, seen.original);
  assert.deepEqual([seen.loaded, seen.preview, seen.spinner, seen.background], [true, false, false, 'none'],
    `picture ${seen.n} shows its original alone`);
}

function near(a, b, what) {
  for (const side of ['x', 'y', 'width', 'height']) {
    assert.ok(Math.abs(a[side] - b[side]) <= 1, `${what}: ${JSON.stringify(a)} against ${JSON.stringify(b)}`);
  }
}

// Reads colours at points of encoded pictures, decoding them in the page.
function colours(page, pictures) {
  return page.evaluate((all) => Promise.all(all.map(async ({ url, points }) => {
    const image = new Image();
    image.src = url;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = image.naturalWidth;
    canvas.height = image.naturalHeight;
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return points.map(([x, y]) => [...context.getImageData(Math.floor(x), Math.floor(y), 1, 1).data.slice(0, 3)]);
  })), pictures);
}

// The screenshot, taken while the thumbnail stood in, shows the thumbnail's
// file where box (the original's place once it arrived) lies: compared at
// the centres of some of its flat 8 × 8 blocks that are on the screen and
// clear of the controls.
async function assertThumbnailDrawn(page, shot, box, thumbnail) {
  const { width, height } = page.viewportSize();
  const blocks = [];
  for (const bx of [10, 31, 52]) {
    for (const by of [8, 21, 34]) {
      const block = [8 * bx + 4, 8 * by + 4];
      const x = box.x + (block[0] / 504) * box.width;
      const y = box.y + (block[1] / 336) * box.height;
      if (x > 64 && x < width - 64 && y > 64 && y < height - 64) blocks.push({ block, screen: [x, y] });
    }
  }
  assert.ok(blocks.length >= 3, JSON.stringify(box));
  const path = thumbnail.startsWith('file:') ? fileURLToPath(thumbnail)
    : decodeURIComponent(new URL(thumbnail).pathname);
  const [expected, seen] = await colours(page, [
    { url: `data:image/jpeg;base64,${readFileSync(path).toString('base64')}`, points: blocks.map((b) => b.block) },
    { url: `data:image/png;base64,${shot.toString('base64')}`, points: blocks.map((b) => b.screen) },
  ]);
  for (const [i, colour] of seen.entries()) {
    const off = Math.max(...colour.map((c, k) => Math.abs(c - expected[i][k])));
    assert.ok(off <= 12, `at ${blocks[i].screen}: ${colour} on screen, ${expected[i]} in the thumbnail`);
  }
}

const screenshot = (page) => page.screenshot({ scale: 'css', animations: 'disabled' });

// The grid, and the originals fetched: none until the viewer opens, then the
// picture's and its neighbours'.
async function gridRun(browser, origin, most) {
  const page = await openPage(browser, PHOTOS, origin);
  const first = await screenSettled(page);
  const thumbnails = () => new Set(page.requested.filter(isThumbnail)).size;
  const before = thumbnails();
  assert.deepEqual(page.requested.filter(isOriginal), []);
  assert.ok(before >= first.length && before <= most, `${before} thumbnails for ${first.length} on the screen`);
  const shown = await page.evaluate((ids) => ids.map((id) => document.getElementById(id).currentSrc), first);
  for (const source of shown) assert.match(fileOf(source), THUMBNAIL_NAME);

  await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
  const last = await screenSettled(page);
  assert.ok(last.includes('Img200'), last.join());
  assert.ok(thumbnails() > before, 'scrolling fetches more thumbnails');
  assert.deepEqual(page.requested.filter(isOriginal), []);

  await page.evaluate(() => window.scrollTo(0, 0));
  await page.locator('#Img2').click();
  await loadedOriginal(page);
  await asked(page, 'IMG_1001.jpg');
  await asked(page, 'IMG_1003.jpg');
  assert.deepEqual(new Set(page.requested.filter(isOriginal).map(fileOf)),
    new Set(['IMG_1001.jpg', 'IMG_1002.jpg', 'IMG_1003.jpg']));
  assertOriginal(await viewerState(page));
  assert.deepEqual(page.errors, []);
}

// Missing files: a missing thumbnail gives way to the original, and a
// missing original too to the labelled tile, which alone is counted.
async function fallbackRun(browser, key, origin) {
  const page = await openPage(browser, key, origin);
  await screenSettled(page);
  const [one, two, three] = await shownGrid(page);
  assert.match(one[1], THUMBNAIL_NAME);
  assert.match(two[1], THUMBNAIL_NAME);
  assert.deepEqual(three, ['Img3', '缺缩略图.jpg', false]);
  assert.equal(await notice(page), '');

  await page.locator('button.nextPage').first().click();
  await screenSettled(page);
  const [four, five, six] = await shownGrid(page);
  assert.deepEqual([four, five], [['Img4', 'tile', false], ['Img5', '湖光.jpg', false]]);
  assert.match(six[1], THUMBNAIL_NAME);
  assert.equal(await notice(page), '本页 1 张图片无法加载');
  assert.equal(await page.locator('.myImg-failed').innerText(), '图片无法加载\n已删除.jpg');
  assert.deepEqual(new Set(page.requested.filter(isOriginal).map(fileOf)),
    new Set(['缺缩略图.jpg', '已删除.jpg', '湖光.jpg']), 'originals fetched by the grid');

  await page.locator('.myImg-failed').focus();
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.getElementById('myModal').classList.contains('viewer-failed'));
  assert.equal(await page.locator('#myModal .viewer-message').innerText(), '图片无法加载：已删除.jpg');
  await page.keyboard.press('ArrowLeft');
  assertOriginal(await viewerState(page));  // the grid loaded it
  assert.deepEqual(page.errors, []);
}

// The viewer with originals held back: the thumbnail shows at once, in the
// layout and then in the fitted display, and the original takes exactly its
// place; the neighbours' originals are fetched once it has arrived, and
// then show at once.
async function previewRun(browser, key, origin) {
  const page = await openPage(browser, key, origin, { gates: 'open' });
  await screenSettled(page);
  page.gates.originals.shut();
  await page.locator('#Img1').click();
  const opened = await viewerState(page);
  assertPreview(opened);
  const openedShot = await screenshot(page);
  assert.ok(!page.requested.some((url) => fileOf(url) === 'IMG_1002.jpg'), 'picture 2 waits for picture 1');
  page.gates.originals.open();
  await loadedOriginal(page);
  const arrived = await viewerState(page);
  assertOriginal(arrived);
  near(arrived.box, opened.box, 'the original takes the box of the thumbnail');
  await assertThumbnailDrawn(page, openedShot, arrived.box, opened.thumbnail);
  await asked(page, 'IMG_1002.jpg');
  await fetchedAhead(page, 2);
  await page.keyboard.press('ArrowRight');
  assertOriginal(await viewerState(page));

  // Picture 6, in block 2, which the grid had not shown: a spinner until its
  // thumbnail arrives, and never picture 2 still on the screen.
  page.gates.originals.shut();
  await page.keyboard.press('End');
  await thumbnailArrived(page);
  const stepped = await viewerState(page);
  assert.equal(stepped.n, 6);
  assertPreview(stepped);
  const steppedShot = await screenshot(page);
  await page.keyboard.press('z');
  assertPreview(await viewerState(page));
  const fittedShot = await screenshot(page);
  page.gates.originals.open();
  await loadedOriginal(page);
  const fitted = await viewerState(page);
  assertOriginal(fitted);
  await assertThumbnailDrawn(page, fittedShot, fitted.box, stepped.thumbnail);
  await page.keyboard.press('z');
  const unfitted = await viewerState(page);
  near(unfitted.box, stepped.box, 'the original takes the box of the thumbnail');
  await assertThumbnailDrawn(page, steppedShot, unfitted.box, stepped.thumbnail);

  await fetchedAhead(page, 5);
  await page.keyboard.press('ArrowLeft');
  assertOriginal(await viewerState(page));
  assert.deepEqual(page.errors, []);
}

// Opened from an address with nothing fetched yet: a spinner until the
// thumbnail arrives, then the thumbnail until the original does; a picture
// without a thumbnail keeps the spinner until its original arrives.
async function addressRun(browser, key) {
  const page = await openPage(browser, key, undefined, { hash: '#p2-6', gates: 'shut' });
  const opened = await viewerState(page);
  assert.equal(opened.n, 6);
  assert.deepEqual([opened.preview, opened.spinner, opened.loaded], [true, true, false], 'spinner');
  page.gates.thumbnails.open();
  await thumbnailArrived(page);
  assertPreview(await viewerState(page));
  await page.keyboard.press('ArrowLeft');
  const plain = await viewerState(page);
  assert.deepEqual([plain.n, plain.preview, plain.spinner, plain.background], [5, false, true, 'none']);
  page.gates.originals.open();
  await loadedOriginal(page);
  assertOriginal(await viewerState(page));
  await fetchedAhead(page, 6);
  await page.keyboard.press('ArrowRight');
  assertOriginal(await viewerState(page));
  assert.deepEqual(page.errors, []);
}

// Names that break addresses, under a main gallery whose name does too:
// every thumbnail loads in the grid and stands in for its original in the
// viewer, and a deleted original ends as a failed picture.
async function hostileRun(browser, origin) {
  const page = await openPage(browser, HOSTILE, origin, { gates: 'shut' });
  page.gates.thumbnails.open();
  assert.equal(await page.title(), '怪名 #?%');
  await page.evaluate(() => { for (const img of document.querySelectorAll('img.myImg')) img.loading = 'eager'; });
  await page.waitForFunction(() => [...document.querySelectorAll('img.myImg')].every((img) => img.complete));
  const grid = await page.locator('img.myImg').evaluateAll((all) => all.map((img) => img.naturalWidth > 0 &&
    img.currentSrc === new URL(img.getAttribute('srcset').split(' ')[0], document.baseURI).href));
  assert.ok(grid.length > 20 && grid.every(Boolean), JSON.stringify(grid));
  assert.deepEqual(page.requested.filter(isOriginal), []);

  await page.locator('#Img1').click();
  const names = [];
  for (let n = 1; n <= grid.length; n++) {
    const seen = await viewerState(page);
    assertPreview(seen);
    names.push(seen.name);
    await page.keyboard.press('ArrowRight');
  }
  for (const name of ['quote".jpg', 'hash#1.jpg', 'back\\slash.jpg', 'line\nbreak.jpg', 'what?.png', '100%.gif']) {
    assert.ok(names.includes(name), name);
  }
  assert.equal(names[names.length - 1], '已删除.jpg');
  page.gates.originals.open();
  await page.waitForFunction(() => document.getElementById('myModal').classList.contains('viewer-failed'));
  const failed = await viewerState(page);
  assert.deepEqual([failed.failed, failed.preview, failed.spinner], [true, false, false]);
  assert.equal(await page.locator('#myModal .viewer-message').innerText(), '图片无法加载：已删除.jpg');
  assert.deepEqual(page.errors, []);
}

// Chromium's lazy loading fetches further ahead on a connection it judges
// slow: the most thumbnails before scrolling leave room for that, well short
// of all 200.
for (const [form, options, most] of [['at 1280×800', DESK, 100], ['on a 390×844 touch phone', PHONE, 60]]) {
  describe(`thumbnails ${form}`, () => {
    let browser;
    before(async () => { browser = await openBrowser(options); });
    after(() => browser.close());
    afterEach(async () => { for (const page of browser.context.pages()) await page.close(); });

    for (const [transport, origin] of TRANSPORTS) {
      test(`${transport}: the grid fetches thumbnails, never originals, at most ${most} before scrolling`, () =>
        gridRun(browser, origin(), most));
    }
    for (const key of MIXED) {
      test(`${key} from disk: the thumbnail shows at once and the original takes its place`, () =>
        previewRun(browser, key, undefined));
    }
  });
}

describe('thumbnails at 1280×800', () => {
  let browser;
  before(async () => { browser = await openBrowser(DESK); });
  after(() => browser.close());
  afterEach(async () => { for (const page of browser.context.pages()) await page.close(); });

  for (const [transport, origin] of TRANSPORTS) {
    for (const key of MIXED) {
      test(`${key} ${transport}: a missing thumbnail gives way to the original, a missing original to the tile`, () =>
        fallbackRun(browser, key, origin()));
    }
    test(`${transport}: hostile names load their thumbnails, which stand in for the originals`, () =>
      hostileRun(browser, origin()));
  }
  test(`${MIXED[0]} over HTTP: the thumbnail shows at once and the original takes its place`, () =>
    previewRun(browser, MIXED[0], server.origin));
  for (const key of MIXED) {
    test(`${key}: opened from an address, a spinner only while nothing can be shown`, () => addressRun(browser, key));
  }
});
