// The main page: card grid, links, footer and lanterns.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { openBrowser } from './browser.mjs';

function cardBoxes(page) {
  return page.evaluate(() => {
    const wrap = document.querySelector('.wrap');
    const style = getComputedStyle(wrap);
    const inner = wrap.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    return {
      inner,
      cards: [...wrap.querySelectorAll('.item')].map((item) => {
        const box = item.getBoundingClientRect();
        const cover = item.querySelector('.img-box img').getBoundingClientRect();
        return { left: box.left, top: box.top, width: box.width, coverHeight: cover.height };
      }),
    };
  });
}

describe('main page', () => {
  let browser;
  before(async () => { browser = await openBrowser(); });
  after(async () => { await browser.close(); });

  test('a 500 px wide window shows one card per row at 96% width', async () => {
    const page = await browser.open('图库一', { width: 500, height: 900 });
    const { inner, cards } = await cardBoxes(page);
    assert.equal(cards.length, 4);
    for (const card of cards) {
      assert.ok(Math.abs(card.width - 0.96 * inner) <= 1, `${card.width} of ${inner}`);
      assert.equal(card.left, cards[0].left);
    }
    for (let i = 1; i < cards.length; i++) assert.ok(cards[i].top > cards[i - 1].top);
  });

  test('a wide window puts several cards of at most 298 px in a row', async () => {
    const page = await browser.open('图库一', { width: 1280, height: 800 });
    const { cards } = await cardBoxes(page);
    for (const card of cards) {
      assert.ok(card.width <= 298, `${card.width}`);
      assert.equal(card.coverHeight, 168);
    }
    assert.equal(cards[1].top, cards[0].top);
  });

  test('heading, introduction and footer stand around the grid', async () => {
    const page = await browser.open('图库一');
    assert.equal(await page.title(), '图库一');
    assert.equal(await page.locator('.main-menu a').textContent(), '图库一');
    assert.match(await page.locator('.p1').textContent(), /夜色与灯火/);
    const layout = await page.evaluate(() => {
      const footer = document.querySelector('.footer');
      return {
        parent: footer.parentElement.tagName,
        belowGrid: footer.getBoundingClientRect().top >=
          document.querySelector('.wrap').getBoundingClientRect().bottom,
        cardsInGrid: document.querySelectorAll('.wrap > .item').length,
        logoHeight: document.querySelector('.logo').getBoundingClientRect().height,
      };
    });
    assert.deepEqual(layout, { parent: 'BODY', belowGrid: true, cardsInGrid: 4, logoHeight: 0 });
  });

  test('cards show their covers and link to their sub-gallery pages', async () => {
    const page = await browser.open('图库一');
    await page.waitForFunction(() =>
      [...document.querySelectorAll('.img-box img')].every((i) => i.complete && i.naturalWidth > 0),
      null, { timeout: 10000 });
    const links = await page.locator('.img-box a').evaluateAll((as) =>
      as.map((a) => ({ href: a.href, target: a.target, name: a.closest('.item').querySelector('.p3 span').textContent })));
    assert.deepEqual(links.map((l) => l.name), ['风景', '拉伸', '奇怪 #?%', '夜 #1']);
    for (const link of links) {
      assert.equal(link.target, '_blank');
      const sub = await browser.context.newPage();
      await sub.goto(link.href);
      assert.equal(await sub.title(), link.name, link.href);
      await sub.close();
    }
  });

  test('with the lantern switch on, two lanterns read 祝 and 福', async () => {
    const page = await browser.open('图库一', { width: 1280, height: 800 });
    const lanterns = page.locator('.kl-lantern');
    assert.equal(await lanterns.count(), 2);
    assert.deepEqual(await lanterns.allTextContents(), ['祝', '福']);
    const styles = await lanterns.evaluateAll((all) => all.map((e) => {
      const s = getComputedStyle(e);
      return {
        position: s.position, top: s.top, left: s.left, right: s.right,
        pointer: s.pointerEvents, select: s.userSelect, repeat: s.animationIterationCount,
        parent: e.parentElement.tagName,
      };
    }));
    for (const s of styles) {
      assert.equal(s.position, 'fixed');
      assert.equal(s.top, '12px');
      assert.equal(s.pointer, 'none');
      assert.equal(s.select, 'none');
      assert.equal(s.repeat, 'infinite');
      assert.equal(s.parent, 'BODY');
    }
    assert.equal(styles[0].left, '40px');
    assert.equal(styles[1].right, '130px');
    assert.equal(await page.locator('head style[data-kl]').count(), 1);
    // The lanterns never take a click meant for the page below them.
    const box = await lanterns.first().boundingBox();
    const hit = await page.evaluate(([x, y]) => document.elementFromPoint(x, y).className,
      [box.x + box.width / 2, box.y + box.height / 2]);
    assert.ok(!String(hit).startsWith('kl-'), hit);
  });

  test('on windows at most 460 px wide the right lantern moves to 80 px', async () => {
    const page = await browser.open('图库一', { width: 460, height: 800 });
    const right = () => page.locator('.kl-lantern').nth(1).evaluate((e) => getComputedStyle(e).right);
    assert.equal(await right(), '80px');
    await page.setViewportSize({ width: 461, height: 800 });
    assert.equal(await right(), '130px');
  });

  test('with the lantern switch off there is no lantern', async () => {
    const page = await browser.open('图库二');
    assert.equal(await page.locator('script[src*="kl.js"]').count(), 0);
    assert.equal(await page.locator('.kl-lantern').count(), 0);
    assert.equal(await page.locator('.wrap > .item').count(), 1);
  });
});
