// Shared set-up of the browser tests: Debian's Chromium, driven through
// playwright-core, each browser with a fresh profile folder; and the pages
// that site_writer wrote (named in site.json of $GALMORA_SITES).
import { chromium } from 'playwright-core';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
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
export function pageUrl(key) {
  if (!manifest) {
    const folder = process.env.GALMORA_SITES;
    if (!folder) throw new Error('GALMORA_SITES is not set; run the tests through run.sh');
    manifest = JSON.parse(readFileSync(join(folder, 'site.json'), 'utf8'));
  }
  if (!(key in manifest)) throw new Error(`no page ${key} in site.json`);
  return pathToFileURL(manifest[key]).href;
}
