// The sub-gallery page: page blocks, navigation and the picture viewer.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { openBrowser, picturesLoaded } from './browser.mjs';

// Numbers of the page blocks ("page-1" ... "page-99") that are displayed.
function shownBlocks(page) {
  return page.evaluate(() => {
    const shown = [];
    for (let n = 1; n <= 99; n++) {
      for (const block of document.getElementsByClassName(`page-${n}`)) {
        if (getComputedStyle(block).display !== 'none') shown.push(n);
      }
    }
    return shown;
  });
}

const field = (page) => page.locator('#currentPage').inputValue();
const press = (page, name) => page.locator(`button.${name}`).first().click();

describe('sub-gallery page without JavaScript', () => {
  let browser;
  before(async () => { browser = await openBrowser({ javaScriptEnabled: false }); });
  after(async () => { await browser.close(); });

  test('only page-1 shows', async () => {
    const page = await browser.open('图库一/风景');
    assert.equal(await page.locator('.page-1, .page-2, .page-3').count(), 3);
    assert.deepEqual(await shownBlocks(page), [1]);
  });
});

describe('sub-gallery page', () => {
  let browser;
  before(async () => { browser = await openBrowser(); });
  after(async () => { await browser.close(); });

  test('opens on block 1 of 3', async () => {
    const page = await browser.open('图库一/风景');
    assert.equal(await page.title(), '风景');
    assert.equal(await page.locator('#totalPage').inputValue(), '3');
    assert.deepEqual(await shownBlocks(page), [1]);
    assert.equal(await field(page), '1');
  });

  test('last shows block 3, next then shows nothing and counts on', async () => {
    const page = await browser.open('图库一/风景');
    await press(page, 'lastPage');
    assert.deepEqual(await shownBlocks(page), [3]);
    assert.equal(await field(page), '3');
    await press(page, 'nextPage');
    assert.deepEqual(await shownBlocks(page), []);
    assert.equal(await field(page), '4');
  });

  test('previous and first step back', async () => {
    const page = await browser.open('图库一/风景');
    await press(page, 'lastPage');
    await press(page, 'beforePage');
    assert.deepEqual(await shownBlocks(page), [2]);
    assert.equal(await field(page), '2');
    await press(page, 'firstPage');
    assert.deepEqual(await shownBlocks(page), [1]);
    await press(page, 'beforePage');
    assert.equal(await field(page), '1');
    assert.deepEqual(await shownBlocks(page), [1]);
  });

  test('the bottom bar works like the top bar', async () => {
    const page = await browser.open('图库一/风景');
    await page.locator('button.nextPage').last().click();
    assert.deepEqual(await shownBlocks(page), [2]);
  });

  test('typing a page number shows that block', async () => {
    const page = await browser.open('图库一/风景');
    await page.locator('#currentPage').fill('2');
    await page.locator('#currentPage').press('Enter');
    assert.deepEqual(await shownBlocks(page), [2]);
    for (const outside of ['0', '100']) {
      await page.locator('#currentPage').fill(outside);
      await page.locator('#currentPage').press('Enter');
      assert.deepEqual(await shownBlocks(page), [], `typed ${outside}`);
    }
  });

  test('a thumbnail click opens the viewer with that picture, a click on it closes it', async () => {
    const page = await browser.open('图库一/风景');
    const modal = page.locator('#myModal');
    assert.equal(await modal.evaluate((e) => getComputedStyle(e).display), 'none');
    await page.locator('#Img2').click();
    assert.equal(await modal.evaluate((e) => getComputedStyle(e).display), 'block');
    const thumbnail = await page.locator('#Img2').evaluate((e) => e.src);
    assert.equal(await page.locator('#img01').evaluate((e) => e.src), thumbnail);
    await page.waitForFunction(() => document.getElementById('img01').naturalWidth > 0);
    await modal.click();
    assert.equal(await modal.evaluate((e) => getComputedStyle(e).display), 'none');
  });

  // Img2 is a tall picture (200 x 320) in a window of 800 x 600.
  async function enlarged(key) {
    const page = await browser.open(key, { width: 800, height: 600 });
    await page.locator('#Img2').click();
    await page.waitForFunction(() => document.getElementById('img01').naturalWidth > 0);
    return page.evaluate(() => {
      const image = document.getElementById('img01');
      const modal = document.getElementById('myModal');
      return {
        width: image.getBoundingClientRect().width,
        height: image.getBoundingClientRect().height,
        ratio: image.naturalHeight / image.naturalWidth,
        modalWidth: modal.getBoundingClientRect().width,
        modalHeight: modal.getBoundingClientRect().height,
        windowHeight: window.innerHeight,
      };
    });
  }

  test('proportional style sheet keeps the picture\'s aspect ratio', async () => {
    const box = await enlarged('图库一/风景');
    assert.equal(box.modalHeight, box.windowHeight);
    assert.ok(Math.abs(box.height - box.width * box.ratio) <= 1, JSON.stringify(box));
    assert.ok(box.height > box.windowHeight, 'a tall picture overflows and the viewer scrolls');
  });

  test('stretched style sheet fills the window', async () => {
    const box = await enlarged('图库一/拉伸');
    assert.equal(box.height, box.windowHeight, JSON.stringify(box));
    assert.equal(box.width, box.modalWidth);
  });

  test('pictures whose names hold " # ? % \\ and other characters load', async () => {
    const page = await browser.open('图库一/奇怪 #?%');
    assert.equal(await page.locator('img.myImg').count(), 3);
    await picturesLoaded(page, 'img.myImg', { timeout: 10000 });
    const first = await page.locator('#Img1').getAttribute('src');
    for (const part of ['%22', '%23', '%3F', '%25', '%5C', '癨']) {
      assert.ok(first.includes(part), `${part} in ${first}`);
    }
  });
});
