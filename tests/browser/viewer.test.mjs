// The sub-gallery page's viewer and grid as a visitor uses them: keys,
// controls, touch, loading, failed originals, addresses, and how many
// originals a block of photos fetches. Every rule runs with both style sheet
// variants: 风景 and 怪名 keep proportions, 拉伸 and 怪名拉伸 stretch.
import { after, afterEach, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { openBrowser, pageUrl } from './browser.mjs';

const DESK = { viewport: { width: 1280, height: 800 } };
const PHONE = { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 };

// 5 pictures in blocks of 2: Img1 Img2 | Img3 Img4 | Img5.
const SCENIC = ['图库一/风景', '图库一/拉伸'];
const SCENIC_NAMES = ['湖光.jpg', '山色.jpg', '晨曦.jpg', '夜空.jpg', '落日.jpg'];
// The shared hostile tree and one deleted original, in blocks of 8.
const HOSTILE = ['图库四/怪名 #?%', '图库四/怪名拉伸'];
const PHOTOS = ['图库四/照片', '图库四/照片拉伸'];

// A fresh tab on the page; fetched (a Set) collects every address it asks for.
async function openPage(browser, key, { hash = '', clock = false, fetched = null } = {}) {
  const page = await browser.context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.errors = errors;
  if (fetched) page.on('request', (request) => fetched.add(request.url()));
  if (clock) await page.clock.install();
  await page.goto(pageUrl(key) + hash);
  return page;
}

// What the visitor sees: the shown blocks, the page field, the viewer and
// its caption, the address's fragment and the focused element.
function look(page) {
  return page.evaluate(() => {
    const blocks = [];
    for (let n = 1; n <= 99; n++) {
      for (const block of document.getElementsByClassName(`page-${n}`)) {
        if (getComputedStyle(block).display !== 'none') blocks.push(n);
      }
    }
    const modal = document.getElementById('myModal');
    const text = (kind) => (modal.querySelector(`.viewer-${kind}`) || {}).textContent;
    const focused = document.activeElement;
    return {
      blocks,
      field: document.getElementById('currentPage').value,
      open: getComputedStyle(modal).display === 'block',
      caption: `${text('count')} ${text('name')}`,
      src: document.getElementById('img01').src,
      hash: decodeURIComponent(location.hash),
      focusInViewer: modal.contains(focused),
      focusedId: focused.id,
    };
  });
}

const srcOf = (page, n) => page.locator(`#Img${n}`).evaluate((e) => e.src);
const control = (page, kind) => page.locator(`#myModal .viewer-${kind}`);

// The viewer shows picture n of 风景 or 拉伸, in block `block`.
async function expectPicture(page, n, block) {
  // The address follows a moment after the last step.
  await page.waitForFunction((hash) => decodeURIComponent(location.hash) === hash, `#p${block}-${n}`,
    { timeout: 3000 }).catch(() => {});
  const seen = await look(page);
  assert.equal(seen.open, true, `viewer open on ${n}`);
  assert.deepEqual(seen.blocks, [block], `block of picture ${n}`);
  assert.equal(seen.field, String(block));
  assert.equal(seen.caption, `第 ${n} / 5 张 ${SCENIC_NAMES[n - 1]}`);
  assert.equal(seen.src, await srcOf(page, n));
  assert.equal(seen.hash, `#p${block}-${n}`);
  return seen;
}

// Originals fetched when a block of 200 photos of about 110 KB opens: some,
// and at most `most`, before any scrolling; then scrolling down brings more.
async function expectOriginalsFetched(browser, key, most) {
  const page = await browser.context.newPage();
  const fetched = new Set();
  page.on('request', (request) => { if (request.url().includes('/photos/')) fetched.add(request.url()); });
  await page.goto(pageUrl(key));
  await page.waitForTimeout(1500);
  const before = fetched.size;
  await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
  await page.waitForTimeout(1000);
  await page.close();
  const counts = JSON.stringify({ before, after: fetched.size });
  assert.ok(before > 0 && before <= most, counts);
  assert.ok(fetched.size > before, counts);
}

// A finger drawn across the screen from one point to another.
async function swipe(page, from, to) {
  const cdp = await page.context().newCDPSession(page);
  const point = ([x, y]) => [{ x, y }];
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: point(from) });
  for (let i = 1; i <= 5; i++) {
    const at = [from[0] + ((to[0] - from[0]) * i) / 5, from[1] + ((to[1] - from[1]) * i) / 5];
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: point(at) });
  }
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await cdp.detach();
}

