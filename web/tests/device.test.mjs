// The device over a scripted WebHID, played by the simulated device: the
// states and texts of the desktop, download on connect, upload with
// read-back keeping the device's own bytes, and a device that misbehaves.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { sharedBrowser, view } from './browser.mjs';
import { fakeDevice } from './fakehid.mjs';

const web = sharedBrowser();

// A page with the device plugged in (or not) before it loads.
async function withDevice({ plugged = true, model = 'large' } = {}) {
  const fake = await fakeDevice(model);
  fake.state.plugged = plugged;
  const { page, context } = await web.page({ before: [fake.script] });
  await fake.expose(page);
  await web.open(page);
  return { page, context, fake };
}

const statusIs = (page, text) => page.waitForFunction((t) => document.getElementById('stBar').textContent === t, text);

test('a device allowed before connects at load, is checked, and its theme downloaded; an upload is read back and keeps the device\'s own bytes', async () => {
  const { page, context, fake } = await withDevice();
  await statusIs(page, 'Theme was downloaded successfully');
  assert.equal(await page.title(), 'Larkspur Theme Editor - Untitled *');
  assert.equal((await view(page)).themeMenu, true);
  const factory = fake.device.theme();
  // Uploading what was downloaded gives the device its own block back.
  await page.keyboard.press('F8');
  await statusIs(page, 'Theme was uploaded successfully');
  assert.ok(fake.device.theme().equals(factory), 'the downloaded theme went back unchanged');
  // An edited colour goes up; the 44 bytes after the theme stay the device's.
  await page.getByRole('listbox', { name: 'Colours' }).getByRole('option', { name: 'Background' }).click();
  await page.getByRole('button', { name: 'Colour' }).click();
  await page.fill('#hexField', '#FFFFFF');
  await page.getByRole('button', { name: 'OK' }).click();
  await page.getByRole('menuitem', { name: 'Theme', exact: true }).click();
  await page.getByRole('menuitem', { name: 'Upload to Device' }).click();
  await statusIs(page, 'Theme was uploaded successfully');
  const stored = fake.device.theme();
  assert.deepEqual([stored[0], stored[1]], [0xFF, 0xFF], 'Main_Background is white on the device');
  assert.ok(stored.subarray(2).equals(factory.subarray(2)), 'every other byte, and bytes 84-127, as they were');
  await context.close();
});

test('Connect Device... takes the device the browser\'s chooser gives; unplugging says Disconnected', async () => {
  const { page, context, fake } = await withDevice({ plugged: false });
  assert.equal(await page.getByRole('status').textContent(), 'Disconnected');
  fake.state.plugged = true;
  await page.getByRole('menuitem', { name: 'Theme', exact: true }).click();
  await page.getByRole('menuitem', { name: 'Connect Device...' }).click();
  await statusIs(page, 'Theme was downloaded successfully');
  assert.equal(await page.evaluate(() => window.__fakeHid.requested), 1);
  await page.evaluate(() => window.__fakeHid.unplug());
  await statusIs(page, 'Disconnected');
  assert.equal((await view(page)).themeMenu, false);
  // Plugged in again: checked again; the edited theme is not downloaded over.
  await page.getByRole('button', { name: 'Colour' }).click();
  await page.fill('#hexField', '#123456');
  await page.getByRole('button', { name: 'OK' }).click();
  fake.state.plugged = true;
  await page.evaluate(() => window.__fakeHid.plug());
  await statusIs(page, 'Connected');
  assert.equal((await view(page)).color, '#103552', 'the edit is kept');
  await context.close();
});

test('a device that misbehaves fails the transfer with the desktop\'s texts and leaves the theme', async () => {
  const cases = [
    { name: 'a silent device', breakIt: (d) => d.silent(true), text: 'A device error has occurred' },
    { name: 'short reports', breakIt: (d) => d.replySize(32), text: 'A device error has occurred' },
    { name: 'long reports', breakIt: (d) => d.replySize(100), text: 'A device error has occurred' },
  ];
  for (const c of cases) {
    const { page, context, fake } = await withDevice();
    await statusIs(page, 'Theme was downloaded successfully');
    // A saved state to keep: the download is the document.
    const before = await view(page);
    c.breakIt(fake.device);
    await page.keyboard.press('F5');
    await page.getByRole('button', { name: 'Yes' }).click();  // "Theme was not saved. Continue?"
    await statusIs(page, c.text);
    const after = await view(page);
    assert.equal(after.status.failed, true, c.name);
    assert.deepEqual(after.items, before.items, `${c.name}: the theme is as it was`);
    await context.close();
  }
});

test('a device unplugged during an upload says so', async () => {
  const { page, context, fake } = await withDevice();
  await statusIs(page, 'Theme was downloaded successfully');
  fake.state.unplugAfterWrites = 2;
  await page.keyboard.press('F8');
  await statusIs(page, 'The device was unplugged during the upload: upload the theme again');
  assert.equal((await view(page)).themeMenu, false);
  await context.close();
});

test('a small-display device is checked against the Override setting', async () => {
  const { page, context } = await withDevice({ model: 'small' });
  await statusIs(page, 'Incompatible firmware');
  assert.match(await page.getByRole('status').getAttribute('title'), /add SIMS to the Override setting/);
  await context.close();
});

test('without WebHID the page says once that device transfer needs a Chromium-based browser', async () => {
  const { page, context } = await web.page({ before: [() => { delete Navigator.prototype.hid; }] });
  await web.open(page);
  assert.match(await page.getByRole('status').textContent(), /Device transfer needs a Chromium-based browser/);
  await page.getByRole('listbox', { name: 'Colours' }).getByRole('option', { name: 'Clock' }).click();
  // Everything else works.
  assert.equal((await view(page)).selectedName, 'Clock');
  await context.close();
});
