// The browser edition's figures, in headless Chromium on the local server:
// what the first load transfers (gzipped), how soon the first preview is
// painted, how long a colour edit takes to reach the canvas, and Fix All and
// Generate in WebAssembly. A benchmark run by hand, never a timed test:
//   ./scripts/run --web --build-only && node bench/web/bench.mjs [ROUNDS]
import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { startBrowser } from '../../web/tests/browser.mjs';
import { Site } from '../../web/tests/lib.mjs';

const rounds = Number(process.argv[2] ?? 5);
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
// The site served by a process of its own, as ./scripts/run --web serves it.
const server = spawn(process.execPath, [new URL('../../web/tools/serve.mjs', import.meta.url).pathname, Site, '0']);
const url = await new Promise((resolve) => server.stdout.on('data', (d) => {
  const found = /http:\/\/\S+\//.exec(String(d));
  if (found) resolve(found[0]);
}));
const web = await startBrowser({ url });

// The first load: every file the page fetched, as a server sending gzip would.
const loads = [];
let transferred = 0;
for (let i = 0; i < rounds; ++i) {
  const { page, context } = await web.page();
  const paths = [];
  page.on('request', (r) => paths.push(new URL(r.url()).pathname));
  await web.open(page);
  await page.waitForFunction(() => performance.getEntriesByName('larkspur-first-preview').length > 0);
  loads.push(await page.evaluate(() => performance.getEntriesByName('larkspur-first-preview')[0].startTime));
  if (i === 0)
    for (const path of new Set(paths)) {
      if (path === '/sw.js') continue;  // fetched by the worker after the page is up
      transferred += gzipSync(readFileSync(join(Site, path.endsWith('/') ? `${path}index.html` : path)), { level: 9 }).length;
    }
  await context.close();
}

// Edits, Fix All and Generate, in the page.
const { page } = await web.page();
await web.open(page);
await page.waitForTimeout(1000);  // as a user would take to reach a command: the page's idle warm-up done
const figures = await page.evaluate(async (n) => {
  const editor = window.larkspur;
  const frame = () => new Promise((resolve) => requestAnimationFrame(() => resolve()));
  const edits = [];
  for (let i = 0; i < 20 * n; ++i) {
    await frame();
    const start = performance.now();
    editor.call({ op: 'setColor', color: `#${((i * 0x10307) & 0xFFFFFF).toString(16).padStart(6, '0')}` });
    edits.push(performance.now() - start);
  }
  const fixes = [];
  for (let i = 0; i < n; ++i) {
    editor.call({ op: 'new' });
    const start = performance.now();
    editor.core.call({ op: 'fixAll' });
    fixes.push(performance.now() - start);
  }
  const generated = [];
  for (let i = 0; i < n; ++i)
    for (const style of ['fidelity', 'vibrant', 'tonal', 'expressive', 'monochrome']) {
      const start = performance.now();
      editor.core.call({ op: 'generate', seeds: ['#3366CC', '#CC3333', '#33AA55'], style, variation: i });
      generated.push(performance.now() - start);
    }
  return { edits, fixes, generated };
}, rounds);
await web.close();
server.kill();

const ms = (x) => `${x.toFixed(1)} ms`;
console.log(`first load, gzipped:            ${(transferred / 1024).toFixed(1)} KiB (budget 300 KB)`);
console.log(`first preview after navigation: median ${ms(median(loads))}, slowest ${ms(Math.max(...loads))} of ${rounds} (budget 500 ms): ${loads.map((x) => x.toFixed(0)).join(', ')}`);
console.log(`colour edit to painted canvas:  median ${ms(median(figures.edits))}, slowest ${ms(Math.max(...figures.edits))} (budget 16.7 ms)`);
console.log(`Fix All (default theme):        first ${ms(figures.fixes[0])}, median ${ms(median(figures.fixes))} (budget 20 ms)`);
console.log(`Generate (five styles):         first ${ms(figures.generated[0])}, median ${ms(median(figures.generated))}, slowest after the first ${ms(Math.max(...figures.generated.slice(1)))} (budget 20 ms)`);