describe('at 1280×800', () => {
  let browser;
  before(async () => { browser = await openBrowser(DESK); });
  after(async () => { await browser.close(); });
  afterEach(async () => { for (const page of browser.context.pages()) await page.close(); });

  for (const key of SCENIC) {
    describe(`viewer of ${key}`, () => {
      test('keys step across blocks as the page buttons would; Home, End and Esc', async () => {
        const page = await openPage(browser, key);
        await page.locator('#Img2').click();
        const opened = await expectPicture(page, 2, 1);
        assert.ok(opened.focusInViewer, 'focus moves into the viewer');
        await page.keyboard.press('ArrowRight');
        await expectPicture(page, 3, 2);
        await page.keyboard.press('ArrowLeft');
        await expectPicture(page, 2, 1);
        await page.keyboard.press('End');
        await expectPicture(page, 5, 3);
        await page.keyboard.press('ArrowRight');
        await expectPicture(page, 5, 3);
        await page.keyboard.press('Home');
        await expectPicture(page, 1, 1);
        await page.keyboard.press('Escape');
        const closed = await look(page);
        assert.equal(closed.open, false);
        assert.equal(closed.focusedId, 'Img1', 'focus returns to the thumbnail');
        assert.equal(closed.hash, '#p1');
        assert.deepEqual(page.errors, []);
      });

      test('on-screen controls keep the viewer open; a click elsewhere on it closes it', async () => {
        const page = await openPage(browser, key);
        await page.locator('#Img1').click();
        await control(page, 'next').click();
        await control(page, 'next').click();
        await expectPicture(page, 3, 2);
        await control(page, 'prev').click();
        await expectPicture(page, 2, 1);
        await control(page, 'fit').click();
        await control(page, 'slideshow').click();
        await control(page, 'slideshow').click();
        await expectPicture(page, 2, 1);
        await page.keyboard.press('f');
        await page.waitForFunction(() => document.fullscreenElement === document.documentElement);
        await control(page, 'fullscreen').click();
        await page.waitForFunction(() => !document.fullscreenElement);
        await page.locator('#myModal .viewer-caption').click();
        assert.equal((await look(page)).open, false);
        await control(page, 'close').evaluate(() => demo('Img4'));
        await expectPicture(page, 4, 2);
        await control(page, 'close').click();
        assert.equal((await look(page)).open, false);
      });

      test('the neighbours\' originals are fetched ahead', async () => {
        const fetched = new Set();
        const page = await openPage(browser, key, { fetched });
        await page.locator('#Img2').click();
        // Img3 stands in the hidden block 2, so only the viewer asks for it.
        await page.waitForFunction(() => document.getElementById('img01').complete);
        assert.ok(fetched.has(await srcOf(page, 3)), 'next picture preloaded');
        const linked = await openPage(browser, key, { hash: '#p2-3', fetched });
        await expectPicture(linked, 3, 2);
        assert.ok(fetched.has(await srcOf(linked, 2)), 'previous picture preloaded');
      });

      test('Z fits the whole picture into the window and back', async () => {
        const page = await openPage(browser, key);
        await page.setViewportSize({ width: 800, height: 600 });
        await page.locator('#Img2').click();  // 200 × 320
        await page.waitForFunction(() => document.getElementById('img01').naturalWidth > 0);
        const box = () => page.locator('#img01').evaluate((e) => {
          const r = e.getBoundingClientRect();
          return { x: r.x, y: r.y, width: r.width, height: r.height };
        });
        const specified = await box();
        await page.keyboard.press('z');
        const fitted = await box();
        assert.deepEqual(fitted, { x: 300, y: 140, width: 200, height: 320 }, 'natural size, centred');
        await page.setViewportSize({ width: 800, height: 240 });
        const small = await box();
        assert.equal(small.height, 240);
        assert.equal(small.width, 150);
        await page.setViewportSize({ width: 800, height: 600 });
        await page.keyboard.press('Z');
        assert.deepEqual(await box(), specified);
        assert.equal(specified.width, 800);
      });

      test('Space runs a slideshow that crosses blocks and stops at the last picture', async () => {
        const page = await openPage(browser, key, { clock: true });
        await page.locator('#Img2').click();
        await page.keyboard.press(' ');
        await page.clock.runFor(3000);
        await expectPicture(page, 3, 2);
        await page.clock.runFor(6000);
        await expectPicture(page, 5, 3);
        await page.clock.runFor(9000);
        await expectPicture(page, 5, 3);
        assert.equal(await control(page, 'slideshow').getAttribute('aria-label'), '开始幻灯片');
        await page.keyboard.press('Home');
        await page.keyboard.press(' ');
        await page.clock.runFor(3000);
        await page.keyboard.press(' ');
        await page.clock.runFor(9000);
        await expectPicture(page, 2, 1);
      });

      test('Tab reaches the thumbnails, Enter opens, focus stays in the viewer and returns', async () => {
        const page = await openPage(browser, key);
        assert.equal(await page.evaluate(() => document.documentElement.lang), 'zh-CN');
        assert.deepEqual(await page.locator('.page-1 img').evaluateAll((all) => all.map((i) => i.alt)),
          SCENIC_NAMES.slice(0, 2));
        await page.locator('#Img1').focus();
        await page.keyboard.press('Tab');
        assert.equal((await look(page)).focusedId, 'Img2');
        await page.keyboard.press('Enter');
        await expectPicture(page, 2, 1);
        for (let i = 0; i < 8; i++) {
          await page.keyboard.press(i % 3 ? 'Tab' : 'Shift+Tab');
          assert.ok((await look(page)).focusInViewer, `focus inside after ${i + 1} presses`);
        }
        const labels = await page.locator('#myModal button').evaluateAll((all) =>
          all.map((b) => b.getAttribute('aria-label')));
        assert.equal(labels.length, 6);
        for (const label of labels) assert.match(label, /^[\u4e00-\u9fff]+$/);
        await page.keyboard.press('Escape');
        assert.equal((await look(page)).focusedId, 'Img2');
      });

      test('addresses open a block or a picture; reload keeps the place; Back closes first', async () => {
        const block = await openPage(browser, key, { hash: '#p3' });
        assert.deepEqual(await look(block).then((s) => [s.blocks, s.field, s.open]), [[3], '3', false]);
        await block.locator('button.beforePage').first().click();
        assert.equal((await look(block)).hash, '#p2');
        await block.reload();
        assert.deepEqual(await look(block).then((s) => [s.blocks, s.field]), [[2], '2']);

        const page = await openPage(browser, key, { hash: '#p2-4' });
        await expectPicture(page, 4, 2);
        await page.keyboard.press('ArrowRight');
        await expectPicture(page, 5, 3);
        await page.reload();
        await expectPicture(page, 5, 3);
        await page.goBack();
        const back = await look(page);
        assert.deepEqual([back.open, back.blocks, back.field, back.hash], [false, [3], '3', '#p3']);
        assert.ok(page.url().startsWith(pageUrl(key)), 'still on the page');
        await page.goForward();
        await expectPicture(page, 5, 3);
        assert.deepEqual(page.errors, []);
      });
    });
  }

  for (const key of HOSTILE) {
    describe(`failed originals and hostile names in ${key}`, () => {
      // Every thumbnail of the shown block has loaded or failed.
      const settled = (page) => page.waitForFunction(() => [...document.querySelectorAll('img.myImg')]
        .filter((i) => getComputedStyle(i.parentNode).display !== 'none').every((i) => i.complete));
      const notice = (page) => page.locator('.page-notice').first().evaluate((e) =>
        (getComputedStyle(e).display === 'none' ? '' : e.textContent));

      test('a failed original becomes a labelled tile and the top bar counts the block\'s failures', async () => {
        const page = await openPage(browser, key, { hash: '#p2' });
        await settled(page);
        assert.equal(await notice(page), '本页 2 张图片无法加载');
        assert.deepEqual(await page.locator('.page-2 img').evaluateAll((all) => all.map((i) => i.alt)),
          ['deep.BMP', '癨 deep.jpeg', 'n.webp', 'hash#1.jpg', 'line\nbreak.jpg', 'photojpg',
            'quote".jpg', 'tab\there.jpg']);
        const tile = page.locator('.page-2 .myImg-failed');
        assert.equal(await tile.count(), 2);
        assert.equal(await tile.first().innerText(), '图片无法加载\ndeep.BMP');
        const size = await tile.first().evaluate((e) => [e.offsetWidth, e.offsetHeight]);
        const thumbnail = await page.locator('#Img10').evaluate((e) => [e.offsetWidth, e.offsetHeight]);
        assert.deepEqual(size, thumbnail);

        await page.locator('button.lastPage').first().click();
        await settled(page);
        assert.equal(await notice(page), '本页 2 张图片无法加载');
        assert.deepEqual(await page.locator('.page-4 .myImg-failed-name').allInnerTexts(),
          ['水.Webp', '已删除.jpg']);
        await page.locator('button.firstPage').first().click();
        await settled(page);
        assert.equal(await notice(page), '');
        await page.locator('button.nextPage').first().click();
        assert.equal(await notice(page), '本页 2 张图片无法加载');

        await page.locator('.page-2 .myImg-failed').first().focus();
        await page.keyboard.press('Enter');
        await page.waitForFunction(() => document.getElementById('myModal').classList.contains('viewer-failed'));
        const message = page.locator('#myModal .viewer-message');
        assert.equal(await message.innerText(), '图片无法加载：deep.BMP');
        assert.equal(await page.locator('#myModal .viewer-spinner').isVisible(), false);
        await page.keyboard.press('ArrowRight');
        await page.waitForFunction(() => document.getElementById('img01').naturalWidth > 0);
        assert.equal(await message.isVisible(), false);
        await page.keyboard.press('Escape');
        assert.deepEqual(page.errors, []);
      });

      test('names with " # ? % & \\ and more read back as they are written', async () => {
        const page = await openPage(browser, key, { hash: '#p1-2' });
        const caption = () => page.locator('#myModal .viewer-name').textContent();
        const names = [];
        for (let n = 2; n <= 21; n++) {
          names.push(await caption());
          await page.keyboard.press('ArrowRight');
        }
        assert.deepEqual(names, ['100%.gif', 'img.gif', 'a.jpg', 'a<b.jpg', 'b.PNG', 'back\\slash.jpg',
          'c.Gif', 'deep.BMP', '癨 deep.jpeg', 'n.webp', 'hash#1.jpg', 'line\nbreak.jpg', 'photojpg',
          'quote".jpg', 'tab\there.jpg', 'what?.png', 'inner&copy.png', 'x&copy.jpg', 'x.jpeg',
          'y&amp;z.jpg']);
      });
    });
  }

  for (const key of PHOTOS) {
    test(`${key}: at most 60 of 200 photos fetched before scrolling`, () =>
      expectOriginalsFetched(browser, key, 60));
  }
});

