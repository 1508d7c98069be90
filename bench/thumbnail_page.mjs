// Measures sub-gallery pages of 200 photos in headless Chromium, served
// over HTTP from 127.0.0.1 with the network throttled (40 Mbit/s both ways
// unless BENCH_MBITS says otherwise; no latency added unless
// BENCH_LATENCY_MS), at 1280×800, 1920×1080 and as a 390×844 phone at 3×,
// each run in a fresh browser with an empty cache. The pages, by their keys
// in site.json (a page missing there is left out):
//
//   图库四/照片   1584 × 1056 photos of about 110 KB, without thumbnails
//   图库五/照片   the same with thumbnails (504 × 336, about 11 KB)
//   图库七/缩略图 4000 × 3000 photos with thumbnails
//   图库七/副本   the same with display copies of 1280, 1600 and 2048 pixels
//   图库八/HEIC   HEIC photos shown through their JPEG thumbnails and copies
//                (any original fetched there is a HEIC: there must be none)
//
// (bench_viewer_site writes 图库四, 图库七/副本 and 图库八 through the real
// window from real photo folders.)
//
// (site_writer --camera-photos writes 图库七 with synthetic photos, lighter
// for their size than a camera's; a site.json naming a real generation's
// pages under these keys, and below its own folder, measures those.)
//
//   first screen     navigation until every picture on the first screen has
//                    loaded, and the bytes and requests fetched by then
//   at rest          the bytes and requests once the network has been quiet
//                    for a second (the lazy loading's margin included)
//   click → shown    a click on the first picture until the first frame in
//                    which the viewer shows a picture (the thumbnail or the
//                    file it chose), and until the first frame with that
//                    file, sharp for the window (a copy or the original)
//   → through N      then BENCH_STEPS (30) presses of →, each once the
//                    network is quiet (the neighbours fetched ahead): the
//                    bytes per further photo viewed, and each press until
//                    the frame with the sharp picture
//
// Nothing here passes or fails: the figures are printed, always exit 0.
//
//   node bench/thumbnail_page.mjs <site.json written by site_writer>
import { readFileSync } from 'node:fs';
import { cpus, loadavg } from 'node:os';
import { dirname } from 'node:path';
import { pathToFileURL } from 'node:url';
import { openBrowser, serveFiles } from '../tests/browser/browser.mjs';

const RUNS = Number(process.env.BENCH_RUNS || 3);
const STEPS = Number(process.env.BENCH_STEPS || 30);
const MBITS = Number(process.env.BENCH_MBITS || 40);
const LATENCY_MS = Number(process.env.BENCH_LATENCY_MS || 0);
const QUIET_MS = 1000;
const GIVE_UP_MS = 120000;
const PAGES = [
  ['without thumbnails', '图库四/照片'],
  ['with thumbnails', '图库五/照片'],
  ['4000×3000, with thumbnails', '图库七/缩略图'],
  ['4000×3000, with display copies', '图库七/副本'],
  ['HEIC photos, with display copies', '图库八/HEIC'],
];
const FORMS = [
  ['1280×800', { viewport: { width: 1280, height: 800 } }],
  ['1920×1080', { viewport: { width: 1920, height: 1080 } }],
  ['390×844 phone at 3×', { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 }],
];

// Runs in the page before its own scripts; times are performance.now(),
// milliseconds since navigation started. Every click that opens the viewer
// and every → in it is a view: when it began, the first frame showing a
// picture and the first showing the sharp one (its file loaded, no
// thumbnail standing in).
function instrument() {
  const bench = (window.__bench = { loads: {}, views: [] });
  document.addEventListener('load', (event) => {
    if (event.target.id) bench.loads[event.target.id] = event.timeStamp;
  }, true);

  // When every grid picture on the screen has loaded: the last one's time.
  bench.firstScreen = () => {
    const onScreen = [...document.querySelectorAll('img.myImg')].filter((img) => {
      const r = img.getBoundingClientRect();
      return r.width > 0 && r.bottom > 0 && r.top < innerHeight;
    });
    if (!onScreen.length || !onScreen.every((img) => img.complete && img.naturalWidth > 0)) return null;
    return Math.max(...onScreen.map((img) => bench.loads[img.id]));
  };

  const watch = (start) => {
    const view = { start, shown: null, sharp: null };
    bench.views.push(view);
    // Read as the frame's callbacks run, just before it is drawn: a frame
    // may have begun before the key that it shows the answer to.
    const look = () => {
      const now = performance.now();
      const content = document.getElementById('img01');
      const modal = document.getElementById('myModal');
      const loaded = content.complete && content.naturalWidth > 0;
      const preview = modal.classList.contains('viewer-preview');
      if ((loaded || (preview && !modal.classList.contains('viewer-loading'))) && view.shown === null) view.shown = now;
      if (loaded && !preview) view.sharp = now;
      else requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
  };
  addEventListener('click', (event) => {
    if (!bench.views.length && event.target.classList.contains('myImg')) watch(event.timeStamp);
  }, true);
  addEventListener('keydown', (event) => {
    if (bench.views.length && event.key === 'ArrowRight') watch(event.timeStamp);
  }, true);
}

// The network as Chromium reports it: bytes received, requests by kind,
// and when the last request ended.
async function throttled(page) {
  const cdp = await page.context().newCDPSession(page);
  const net = { bytes: 0, originals: 0, copies: 0, thumbnails: 0, other: 0, inFlight: new Set(), quietSince: Date.now() };
  cdp.on('Network.requestWillBeSent', ({ requestId, request }) => {
    net.inFlight.add(requestId);
    net[kind(request.url)]++;
  });
  const ended = ({ requestId }) => {
    net.inFlight.delete(requestId);
    if (!net.inFlight.size) net.quietSince = Date.now();
  };
  cdp.on('Network.loadingFinished', (event) => { net.bytes += event.encodedDataLength; ended(event); });
  cdp.on('Network.loadingFailed', ended);
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', {
    offline: false,
    latency: LATENCY_MS,
    downloadThroughput: (MBITS * 1e6) / 8,
    uploadThroughput: (MBITS * 1e6) / 8,
  });
  return net;
}

