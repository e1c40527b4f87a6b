// The WebAssembly core against lsthtool: the same pixels on every page at
// both sizes, and the same bytes for every file both write.
import assert from 'node:assert/strict';
import { copyFileSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { decodePng, loadCore, lsthtool, rgbOf, tempDir } from './lib.mjs';

const At = '2026-12-08 09:05';
const dir = tempDir();

// A theme whose 42 colours all differ, so a slot mixed up anywhere shows.
const theme = join(dir, 'Distinct.lsth');
lsthtool('set', theme);
const keys = lsthtool('dump', theme).split('\n').filter((l) => /^\d+ /.test(l)).map((l) => l.split(' ')[1]);
lsthtool('set', theme, ...keys.map((k, i) => `${k}=#${((i * 0x2F6B1D + 0x1F3A57) & 0xFFFFFF).toString(16).padStart(6, '0')}`));

test('every page at both sizes has the pixels lsthtool draws', async () => {
  const core = await loadCore();
  core.call({ op: 'open', path: core.put('Distinct.lsth', readFileSync(theme)) });
  core.call({ op: 'clock', at: At });
  for (const display of ['240x320', '80x160']) {
    core.call({ op: 'display', small: display === '80x160' });
    for (let page = 0; page < 8; ++page) {
      core.call({ op: 'page', page });
      core.call({ op: 'frame' });
      const mine = rgbOf(core.buffer());
      const png = join(dir, `page${page}-${display}.png`);
      lsthtool('render', theme, '--page', String(page), '--display', display, '--at', At, '-o', png);
      const theirs = decodePng(readFileSync(png));
      assert.equal(theirs.width * theirs.height * 3, mine.length, `page ${page} at ${display}: size`);
      assert.ok(mine.equals(theirs.rgb), `page ${page} at ${display}: pixels differ`);
    }
  }
});

// Each case: what the page does through the core, and the lsthtool command
// that should write the same bytes into a copy of the theme.
const fileCases = [
  { name: 'an edited colour saved', core: [{ op: 'select', slot: 5 }, { op: 'setColor', color: '#C86432' }, { op: 'save' }],
    tool: (file) => ['set', file, `${keys[5]}=#C86432`] },
  { name: 'Fix All saved', core: [{ op: 'fixAll' }, { op: 'save' }], tool: (file) => ['lint', file, '--fix'] },
];

test('saved files are byte for byte what lsthtool writes', async () => {
  for (const c of fileCases) {
    const copy = join(dir, `copy-${fileCases.indexOf(c)}.lsth`);
    copyFileSync(theme, copy);
    const args = c.tool(copy);
    try {
      lsthtool(...args);
    } catch (e) {
      // lint exits 1 when a pair stays hard to read; the file is written all the same
      if (e.status !== 1) throw e;
    }
    const core = await loadCore();
    const path = core.put('Distinct.lsth', readFileSync(theme));
    core.call({ op: 'open', path });
    let last;
    for (const request of c.core) last = core.call(request);
    assert.equal(last.status.failed, false, `${c.name}: ${last.status.text}`);
    assert.ok(core.read(path).equals(readFileSync(copy)), `${c.name}: the bytes differ`);
  }
});

test('Compare With lists lsthtool\'s differences, Take takes them, and an imported palette changes what lsthtool\'s convert does', async () => {
  const other = join(dir, 'Other.lsth');
  lsthtool('set', other, `${keys[0]}=#203040`, `${keys[12]}=#FFEEDD`, `${keys[30]}=#00FF00`);
  let listed;
  try {
    listed = lsthtool('diff', theme, other);
  } catch (e) {
    listed = e.stdout;  // exit 1: they differ
  }
  const core = await loadCore();
  const path = core.put('Distinct.lsth', readFileSync(theme));
  core.call({ op: 'open', path });
  assert.equal(core.call({ op: 'compare', path: core.put('Other.lsth', readFileSync(other)) }).name, 'Other.lsth');
  const differences = core.call({ op: 'differences' }).differences;
  assert.deepEqual(differences.map((d) => d.key), listed.trim().split('\n').map((l) => l.split(' ')[0]));
  // Take one, then all but a locked one.
  core.call({ op: 'take', slots: [differences[0].slot] });
  assert.equal(core.call({ op: 'differences' }).differences.length, differences.length - 1);
  core.call({ op: 'select', slot: 12 });
  core.call({ op: 'lock', locked: true });
  core.call({ op: 'takeAll' });
  assert.deepEqual(core.call({ op: 'differences' }).differences.map((d) => d.key), [`${keys[12]} (locked)`]);

  // A palette of three named colours into the theme: those three change, nothing else.
  const palette = join(dir, 'three.gpl');
  writeFileSync(palette, `GIMP Palette\nName: three\n#\n255 0 0 ${keys[2]}\n0 0 255 ${keys[7]}\n10 20 30 ${keys[40]}\n`);
  const expected = join(dir, 'palette-into.lsth');
  copyFileSync(theme, expected);
  lsthtool('convert', palette, expected);
  const fresh = await loadCore();
  const target = fresh.put('Distinct.lsth', readFileSync(theme));
  fresh.call({ op: 'open', path: target });
  const read = fresh.call({ op: 'readPalette', path: fresh.put('three.gpl', readFileSync(palette)) });
  assert.equal(read.question, '', 'every colour names its slot: nothing to ask');
  fresh.call({ op: 'importPalette' });
  assert.equal(fresh.call({ op: 'save' }).status.text, 'Theme was saved successfully');
  assert.ok(fresh.read(target).equals(readFileSync(expected)), 'the imported palette\'s bytes differ');
});

test('a generated theme, palettes and picture seeds are what lsthtool makes', async () => {
  const core = await loadCore();
  // Generate from two seeds in every style, saved as a new file.
  for (const style of ['fidelity', 'vibrant', 'tonal', 'expressive', 'monochrome']) {
    core.call({ op: 'new' });
    const generated = core.call({ op: 'generate', seeds: ['#3366CC', '#CC3333'], style, vividness: 120 });
    assert.equal(generated.error, undefined);
    core.call({ op: 'applyGenerated' });
    const path = core.path('Generated.lsth');
    core.call({ op: 'saveAs', path });
    const out = join(dir, `generated-${style}.lsth`);
    lsthtool('generate', '--seed', '#3366CC', '--seed', '#CC3333', '--style', style, '--vividness', '120', '--display', '240x320', '-o', out);
    assert.ok(core.read(path).equals(readFileSync(out)), `generate ${style}: the bytes differ`);
  }
  // Palettes in every format.
  core.call({ op: 'open', path: core.put('Distinct.lsth', readFileSync(theme)) });
  for (const extension of ['gpl', 'json', 'h']) {
    const path = core.path(`Distinct.${extension}`);
    core.call({ op: 'exportPalette', path });
    const out = join(dir, `Distinct.${extension}`);
    lsthtool('convert', theme, out);
    assert.ok(core.read(path).equals(readFileSync(out)), `palette .${extension}: the bytes differ`);
  }
  // Export Image, Export All Pages and the theme card: lsthtool's pictures.
  core.call({ op: 'clock', at: At });
  const exports = [
    { op: 'exportImage', zoom: 2, page: 3, args: ['render', theme, '--page', '3', '--screen-only', '--zoom', '2', '--at', At] },
    { op: 'exportAll', zoom: 1, page: 0, args: ['render', theme, '--page', 'all', '--screen-only', '--at', At] },
    { op: 'exportCard', zoom: 1, page: 0, args: ['card', theme, '--at', At] },
  ];
  for (const e of exports) {
    core.call({ op: 'zoom', zoom: e.zoom });
    core.call({ op: 'page', page: e.page });
    const path = core.path('export.png');
    assert.equal(core.call({ op: e.op, path }).status.text, 'Image was exported successfully');
    const out = join(dir, `${e.op}.png`);
    lsthtool(...e.args, '-o', out);
    const mine = decodePng(core.read(path)), theirs = decodePng(readFileSync(out));
    assert.deepEqual([mine.width, mine.height], [theirs.width, theirs.height], `${e.op}: size`);
    assert.ok(mine.rgb.equals(theirs.rgb), `${e.op}: the pixels differ`);
  }
  // Seeds of a picture, from the file's bytes.
  const picture = join(dir, 'picture.png');
  lsthtool('render', theme, '--page', '0', '--at', At, '-o', picture);
  const answer = core.call({ op: 'pictureSeeds', path: core.put('picture.png', readFileSync(picture)) });
  const printed = lsthtool('generate', '--from-picture', picture, '-o', join(dir, 'from-picture.lsth'));
  assert.equal(`seeds ${answer.seeds.join(' ')}`, printed.trim().split('\n')[0]);
});