describe('on a 390×844 touch phone', () => {
  let browser;
  before(async () => { browser = await openBrowser(PHONE); });
  after(async () => { await browser.close(); });
  afterEach(async () => { for (const page of browser.context.pages()) await page.close(); });

  for (const key of PHOTOS) {
    test(`${key}: at most 30 of 200 photos fetched before scrolling`, () =>
      expectOriginalsFetched(browser, key, 30));
  }

  for (const key of SCENIC) {
    test(`${key}: laid out for the phone, finger-sized controls, swipes and taps`, async () => {
      const page = await openPage(browser, key);
      assert.equal(await page.evaluate(() => window.innerWidth), 390);
      await page.locator('#Img2').tap();
      const sizes = await page.locator('#myModal button').evaluateAll((all) =>
        all.map((b) => [b.getBoundingClientRect().width, b.getBoundingClientRect().height]));
      for (const [width, height] of sizes) assert.ok(width >= 44 && height >= 44, JSON.stringify(sizes));
      await swipe(page, [300, 400], [80, 410]);
      await expectPicture(page, 3, 2);
      await swipe(page, [80, 400], [300, 390]);
      await expectPicture(page, 2, 1);
      await control(page, 'next').tap();
      await expectPicture(page, 3, 2);
      await swipe(page, [200, 300], [205, 600]);
      assert.equal((await look(page)).open, false);
      await page.locator('#Img3').tap();
      await page.locator('#myModal .viewer-caption').tap();
      assert.equal((await look(page)).open, false);
      assert.deepEqual(page.errors, []);
    });
  }
});
