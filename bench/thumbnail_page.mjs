// Measures the sub-gallery page of 200 camera-weight photos (1584 × 1056,
// about 110 KB each) without and with thumbnails (504 × 336, about 11 KB),
// in headless Chromium, served over HTTP from 127.0.0.1 with the network
// throttled (40 Mbit/s both ways unless BENCH_MBITS says otherwise; no
// latency added unless BENCH_LATENCY_MS), at 1280×800 and as a 390×844
// phone at 3×, each run in a fresh browser with an empty cache:
//
//   first screen     navigation until every picture on the first screen has
//                    loaded, and the bytes and requests fetched by then
//   at rest          the bytes and requests once the network has been quiet
//                    for a second (the lazy loading's margin included)
//   click → shown    a click on the first picture until the first frame in
//                    which the viewer shows a picture (the thumbnail or the
//                    original), and until the first frame with the original
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
const MBITS = Number(process.env.BENCH_MBITS || 40);
const LATENCY_MS = Number(process.env.BENCH_LATENCY_MS || 0);
const QUIET_MS = 1000;
const GIVE_UP_MS = 120000;
const PAGES = [['without thumbnails', '图库四/照片'], ['with thumbnails', '图库五/照片']];
const FORMS = [
  ['1280×800', { viewport: { width: 1280, height: 800 } }],
  ['390×844 phone at 3×', { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 }],
];

// Runs in the page before its own scripts; times are performance.now(),
// milliseconds since navigation started.
function instrument() {
  const bench = (window.__bench = { loads: {}, click: null, shown: null, original: null });
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

  const watchViewer = (frame) => {
    const content = document.getElementById('img01');
    const modal = document.getElementById('myModal');
    const original = content.complete && content.naturalWidth > 0;
    const thumbnail = modal.classList.contains('viewer-preview') && !modal.classList.contains('viewer-loading');
    if ((original || thumbnail) && bench.shown === null) bench.shown = frame;
    if (original) bench.original = frame;
    else requestAnimationFrame(watchViewer);
  };
  addEventListener('click', (event) => {
    if (bench.click !== null || !event.target.classList.contains('myImg')) return;
    bench.click = event.timeStamp;
    requestAnimationFrame(watchViewer);
  }, true);
}

// The network as Chromium reports it: bytes received, requests by kind,
// and when the last request ended.
async function throttled(page) {
  const cdp = await page.context().newCDPSession(page);
  const net = { bytes: 0, originals: 0, thumbnails: 0, other: 0, inFlight: new Set(), quietSince: Date.now() };
  cdp.on('Network.requestWillBeSent', ({ requestId, request }) => {
    net.inFlight.add(requestId);
    const kind = request.url.includes('/pictures/') ? 'originals' : request.url.includes('/img/thumbs/') ? 'thumbnails' : 'other';
    net[kind]++;
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

const snapshot = (net) => ({ bytes: net.bytes, originals: net.originals, thumbnails: net.thumbnails });

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
    const deadline = Date.now() + GIVE_UP_MS;
    while (Date.now() < deadline && (net.inFlight.size || Date.now() - net.quietSince < QUIET_MS)) {
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
    const rest = snapshot(net);
    await page.locator('#Img1').click();
    await page.waitForFunction(() => window.__bench.original !== null, null, { timeout: GIVE_UP_MS });
    const viewer = await page.evaluate(() => {
      const { click, shown, original } = window.__bench;
      return { shown: shown - click, original: original - click };
    });
    return { firstScreen, rest, viewer, afterClick: snapshot(net) };
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
const requests = (s) => `${s.originals} originals, ${s.thumbnails} thumbnails`;
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
      for (const [title, key] of PAGES) {
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
        console.log(`    click → a picture shown: ${figure(runs, (r) => r.viewer.shown, ms)}; ` +
          `→ the original shown: ${figure(runs, (r) => r.viewer.original, ms)}; ` +
          `fetched for it: ${requests({ originals: last.afterClick.originals - last.rest.originals,
            thumbnails: last.afterClick.thumbnails - last.rest.thumbnails })}`);
      }
    }
  } finally {
    await server.close();
  }
}

await main();
