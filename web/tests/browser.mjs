// A headless Chromium on the built site, for the page tests: the site served
// on 127.0.0.1, every request that leaves its origin recorded (a test fails
// on any), and the page's errors kept.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { after, before } from 'node:test';
import { join } from 'node:path';
import { Site } from './lib.mjs';
import { serve } from '../tools/serve.mjs';

const require = createRequire(import.meta.url);
const { chromium } = require(join(new URL('..', import.meta.url).pathname, 'node_modules/playwright-core'));

export const Chromium = process.env.CHROMIUM ?? '/usr/bin/chromium';

// `url`: a server of the site already running; else one is started here.
export async function startBrowser({ url: given } = {}) {
  const { server, url } = given ? { server: null, url: given } : await serve(Site, 0);
  const browser = await chromium.launch({
    executablePath: Chromium,
    // As root in CI, with no network: no sandbox, nothing in the background.
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'],
  });
  const origin = new URL(url).origin;
  const elsewhere = [];
  const errors = [];
  return {
    url,
    elsewhere,
    errors,
    // A fresh context (its own storage) and page; `before` runs in the page before its scripts.
    async page({ scale = 1, viewport = { width: 900, height: 600 }, before = [], context } = {}) {
      const ctx = context ?? (await browser.newContext({ deviceScaleFactor: scale, viewport, acceptDownloads: true }));
      for (const script of before) await ctx.addInitScript(script);
      const page = await ctx.newPage();
      page.on('request', (r) => {
        const u = new URL(r.url());
        if (!['data:', 'blob:'].includes(u.protocol) && u.origin !== origin) elsewhere.push(r.url());
      });
      page.on('pageerror', (e) => errors.push(e.message));
      // A violation of the page's policy, or a file that is not there, is logged as an error.
      page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
      return { page, context: ctx };
    },
    async open(page) {
      await page.goto(url);
      await page.waitForSelector('body[data-ready=true]');
    },
    async close() {
      await browser.close();
      server?.close();
    },
  };
}

// One browser for a test file's cases, checked at the end for requests
// that left the page's origin and for errors in the page.
export function sharedBrowser() {
  const web = {};
  before(async () => { Object.assign(web, await startBrowser()); });
  after(async () => {
    assert.deepEqual(web.elsewhere, [], 'requests left the page\'s origin');
    assert.deepEqual(web.errors, [], 'the page had errors');
    await web.close();
  });
  return web;
}

// The preview's device pixels, RGB, 240 x 320, read off the canvas, where
// each device pixel must be a whole square of one colour: null when one is not.
export async function canvasRgb(page) {
  const rgb = await page.evaluate(() => {
    const c = document.getElementById('preview');
    const k = c.width / 240;
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const out = new Array(240 * 320 * 3);
    for (let y = 0; y < 320; ++y)
      for (let x = 0; x < 240; ++x) {
        const first = (y * k * c.width + x * k) * 4;
        for (let dy = 0; dy < k; ++dy)
          for (let dx = 0; dx < k; ++dx) {
            const at = ((y * k + dy) * c.width + x * k + dx) * 4;
            if (d[at] !== d[first] || d[at + 1] !== d[first + 1] || d[at + 2] !== d[first + 2]) return null;
          }
        out[(y * 240 + x) * 3] = d[first];
        out[(y * 240 + x) * 3 + 1] = d[first + 1];
        out[(y * 240 + x) * 3 + 2] = d[first + 2];
      }
    return out;
  });
  return rgb && Buffer.from(rgb);
}

// Where on the screen device pixel (x, y) of the preview is, its middle.
export async function previewPoint(page, x, y) {
  return page.evaluate(([px, py]) => {
    const c = document.getElementById('preview');
    const box = c.getBoundingClientRect();
    const perPixel = box.width / 240;
    return { x: box.left + (px + 0.5) * perPixel, y: box.top + (py + 0.5) * perPixel };
  }, [x, y]);
}

export const view = (page) => page.evaluate(() => window.larkspur.view);
