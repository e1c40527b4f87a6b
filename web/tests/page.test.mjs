// The page in headless Chromium, used as a designer uses it: the preview is
// lsthtool's picture, clicks select what the desktop selects, a colour is
// edited and undone, a theme opened through the file input and saved as a
// download, and a crashed tab's draft is offered back.
import assert from 'node:assert/strict';
import { copyFileSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { canvasRgb, previewPoint, sharedBrowser, view } from './browser.mjs';
import { decodePng, lsthtool, tempDir } from './lib.mjs';

const At = '2026-12-08 09:05';
const dir = tempDir();
const theme = join(dir, 'Dusk.lsth');
lsthtool('set', theme, 'Main_Dom=#E0A040', 'Main_Background=#102030');
// The browser without the File System Access API: the file input and a download.
const WithoutFilePickers = () => {
  delete window.showOpenFilePicker;
  delete window.showSaveFilePicker;
};

const web = sharedBrowser();

test('the preview is lsthtool\'s picture, at 1x and at every zoom at 1.5x', async () => {
  for (const scale of [1, 1.5]) {
    const { page, context } = await web.page({ scale });
    await web.open(page);
    await page.evaluate((at) => window.larkspur.call({ op: 'clock', at }), At);
    const png = join(dir, 'default-0.png');
    lsthtool('render', '--page', '0', '--at', At, '-o', png);
    const theirs = decodePng(readFileSync(png));
    for (const zoom of scale === 1 ? [1] : [1, 2, 3]) {
      await page.evaluate((z) => window.larkspur.setZoom(z), zoom);
      const shown = await page.evaluate(() => [document.getElementById('preview').width, devicePixelRatio]);
      // Every device pixel a whole square of screen pixels: the largest that fits the zoom.
      const k = Math.floor(zoom * scale);
      assert.equal(shown[0], 240 * k, `zoom ${zoom} at ${scale}x`);
      const mine = await canvasRgb(page);
      assert.ok(mine, `zoom ${zoom} at ${scale}x: a device pixel is not one square of one colour`);
      assert.ok(mine.equals(theirs.rgb), `zoom ${zoom} at ${scale}x: the pixels differ`);
    }
    await context.close();
  }
});

test('a click on the preview and on a row select what the desktop selects', async () => {
  const { page, context } = await web.page({ scale: 1.5 });
  await web.open(page);
  await page.evaluate(() => window.larkspur.setZoom(2));
  // Points the desktop's session table names, clicked with the real mouse.
  const cases = [
    { page: 0, small: false, x: 120, y: 90, row: 'Dominant', slot: 8 },
    { page: 0, small: false, x: 34, y: 20, row: 'Battery', slot: 3 },
    { page: 0, small: false, x: 239, y: 168, row: 'Divider', slot: 1 },
    { page: 0, small: true, x: 119, y: 190, row: 'Info', slot: 14 },
    { page: 0, small: true, x: 118, y: 190, row: 'Info Backgnd.', slot: 2 },
    { page: 4, small: false, x: 95, y: 297, row: 'Background', slot: 20 },
    { page: 7, small: true, x: 85, y: 147, row: 'Time', slot: 27 },
  ];
  for (const c of cases) {
    await page.keyboard.press(c.small ? 'F2' : 'F1');
    await page.selectOption('#cmbLayout', String(c.page));
    const at = await previewPoint(page, c.x, c.y);
    await page.mouse.click(at.x, at.y);
    const v = await view(page);
    assert.equal(v.selected, c.slot, `${c.row} at ${c.x},${c.y}`);
    assert.equal(await page.locator('#lstColors [aria-selected=true]').textContent(), c.row);
  }
  // The pointer names what a click there selects, and what paints the pixel.
  await page.keyboard.press('F1');
  await page.selectOption('#cmbLayout', '0');
  const over = await previewPoint(page, 120, 90);
  await page.mouse.move(over.x, over.y);
  await page.waitForFunction(() => !document.getElementById('tip').hidden);
  assert.equal(await page.locator('#tip').textContent(), 'Dominant\n#FFFFFF  0xFFFF');
  // A row: the list is a listbox of the list names, and the button follows.
  await page.keyboard.press('F1');
  await page.selectOption('#cmbLayout', '0');
  await page.getByRole('listbox', { name: 'Colours' }).getByRole('option', { name: 'Fixed Acc.' }).click();
  assert.equal((await view(page)).selectedName, 'Fixed Acc.');
  assert.match(await page.getByRole('button', { name: 'Colour' }).textContent(), /^#00BEFF 0x[0-9A-F]{4}$/);
  await context.close();
});

test('a colour is tried, chosen rounded to RGB565, undone; Cancel takes it back', async () => {
  const { page, context } = await web.page();
  await web.open(page);
  const before = await canvasRgb(page);
  await page.getByRole('listbox', { name: 'Colours' }).press('Enter');
  await page.fill('#hexField', '#C86432');
  // Tried: the preview shows it, the theme does not hold it.
  assert.notDeepEqual(await canvasRgb(page), before);
  assert.equal((await view(page)).modified, false);
  await page.getByRole('button', { name: 'Cancel' }).click();
  assert.deepEqual(await canvasRgb(page), before, 'Cancel restores the preview');
  await page.getByRole('button', { name: 'Colour' }).click();
  await page.fill('#hexField', '#C86432');
  await page.getByRole('button', { name: 'OK' }).click();
  assert.equal(await page.getByRole('button', { name: 'Colour' }).textContent(), '#C56531 0xC326');
  assert.equal(await page.title(), 'Larkspur Theme Editor - Untitled *');
  await page.keyboard.press('Control+z');
  assert.equal(await page.getByRole('button', { name: 'Colour' }).textContent(), '#000000 0x0000');
  assert.equal(await page.title(), 'Larkspur Theme Editor - Untitled');
  assert.deepEqual(await canvasRgb(page), before);
  // Copy and Paste Colour through the clipboard; a paste names its slot, so
  // a locked one takes it as an edit does, and stays locked.
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  await page.getByRole('listbox', { name: 'Colours' }).getByRole('option', { name: 'Dominant Acc.' }).click();
  await page.keyboard.press('Control+c');
  await page.waitForFunction(() => navigator.clipboard.readText().then((t) => t === '#FF5921'));
  await page.getByRole('listbox', { name: 'Colours' }).getByRole('option', { name: 'Clock' }).click();
  await page.keyboard.press('Control+k');
  await page.keyboard.press('Control+v');
  await page.waitForFunction(() => window.larkspur.view.color === '#FF5921');
  assert.equal((await view(page)).locked, true);
  assert.equal((await view(page)).undo, 'Undo Paste Colour');
  await context.close();
});

test('a theme opened through the file input and saved as a download keeps its bytes', async () => {
  const { page, context } = await web.page({ before: [WithoutFilePickers] });
  await web.open(page);
  const chooser = page.waitForEvent('filechooser');
  await page.getByRole('menuitem', { name: 'File' }).click();
  await page.getByRole('menuitem', { name: 'Open...' }).click();
  await (await chooser).setFiles(theme);
  await page.waitForFunction(() => document.title === 'Larkspur Theme Editor - Dusk.lsth');
  await page.getByRole('listbox', { name: 'Colours' }).getByRole('option', { name: 'Clock' }).click();
  await page.getByRole('button', { name: 'Colour' }).click();
  await page.fill('#hexField', '#C86432');
  await page.keyboard.press('Enter');
  const download = page.waitForEvent('download');
  await page.keyboard.press('Control+s');
  const saved = await download;
  assert.equal(saved.suggestedFilename(), 'Dusk.lsth');
  const expected = join(dir, 'expected.lsth');
  copyFileSync(theme, expected);
  lsthtool('set', expected, 'Main_Clock=#C86432');
  assert.ok(readFileSync(await saved.path()).equals(readFileSync(expected)), 'the saved bytes are lsthtool\'s');
  assert.equal(await page.title(), 'Larkspur Theme Editor - Dusk.lsth');
  assert.equal(await page.getByRole('status').textContent(), 'Theme was saved successfully');
  await context.close();
});

test('a crashed tab\'s draft is offered back', async () => {
  const { page, context } = await web.page();
  await web.open(page);
  await page.getByRole('button', { name: 'Colour' }).click();
  await page.fill('#hexField', '#3050A0');
  await page.getByRole('button', { name: 'OK' }).click();
  // The draft follows the edit.
  await page.waitForFunction(() => Object.keys(localStorage).some((k) => k.includes('/draft/')));
  // The renderer dies: no page hide, no unload, the lock let go as a crash lets it go.
  const session = await context.newCDPSession(page);
  const crashed = new Promise((resolve) => page.once('crash', resolve));
  void session.send('Page.crash').catch(() => undefined);
  await crashed;
  const { page: second } = await web.page({ context });
  await second.goto(web.url);
  const question = second.getByText('Restore the unsaved theme from the last session?');
  await question.waitFor();
  await second.getByRole('button', { name: 'Yes' }).click();
  await second.waitForFunction(() => document.title === 'Larkspur Theme Editor - Untitled *');
  assert.equal(await second.getByRole('button', { name: 'Colour' }).textContent(), '#31519C 0x3293');
  await context.close();
});

test('menus and controls carry the desktop\'s names for the keyboard and screen readers', async () => {
  const { page, context } = await web.page();
  await web.open(page);
  assert.equal(await page.getByRole('img', { name: 'Preview' }).count(), 1);
  assert.equal(await page.getByRole('combobox', { name: 'Page' }).count(), 1);
  const names = await page.getByRole('listbox', { name: 'Colours' }).getByRole('option').allTextContents();
  assert.deepEqual(names, ['Background', 'Battery', 'Battery Label', 'Clock', 'Divider', 'Divider Sq.', 'Dominant',
    'Dominant Acc.', 'Fixed', 'Fixed Acc.', 'Info', 'Info Acc.', 'Info Label', 'Profile']);
  assert.equal(await page.getByRole('status').textContent(), 'Disconnected');
  // F10 opens the menu bar; arrows and Enter choose "80x160".
  await page.keyboard.press('F10');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  assert.equal((await view(page)).small, true);
  // Each menu, opened, names its items as the desktop does.
  const items = {
    File: ['New', 'Open...', 'Save', 'Save As...'], Edit: ['Undo', 'Redo', 'Copy Colour', 'Paste Colour', 'Lock Colour'],
    Display: ['240x320', '80x160', 'Check Legibility...'],
  };
  for (const [menu, names] of Object.entries(items)) {
    await page.getByRole('menuitem', { name: menu, exact: true }).click();
    const shown = page.getByRole('menu', { name: menu });
    for (const name of names)
      assert.equal(await shown.getByRole('menuitem', { name, exact: true })
        .or(shown.getByRole('menuitemradio', { name, exact: true })).or(shown.getByRole('menuitemcheckbox', { name, exact: true })).count(), 1, name);
    await page.keyboard.press('Escape');
  }
  // The Theme menu waits for a device; its items are there with their names.
  assert.deepEqual(await page.locator('#menubar [data-menu=Theme] [role=menuitem] .caption').allTextContents(),
    ['Connect Device...', 'Download from Device', 'Upload to Device']);
  await context.close();
});

test('once loaded, the page works offline', async () => {
  const { page, context } = await web.page();
  await web.open(page);
  // The worker has the whole site before it takes over the page.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => !!navigator.serviceWorker.controller);
  await context.setOffline(true);
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  assert.equal(await page.title(), 'Larkspur Theme Editor - Untitled');
  assert.ok(await canvasRgb(page), 'the preview is painted');
  await page.keyboard.press('F2');
  assert.equal((await view(page)).small, true);
  await context.close();
});

test('a theme file dropped on the page is opened', async () => {
  const { page, context } = await web.page();
  await web.open(page);
  const bytes = [...readFileSync(theme)];
  await page.evaluate((content) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([Uint8Array.from(content)], 'Dusk.lsth'));
    document.getElementById('preview').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, bytes);
  await page.waitForFunction(() => document.title === 'Larkspur Theme Editor - Dusk.lsth');
  assert.equal((await view(page)).items.find((i) => i.name === 'Background').color, '#102031');
  await context.close();
});

test('Check Legibility mends the theme, and Generate Theme makes what lsthtool generate makes', async () => {
  const { page, context } = await web.page({ before: [WithoutFilePickers] });
  await web.open(page);
  await page.keyboard.press('Control+l');
  const summary = page.locator('#legSummary');
  assert.match(await summary.textContent(), /^5 pairs are hard to read at this display size/);
  await page.getByRole('button', { name: 'Fix All' }).click();
  assert.equal(await summary.textContent(), 'Every text, digit and icon is legible at this display size.');
  await page.getByRole('button', { name: 'Close' }).click();
  assert.equal((await view(page)).undo, 'Undo Fix Legibility');
  await page.getByRole('menuitem', { name: 'Edit', exact: true }).click();
  await page.getByRole('menuitem', { name: 'Generate Theme...' }).click();
  await page.selectOption('#genStyle', 'vibrant');
  await page.getByRole('button', { name: 'OK' }).click();
  assert.equal(await page.title(), 'Larkspur Theme Editor - Untitled *');
  // Saved under the name asked for, as a download.
  await page.keyboard.press('Control+s');
  await page.fill('#askInput', 'Vivid');
  const download = page.waitForEvent('download');
  await page.getByRole('button', { name: 'Save' }).click();
  const saved = await download;
  assert.equal(saved.suggestedFilename(), 'Vivid.lsth');
  const expected = join(dir, 'vivid.lsth');
  // The hero and the second of the theme, as the dialog starts with them.
  lsthtool('generate', '--seed', '#FF5921', '--seed', '#00BEFF', '--style', 'vibrant', '--display', '240x320', '-o', expected);
  assert.ok(readFileSync(await saved.path()).equals(readFileSync(expected)), 'the generated theme is lsthtool\'s');
  assert.equal(await page.title(), 'Larkspur Theme Editor - Vivid.lsth');
  await context.close();
});

test('with the File System Access API, Save writes the file the document came from, also after an Undo of Open', async () => {
  // The browser's pickers, scripted: the files to open in turn, what each handle was last given.
  const Pickers = () => {
    window.__written = {};
    window.__toOpen = [];
    const handleFor = (name, bytes) => ({
      name,
      getFile: async () => new File([Uint8Array.from(bytes)], name),
      createWritable: async () => {
        let last = null;
        return { write: async (data) => { last = Array.from(new Uint8Array(data.buffer ?? data)); }, close: async () => { window.__written[name] = last; } };
      },
    });
    window.showOpenFilePicker = async () => [handleFor(...window.__toOpen.shift())];
    window.showSaveFilePicker = async ({ suggestedName }) => handleFor(suggestedName, []);
  };
  const { page, context } = await web.page({ before: [Pickers] });
  await web.open(page);
  const other = join(dir, 'Other.lsth');
  lsthtool('set', other, 'Main_Clock=#00FF00');
  await page.evaluate((files) => { window.__toOpen.push(...files); }, [['Dusk.lsth', [...readFileSync(theme)]], ['Other.lsth', [...readFileSync(other)]]]);
  const editClock = async (hex) => {
    await page.getByRole('listbox', { name: 'Colours' }).getByRole('option', { name: 'Clock' }).click();
    await page.getByRole('button', { name: 'Colour' }).click();
    await page.fill('#hexField', hex);
    await page.keyboard.press('Enter');
  };
  const written = (name) => page.evaluate((n) => window.__written[n] ?? null, name);
  await page.keyboard.press('Control+o');
  await page.waitForFunction(() => document.title === 'Larkspur Theme Editor - Dusk.lsth');
  await editClock('#C86432');
  await page.keyboard.press('Control+s');
  await page.waitForFunction(() => window.__written['Dusk.lsth']);
  const expected = join(dir, 'expected-fsa.lsth');
  copyFileSync(theme, expected);
  lsthtool('set', expected, 'Main_Clock=#C86432');
  assert.ok(Buffer.from(await written('Dusk.lsth')).equals(readFileSync(expected)), 'Save wrote the opened file');
  // Another file opened, then the Open undone: Save goes back into the first file.
  await page.keyboard.press('Control+o');
  await page.waitForFunction(() => document.title === 'Larkspur Theme Editor - Other.lsth');
  await page.keyboard.press('Control+z');
  assert.equal(await page.title(), 'Larkspur Theme Editor - Dusk.lsth');
  await editClock('#3050A0');
  await page.evaluate(() => { delete window.__written['Dusk.lsth']; });
  await page.keyboard.press('Control+s');
  await page.waitForFunction(() => window.__written['Dusk.lsth']);
  lsthtool('set', expected, 'Main_Clock=#3050A0');
  assert.ok(Buffer.from(await written('Dusk.lsth')).equals(readFileSync(expected)), 'the second Save went into Dusk.lsth');
  assert.equal(await written('Other.lsth'), null, 'Other.lsth was never written');
  await context.close();
});
