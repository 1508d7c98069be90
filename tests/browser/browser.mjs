// Shared set-up of the browser tests: Debian's Chromium, driven through
// playwright-core, each browser with a fresh profile folder; the pages that
// site_writer wrote (named in site.json of $GALMORA_SITES), from disk or
// from a local web server.
import { chromium } from 'playwright-core';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

export const CHROMIUM = '/usr/bin/chromium';
export const FLAGS = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

export async function openBrowser(options = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'galmora-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: FLAGS,
    viewport: { width: 1280, height: 800 },
    ...options,
  });
  return {
    context,
    async open(key, viewport) {
      const page = await context.newPage();
      if (viewport) await page.setViewportSize(viewport);
      await page.goto(pageUrl(key));
      return page;
    },
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Waits until every picture that the selector finds has loaded.
export function picturesLoaded(page, selector, options) {
  return page.waitForFunction((s) =>
    [...document.querySelectorAll(s)].every((i) => i.complete && i.naturalWidth > 0), selector, options);
}

let manifest;
// The page's file:// address, or with origin (of serveFiles) its http:// one.
export function pageUrl(key, origin) {
  if (!manifest) manifest = JSON.parse(readFileSync(join(sitesFolder(), 'site.json'), 'utf8'));
  if (!(key in manifest)) throw new Error(`no page ${key} in site.json`);
  const url = pathToFileURL(manifest[key]);
  return origin ? origin + url.pathname : url.href;
}

export function sitesFolder() {
  const folder = process.env.GALMORA_SITES;
  if (!folder) throw new Error('GALMORA_SITES is not set; run the tests through run.sh');
  return folder;
}

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.css': 'text/css', '.js': 'text/javascript',
  '.jpg': 'image/jpeg', '.jpeg': 'image/jpeg', '.png': 'image/png', '.gif': 'image/gif',
  '.webp': 'image/webp', '.svg': 'image/svg+xml',
};

// Serves the files below root over HTTP from 127.0.0.1, each at its own
// absolute path: a page that names its pictures by local paths loads the
// same from there as from disk. Resolves to { origin, close() }.
export async function serveFiles(root) {
  const server = createServer(async (request, response) => {
    try {
      const path = normalize(decodeURIComponent(new URL(request.url, 'http://host').pathname));
      if (!path.startsWith(root + sep)) throw new Error('outside');
      const bytes = await readFile(path);
      const type = TYPES[extname(path).toLowerCase()] || 'application/octet-stream';
      response.writeHead(200, { 'Content-Type': type, 'Content-Length': bytes.length });
      response.end(bytes);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    origin: `http://127.0.0.1:${server.address().port}`,
    close: () => new Promise((resolve) => { server.closeAllConnections(); server.close(resolve); }),
  };
}