// A file of the thumbnail folder is a thumbnail up to 504 pixels long, a
// display copy above.
function kind(url) {
  if (url.includes('/pictures/')) return 'originals';
  const size = /\/img\/thumbs\/[0-9a-f]+(?:-\d+)?-(\d+)x(\d+)\.\w+$/.exec(url);
  if (!size) return 'other';
  return Math.max(size[1], size[2]) > 504 ? 'copies' : 'thumbnails';
}

const snapshot = (net) => ({ bytes: net.bytes, originals: net.originals, copies: net.copies, thumbnails: net.thumbnails });
const since = (later, earlier) => Object.fromEntries(Object.keys(later).map((k) => [k, later[k] - earlier[k]]));

async function quiet(net, ms) {
  const deadline = Date.now() + GIVE_UP_MS;
  while (Date.now() < deadline && (net.inFlight.size || Date.now() - net.quietSince < ms)) {
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

const viewSeen = (page, k) => page.waitForFunction((i) => {
  const view = window.__bench.views[i];
  return view && view.sharp !== null;
}, k, { timeout: GIVE_UP_MS });

async function run(url, options) {
  const browser = await openBrowser(options);
  try {
    const page = await browser.context.newPage();
    await page.addInitScript(instrument);
    const net = await throttled(page);
    await page.goto(url, { waitUntil: 'commit' });
    const first = await page.waitForFunction(() => window.__bench.firstScreen(), null,
      { timeout: GIVE_UP_MS, polling: 'raf' });
    const firstScreen = { at: await first.jsonValue(), ...snapshot(net) };
    await quiet(net, QUIET_MS);
    const rest = snapshot(net);
    await page.locator('#Img1').click();
    await viewSeen(page, 0);
    const afterClick = snapshot(net);
    for (let k = 1; k <= STEPS; k++) {
      await quiet(net, 100);
      await page.keyboard.press('ArrowRight');
      await viewSeen(page, k);
    }
    await quiet(net, 100);
    const views = await page.evaluate(() => window.__bench.views.map(({ start, shown, sharp }) =>
      ({ shown: shown - start, sharp: sharp - start })));
    return { firstScreen, rest, click: views[0], steps: views.slice(1), afterClick, afterSteps: snapshot(net) };
  } finally {
    await browser.close();
  }
}

// ---- printing

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const ms = (v) => `${v.toFixed(v < 100 ? 1 : 0)} ms`;
const kb = (v) => (v >= 1e6 ? `${(v / 1e6).toFixed(2)} MB` : `${(v / 1e3).toFixed(0)} KB`);
const requests = (s) => `${s.originals} originals, ${s.copies} copies, ${s.thumbnails} thumbnails`;
function figure(runs, pick, format) {
  const values = runs.map(pick);
  return `${format(median(values))} (${values.map(format).join(', ')})`;
}

async function main() {
  const file = process.argv[2];
  if (!file) throw new Error('usage: node bench/thumbnail_page.mjs <site.json>');
  const site = JSON.parse(readFileSync(file, 'utf8'));
  const server = await serveFiles(dirname(file));
  console.log(`headless Chromium, http://127.0.0.1 throttled to ${MBITS} Mbit/s, ` +
    `${LATENCY_MS ? `${LATENCY_MS} ms latency` : 'no latency added'}, cold cache, ${RUNS} runs a figure ` +
    `(median, then each run); load average ${loadavg()[0].toFixed(1)} on ${cpus().length} cores`);
  try {
    for (const [form, options] of FORMS) {
      console.log(`\n${form}`);
      for (const [title, key] of PAGES.filter(([, key]) => key in site)) {
        const url = server.origin + pathToFileURL(site[key]).pathname;
        const runs = [];
        let lost = 0;
        for (let i = 0; i < RUNS; i++) {
          try {
            runs.push(await run(url, options));
          } catch (error) {
            if (error.name !== 'TimeoutError') throw error;
            lost++;
          }
        }
        console.log(`  ${title} (${key})${lost ? `: ${lost} run(s) gave up after ${GIVE_UP_MS} ms` : ''}`);
        if (!runs.length) continue;
        const last = runs[runs.length - 1];
        console.log(`    first screen loaded: ${figure(runs, (r) => r.firstScreen.at, ms)}; ` +
          `fetched by then ${figure(runs, (r) => r.firstScreen.bytes, kb)}: ${requests(last.firstScreen)}`);
        console.log(`    at rest: ${figure(runs, (r) => r.rest.bytes, kb)}: ${requests(last.rest)}`);
        console.log(`    click → a picture shown: ${figure(runs, (r) => r.click.shown, ms)}; ` +
          `→ the sharp picture shown: ${figure(runs, (r) => r.click.sharp, ms)}; ` +
          `fetched for it: ${requests(since(last.afterClick, last.rest))}`);
        console.log(`    → through ${STEPS} photos: ` +
          `${figure(runs, (r) => (r.afterSteps.bytes - r.afterClick.bytes) / STEPS, kb)} a further photo; ` +
          `→ until sharp ${figure(runs, (r) => median(r.steps.map((v) => v.sharp)), ms)} ` +
          `(slowest ${figure(runs, (r) => Math.max(...r.steps.map((v) => v.sharp)), ms)}); ` +
          `fetched: ${requests(since(last.afterSteps, last.afterClick))}`);
      }
    }
  } finally {
    await server.close();
  }
}

await main();
