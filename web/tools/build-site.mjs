// Puts the site together in build-web/site: the static files, the compiled
// page, the WebAssembly core and its licences, and a service worker that
// lists every file with a version made from their contents.
//   node web/tools/build-site.mjs BUILD_WEB_DIR LIBRARIES_PREFIX
import { createHash } from 'node:crypto';
import { cpSync, mkdirSync, readdirSync, readFileSync, statSync, writeFileSync, copyFileSync } from 'node:fs';
import { dirname, join, relative } from 'node:path';
import { fileURLToPath } from 'node:url';

const web = join(dirname(fileURLToPath(import.meta.url)), '..');
const root = join(web, '..');
const [build, libraries] = process.argv.slice(2);
const site = join(build, 'site');

mkdirSync(join(site, 'core'), { recursive: true });
cpSync(join(web, 'static'), site, { recursive: true });
for (const f of ['larkspur-core.js', 'larkspur-core.wasm']) copyFileSync(join(build, 'core', f), join(site, 'core', f));
for (const size of [64, 128, 256])
  copyFileSync(join(root, `dist/linux/icons/hicolor/${size}x${size}/apps/larkspur-theme-editor.png`), join(site, `icon-${size}.png`));
mkdirSync(join(site, 'licences'), { recursive: true });
copyFileSync(join(root, 'render/FontData-LICENSE.txt'), join(site, 'licences/DejaVu-fonts.txt'));
if (libraries)
  for (const f of readdirSync(join(libraries, 'licences'))) copyFileSync(join(libraries, 'licences', f), join(site, 'licences', f));

const files = [];
const walk = (dir) => {
  for (const name of readdirSync(dir).sort()) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) walk(path);
    else if (name !== 'sw.js') files.push(relative(site, path).split('\\').join('/'));
  }
};
walk(site);
const hash = createHash('sha256');
for (const f of files) hash.update(f).update(readFileSync(join(site, f)));
const version = hash.digest('hex').slice(0, 16);
const listed = ['./', ...files.filter((f) => !f.startsWith('licences/'))];
const worker = readFileSync(join(build, 'sw', 'sw.js'), 'utf8')
  .replace(/(["'])@VERSION@\1/, JSON.stringify(version)).replace(/(["'])@FILES@\1/, JSON.stringify(listed));
writeFileSync(join(site, 'sw.js'), worker);
console.log(`site: ${files.length + 1} files, version ${version}`);
