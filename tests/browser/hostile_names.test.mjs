// Names that are markup or hold "&", a tab or a line feed: the pictures
// load from a sub-gallery page and through a card link, and the names show
// as the literal text they are, creating no element.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { openBrowser, picturesLoaded } from './browser.mjs';

const MAIN = '<b>x<b>&amp;y';
const SUB = '<i>s<i>';
const REFERENCE_PICTURES = ['inner&copy.png', 'x&copy.jpg', 'y&amp;z.jpg', 'tab\there.jpg', 'line\nbreak.jpg'];
const CAPTIONS = [SUB, 'x&copy', '<img src=x onerror=alert(1)>', 'a<b'];

// Every picture of the page, loaded now rather than when scrolled to; the
// file name each one was read from.
async function loadedPictureNames(page) {
  await page.evaluate(() => {
    for (const image of document.querySelectorAll('img.myImg')) image.loading = 'eager';
  });
  await picturesLoaded(page, 'img.myImg', { timeout: 10000 });
  return page.locator('img.myImg').evaluateAll((images) =>
    images.map((i) => decodeURIComponent(new URL(i.src).pathname.split('/').pop())));
}

// Elements the names would create if they were taken as markup.
function strayElements(page) {
  return page.evaluate(() => document.querySelectorAll('b, i, img[src="x"]').length);
}

describe('hostile names', () => {
  let browser;
  const dialogs = [];
  before(async () => {
    browser = await openBrowser();
    browser.context.on('page', (page) => page.on('dialog', (d) => { dialogs.push(d.message()); d.dismiss(); }));
  });
  after(async () => { await browser.close(); });

  test('pictures named with &, a tab or a line feed load from a sub-gallery page', async () => {
    const page = await browser.open(`${MAIN}/${SUB}`);
    const names = await loadedPictureNames(page);
    assert.deepEqual([...names].sort(), [...REFERENCE_PICTURES].sort());
    assert.equal(await page.title(), SUB);
    assert.equal(await strayElements(page), 0);
  });

  test('the main page shows the names as text and creates no element', async () => {
    const page = await browser.open(MAIN);
    assert.equal(await page.title(), MAIN);
    assert.equal(await page.locator('.main-menu a').textContent(), MAIN);
    const captions = await page.locator('.item').evaluateAll((items) =>
      items.map((item) => item.querySelector('.p3 span').textContent));
    assert.deepEqual(captions, CAPTIONS);
    assert.equal(await strayElements(page), 0);
    assert.equal(await page.locator('.wrap img').count(), CAPTIONS.length);  // the covers alone
    await page.waitForTimeout(200);
    assert.deepEqual(dialogs, []);
  });

  test('every card link leads to its sub-gallery page, whose pictures load', async () => {
    const page = await browser.open(MAIN);
    const links = await page.locator('.img-box a').evaluateAll((as) => as.map((a) => a.href));
    assert.equal(links.length, CAPTIONS.length);
    for (const [index, href] of links.entries()) {
      const sub = await browser.context.newPage();
      await sub.goto(href);
      assert.equal(await sub.title(), CAPTIONS[index], href);
      const names = await loadedPictureNames(sub);
      assert.ok(names.length > 0, href);
      if (CAPTIONS[index] === 'x&copy') assert.deepEqual([...names].sort(), [...REFERENCE_PICTURES].sort());
      assert.equal(await strayElements(sub), 0, href);
      await sub.close();
    }
    assert.deepEqual(dialogs, []);
  });
});
