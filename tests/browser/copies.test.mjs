// Sub-gallery pages with display copies: the viewer shows the smallest copy
// that is sharp where the picture shows, the original only where no copy is,
// picks again when the window changes, and fetches ahead the neighbours'
// copies; a resize, a turn of the phone and its pinch zoom pick again; the
// 原图 link names the original; a HEIC original is never fetched.
// Six pictures in one block: wide and tall 2560 × 1920 photos with copies of
// 1280, 1600 and 2048 pixels, one with its thumbnail alone (Img3) and a HEIC
// original with JPEG copies (Img4), in both style sheet variants.
import { after, afterEach, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { openBrowser, pageUrl, serveFiles, sitesFolder } from './browser.mjs';

const DESK = { viewport: { width: 1280, height: 800 } };
const WIDE = { viewport: { width: 1920, height: 1080 } };
const PHONE = { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 };
const COPIES = [['图库六/副本', false], ['图库六/副本拉伸', true]];  // [key, stretched]
const NAMES = ['湖畔.jpg', '塔楼.jpg', '无副本.jpg', 'IMG_0004.heic', '山谷.jpg', '灯塔.jpg'];
const SHARP = 0.9;

const fileOf = (url) => decodeURIComponent(url.split(/[?#]/)[0].split('/').pop());
const isCopy = (url) => /\/img\/thumbs\/[0-9a-f]{16}-(?!504x|378x)\d+x\d+\.jpg$/.test(url);
const isOriginal = (url) => url.includes('/pictures/');

// A fresh tab on the page, recording the address of every file it asks
// for; holding back the files whose address ends with one of hold until
// page.gates[that ending].open().
async function openPage(browser, key, { origin, hold = [] } = {}) {
  const page = await browser.context.newPage();
  page.requested = [];
  page.errors = [];
  page.on('request', (request) => page.requested.push(request.url()));
  page.on('pageerror', (error) => page.errors.push(error.message));
  // Routed from the start: routing files of a page already open hides them.
  page.gates = {};
  for (const ending of hold) page.gates[ending] = await gate(page, (url) => url.endsWith(ending));
  await page.goto(pageUrl(key, origin));
  return page;
}

async function gate(page, matches) {
  let shut = true;
  const waiting = [];
  const pass = (route) => route.continue().catch(() => {});
  await page.route((url) => matches(url.href), (route) => (shut ? waiting.push(route) : pass(route)));
  return { open() { shut = false; waiting.splice(0).forEach(pass); } };
}

async function asked(page, url) {
  if (!page.requested.includes(url)) await page.waitForRequest(url, { timeout: 5000 });
}

// The files of grid picture n: src, its copies by address and size, and
// the original's address.
function filesOf(page, n) {
  return page.evaluate((id) => {
    const img = document.getElementById(id);
    const thumbnail = new URL((img.getAttribute('srcset') || '').split(' ')[0], document.baseURI).href;
    return {
      src: img.src,
      copies: (img.getAttribute('data-copies') || '').split(' ').filter(Boolean).map((size) => {
        const [width, height] = size.split('x').map(Number);
        return { url: thumbnail.replace(/-\d+x\d+\.jpg$/, `-${size}.jpg`), width, height };
      }),
      original: new URL(img.getAttribute('data-original') || img.getAttribute('src'), document.baseURI).href,
    };
  }, `Img${n}`);
}

// The viewer once the file it chose has arrived: the picture it shows, the
// place that picture takes on screen (fitted: drawn whole inside its box),
// the overlay's size and the grid picture's files.
async function settled(page) {
  const seen = await page.waitForFunction(() => {
    const modal = document.getElementById('myModal');
    const content = document.getElementById('img01');
    if (!content.complete || content.naturalWidth === 0 || modal.classList.contains('viewer-preview')) return null;
    const n = parseInt(modal.querySelector('.viewer-count').textContent.replace(/^\D+/, ''), 10);
    const box = content.getBoundingClientRect();
    const fit = modal.classList.contains('viewer-fit');
    const scale = fit ? Math.min(box.width / content.naturalWidth, box.height / content.naturalHeight) : 1;
    return {
      n,
      fit,
      shown: content.src,
      natural: { width: content.naturalWidth, height: content.naturalHeight },
      place: fit ? { width: content.naturalWidth * scale, height: content.naturalHeight * scale }
        : { width: box.width, height: box.height },
      overlay: { width: modal.clientWidth, height: modal.clientHeight },
      density: devicePixelRatio,
      name: modal.querySelector('.viewer-name').textContent,
      link: modal.querySelector('.viewer-original').href,
      linkLabel: modal.querySelector('.viewer-original').getAttribute('aria-label'),
    };
  }, null, { timeout: 10000 }).then((handle) => handle.jsonValue());
  return { ...seen, ...(await filesOf(page, seen.n)) };
}

// The file the viewer should show in a place: the smallest copy with at
// least 90 % of the place's device pixels both ways (fitted, also never
// fewer than the place's own), else what src names.
function sharpFile(seen, place, fit) {
  const least = Math.max(SHARP * seen.density, fit ? 1 : 0);
  const copy = seen.copies.find((c) => c.width + 1 >= least * place.width && c.height + 1 >= least * place.height);
  return copy ? copy.url : seen.src;
}

// Where the style sheet puts a picture of the proportions width × height:
// fitted, whole inside the overlay; else as wide as the overlay, and as tall
// as its proportions make it or, stretched, as the overlay.
function placeFor(seen, { width, height }, stretched) {
  const { overlay } = seen;
  if (seen.fit) {
    const scale = Math.min(overlay.width / width, overlay.height / height);
    return { width: width * scale, height: height * scale };
  }
  return { width: overlay.width, height: stretched ? overlay.height : (overlay.width * height) / width };
}

function near(a, b, what) {
  assert.ok(Math.abs(a.width - b.width) <= 1 && Math.abs(a.height - b.height) <= 1,
    `${what}: ${JSON.stringify(a)} against ${JSON.stringify(b)}`);
}

// Every picture in turn, forward and then fitted back: each shows its sharp
// file, a copy whenever one is sharp, and that file was fetched ahead while
// its neighbour showed. Fitting keeps the file shown. Nothing else is
// fetched: no other size, no original a copy could stand for, no HEIC.
async function stepRun(browser, key, stretched) {
  const page = await openPage(browser, key);
  const grid = await page.locator('img.myImg').evaluateAll((all) => all.map((img) => img.alt));
  assert.deepEqual(grid, NAMES, 'alt names the original');
  await page.locator('#Img1').click();
  const sharp = new Set();
  let previous = null;
  for (const n of [1, 2, 3, 4, 5, 6, 'z', 6, 5, 4, 3, 2, 1]) {
    if (n === 'z') {
      await page.keyboard.press('z');
      continue;
    }
    const seen = await settled(page);
    const what = `${key}, picture ${seen.n}${seen.fit ? ', fitted' : ''}`;
    assert.equal(seen.n, n);
    near(seen.place, placeFor(seen, seen.copies[0] || seen.natural, stretched), `${what}: the place`);
    const expected = sharpFile(seen, seen.place, seen.fit);
    sharp.add(expected);
    if (previous && previous.n === n) {
      assert.equal(seen.shown, previous.shown, `${what}: fitting keeps the picture`);
    } else {
      assert.equal(fileOf(seen.shown), fileOf(expected), what);
    }
    if (seen.shown !== seen.src) {
      const least = SHARP * seen.density;
      assert.ok(seen.natural.width >= least * seen.place.width - 1 &&
        seen.natural.height >= least * seen.place.height - 1, `${what}: sharp`);
    }
    assert.deepEqual([seen.name, seen.link], [NAMES[n - 1], seen.original], what);
    assert.equal(fileOf(seen.link), NAMES[n - 1]);
    assert.equal(seen.linkLabel, `原图：${NAMES[n - 1]}`);
    for (const other of [n - 1, n + 1].filter((k) => k >= 1 && k <= NAMES.length)) {
      const neighbour = await filesOf(page, other);
      const proportions = neighbour.copies[0] || seen.natural;
      const file = sharpFile({ ...seen, ...neighbour }, placeFor(seen, proportions, stretched), seen.fit);
      sharp.add(file);
      await asked(page, file);
    }
    if (n < 6 && !seen.fit) await page.keyboard.press('ArrowRight');
    if (n > 1 && seen.fit) await page.keyboard.press('ArrowLeft');
    previous = seen;
  }
  const fetched = [...new Set(page.requested.filter((url) => isCopy(url) || isOriginal(url)))];
  assert.deepEqual(fetched.filter((url) => !sharp.has(url)).map(fileOf), [], 'fetched: sharp files only');
  assert.ok(!page.requested.some((url) => url.endsWith('.heic')), 'the HEIC original is never fetched');
  assert.deepEqual(page.errors, []);
}

// The thumbnail stands in until the sharp copy arrives; a larger window
// then asks for a larger copy, which replaces the shown one once it has
// arrived; a smaller window keeps it.
async function resizeRun(browser) {
  const page = await openPage(browser, COPIES[0][0], { hold: ['-1280x960.jpg', '-2048x1536.jpg'] });
  await page.locator('#Img1').click();
  const [src, complete, classes, background] = await page.locator('#img01').evaluate((content) =>
    [content.src, content.complete, content.parentNode.className, getComputedStyle(content).backgroundImage]);
  assert.deepEqual([fileOf(src).slice(-13), complete, fileOf(background.slice(5, -2)).slice(-11)],
    ['-1280x960.jpg', false, '504x378.jpg']);
  assert.match(classes, /viewer-preview/);
  assert.doesNotMatch(classes, /viewer-loading/, 'the thumbnail shows at once, no spinner');
  page.gates['-1280x960.jpg'].open();
  const small = await settled(page);
  assert.match(fileOf(small.shown), /-1280x960\.jpg$/);

  await page.setViewportSize(WIDE.viewport);
  const wanted = small.copies[2].url;
  await asked(page, wanted);
  assert.equal((await settled(page)).shown, small.shown, 'the sharp copy stays until the larger arrives');
  page.gates['-2048x1536.jpg'].open();
  await page.waitForFunction((url) => document.getElementById('img01').src === url, wanted);
  const wide = await settled(page);
  assert.ok(wide.natural.width >= SHARP * wide.place.width, JSON.stringify(wide));
  const fetched = page.requested.length;
  await page.setViewportSize(DESK.viewport);
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
  assert.equal((await settled(page)).shown, wanted, 'a smaller window keeps the larger copy');
  assert.deepEqual(page.requested.slice(fetched), []);
  assert.deepEqual(page.errors, []);
}

// 原图 is an ordinary link to the original, in the Tab cycle, that opens it
// in a tab of its own and leaves the viewer open.
async function linkRun(browser, key, origin) {
  const page = await openPage(browser, key, { origin });
  await page.locator('#Img1').click();
  const seen = await settled(page);
  const labels = [];
  for (let i = 0; i < 7; i++) {
    await page.keyboard.press('Tab');
    labels.push(await page.evaluate(() => document.activeElement.getAttribute('aria-label')));
  }
  assert.ok(labels.includes(`原图：${NAMES[0]}`), labels.join());
  assert.equal(new Set(labels).size, 7, `seven stops: ${labels.join()}`);
  const link = page.locator('#myModal .viewer-original');
  await link.focus();
  const [opened] = await Promise.all([page.context().waitForEvent('page'), page.keyboard.press('Enter')]);
  await opened.waitForLoadState();
  assert.equal(opened.url(), seen.original);
  await opened.close();
  assert.equal(await page.locator('#myModal').evaluate((m) => getComputedStyle(m).display), 'block');
  assert.deepEqual(page.errors, []);
}

// Turned sideways, a phone needs a wide photo's original, and of the HEIC
// only its largest copy.
async function turnRun(browser) {
  const page = await openPage(browser, COPIES[0][0]);
  await page.locator('#Img1').tap();
  assert.match(fileOf((await settled(page)).shown), /-1280x960\.jpg$/);
  await page.setViewportSize({ width: 844, height: 390 });
  await page.waitForFunction(() => decodeURIComponent(document.getElementById('img01').src).endsWith('/湖畔.jpg'));
  const turned = await settled(page);
  assert.equal(turned.shown, turned.src);
  await page.keyboard.press('End');
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowLeft');
  const heic = await settled(page);
  assert.deepEqual([heic.n, heic.shown], [4, heic.copies[2].url]);
  assert.equal(heic.shown, heic.src);
  assert.ok(!page.requested.some((url) => url.endsWith('.heic')));
  assert.deepEqual(page.errors, []);
}

// Pinched larger on a phone, a photo needs more pixels than its copies have.
async function pinchRun(browser) {
  const page = await openPage(browser, COPIES[0][0]);
  await page.locator('#Img1').tap();
  const seen = await settled(page);
  assert.match(fileOf(seen.shown), /-1280x960\.jpg$/);
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Input.synthesizePinchGesture', { x: 200, y: 300, scaleFactor: 2.5, relativeSpeed: 2000 });
  await page.waitForFunction((src) => document.getElementById('img01').src === src, seen.src);
  assert.deepEqual(page.errors, []);
}

let server;
before(async () => { server = await serveFiles(sitesFolder()); });
after(() => server.close());

const FORMS = [['1280×800', DESK], ['1920×1080', WIDE], ['a 390×844 phone at 3×', PHONE]];
for (const [form, options] of FORMS) {
  describe(`display copies at ${form}`, () => {
    let browser;
    before(async () => { browser = await openBrowser(options); });
    after(() => browser.close());
    afterEach(async () => { for (const page of browser.context.pages()) await page.close(); });

    for (const [key, stretched] of COPIES) {
      test(`${key}: each picture shows its sharp copy, fetched ahead; never the HEIC`, () =>
        stepRun(browser, key, stretched));
    }
    if (options === DESK) {
      test('a resize picks again: larger once it has arrived, never smaller', () => resizeRun(browser));
      for (const [transport, origin] of [['from disk', () => undefined], ['over HTTP', () => server.origin]]) {
        test(`${transport}: 原图 links the original and is reached by Tab`, () =>
          linkRun(browser, COPIES[0][0], origin()));
      }
    }
    if (options === PHONE) {
      test('turned sideways: a wide photo\'s original, the HEIC\'s largest copy', () => turnRun(browser));
      test('pinched larger: the original', () => pinchRun(browser));
    }
  });
}
