// The main page: card grid, links, footer and lanterns.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { openBrowser, picturesLoaded } from './browser.mjs';

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

// The cards in rows (grouped by their top edge) and the grid's content box,
// all in the units of getBoundingClientRect, so a zoomed page measures too.
function gridRows(page) {
  return page.evaluate(() => {
    const wrap = document.querySelector('.wrap');
    const style = getComputedStyle(wrap);
    const box = wrap.getBoundingClientRect();
    const scale = box.width / wrap.offsetWidth;
    const left = box.left + (wrap.clientLeft + parseFloat(style.paddingLeft)) * scale;
    const inner = (wrap.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight)) * scale;
    const rows = [];
    for (const item of wrap.querySelectorAll('.item')) {
      const b = item.getBoundingClientRect();
      const cover = item.querySelector('.img-box img').getBoundingClientRect();
      const card = { left: b.left, right: b.right, top: b.top, bottom: b.bottom, width: b.width,
        coverWidth: cover.width, coverHeight: cover.height };
      const row = rows.find((r) => Math.abs(r[0].top - b.top) < 1);
      if (row) row.push(card); else rows.push([card]);
    }
    return { left, right: left + inner, inner, rows, scale: visualViewport.scale };
  });
}

function near(actual, expected, what, tolerance = 1) {
  assert.ok(Math.abs(actual - expected) <= tolerance, `${what}: ${actual} against ${expected}`);
}

// Finishes running transitions, so a picture shows the settled state.
const settle = (page) => page.evaluate(() => document.getAnimations().forEach((a) => a.finish()));

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

  test('rows of cards are centred with even gaps; 1280 px holds four or more to a row', async () => {
    const page = await browser.open('图库三', { width: 1280, height: 800 });
    for (const width of [601, 760, 1000, 1100, 1280, 1600, 1920]) {
      await page.setViewportSize({ width, height: 800 });
      const { left, right, rows } = await gridRows(page);
      const at = `${width} px`;
      if (width === 1280) assert.ok(rows[0].length >= 4, `${at}: ${rows[0].length} in a row`);
      assert.equal(rows.flat().length, 9, at);
      const gap = rows[0].length > 1 ? rows[0][1].left - rows[0][0].right : rows[1][0].top - rows[0][0].bottom;
      assert.ok(gap > 0, at);
      rows.forEach((row, r) => {
        for (const card of row) {
          assert.ok(card.width <= 298, `${at}: ${card.width}`);
          near(card.width, rows[0][0].width, `${at}: card width`, 0.5);
          assert.equal(card.coverHeight, 168, at);
        }
        for (let i = 1; i < row.length; i++) near(row[i].left - row[i - 1].right, gap, `${at}: gap in row ${r}`);
        near(row[0].left - left, right - row.at(-1).right, `${at}: margins of row ${r}`);
        if (r > 0) near(row[0].top - Math.max(...rows[r - 1].map((c) => c.bottom)), gap, `${at}: gap above row ${r}`);
      });
    }
  });

  test('Tab walks from the heading to every card in order, each with a visible focus ring', async () => {
    const page = await browser.open('图库三', { width: 1280, height: 800 });
    await picturesLoaded(page, '.img-box img');
    const focused = () => page.evaluate(() => {
      const element = document.activeElement;
      const item = element.closest('.item');
      return {
        name: item ? item.querySelector('.p3 span').textContent : element.textContent,
        link: element.matches(item ? '.img-box a' : '.main-menu a'),
      };
    });
    const box = await page.locator('.item').first().boundingBox();
    const firstCard = async () => {
      await settle(page);
      return page.screenshot({ clip: { x: box.x - 4, y: box.y - 4, width: box.width + 8, height: box.height + 8 } });
    };

    const stops = [];
    await page.keyboard.press('Tab');
    stops.push(await focused());
    const unfocused = await firstCard();
    for (let i = 0; i < 9; i++) {
      await page.keyboard.press('Tab');
      stops.push(await focused());
      if (i === 0) {
        assert.ok(!unfocused.equals(await firstCard()), 'the focused first card looks unchanged');
        await page.keyboard.press('Shift+Tab');
        assert.ok(unfocused.equals(await firstCard()), 'the ring stays after focus left');
        await page.keyboard.press('Tab');
      }
    }
    assert.deepEqual(stops.map((s) => s.name),
      ['图库三', '一月', '二月', '三月', '四月', '五月', '六月', '七月', '八月', '九月']);
    assert.ok(stops.every((s) => s.link));

    const [opened] = await Promise.all([browser.context.waitForEvent('page'), page.keyboard.press('Enter')]);
    await opened.waitForLoadState();
    assert.equal(await opened.title(), '九月');
    await opened.close();
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
    await picturesLoaded(page, '.img-box img', { timeout: 10000 });
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

describe('main page on a 390×844 phone', () => {
  let phone;
  before(async () => {
    phone = await openBrowser({
      viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true,
    });
  });
  after(async () => { await phone.close(); });

  test('one card per row across the screen, cover at its natural height, captions readable', async () => {
    const page = await phone.open('图库三');
    await picturesLoaded(page, '.img-box img');
    const { inner, rows, scale } = await gridRows(page);
    assert.equal(rows.length, 9);
    for (const [card] of rows) {
      near(card.width, 0.96 * inner, 'card width');
      near(card.left, rows[0][0].left, 'card left');
      near(card.coverHeight, card.coverWidth * 720 / 1280, 'cover height');
    }
    assert.ok(rows[0][0].width * scale >= 300, `a card looks ${rows[0][0].width * scale} px wide`);
    const caption = await page.locator('.p3 span').first().evaluate((e) => e.getBoundingClientRect().height);
    assert.ok(caption * scale >= 14, `a caption line looks ${caption * scale} px high`);
  });
});
