// The browser edition's window: the preview, the page chooser, the colour
// list, the colour button and the status line, wired to the core. Every
// change comes back from the core as the view to show, and show() puts it
// on the page in one place.

import { Core, type View } from './core.js';
import { DeviceLink } from './device.js';
import { Drafts } from './drafts.js';
import { EditorDialogs } from './dialogs.js';
import * as files from './files.js';
import { MenuBar, type Menu } from './menus.js';
import { Preview } from './preview.js';
import { Settings } from './settings.js';

const PageNames = ['Main - RizeDori', 'Main - Temp. Control', 'Main - Power Bank', 'Main - Misc.', 'Menu', 'Info, Dialogs',
  'Charge', 'Screensaver'];
const VisionItems: [string, string][] = [['normal', 'Normal vision'], ['protanopia', 'Protanopia'],
  ['deuteranopia', 'Deuteranopia'], ['tritanopia', 'Tritanopia'], ['greyscale', 'Greyscale']];
const NoWebHid = 'Device transfer needs a Chromium-based browser (Chrome, Edge, Opera or Brave): this one has no WebHID';

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;

export class Editor {
  view!: View;
  readonly menus: MenuBar;
  readonly preview: Preview;
  readonly dialogs: EditorDialogs;
  readonly device: DeviceLink;
  readonly drafts: Drafts;
  readonly settings = new Settings();
  // The user's files behind the core's: where a document opened from or
  // saved to a file the browser lets the page write again is saved, also
  // after Undo has gone back to an earlier document.
  private readonly handles = new Map<string, files.FileSystemFileHandleLike>();
  private readonly list = $<HTMLDivElement>('lstColors');
  private readonly pageChooser = $<HTMLSelectElement>('cmbLayout');

  constructor(readonly core: Core) {
    this.preview = new Preview(this, $<HTMLCanvasElement>('preview'), $<HTMLDivElement>('tip'));
    this.dialogs = new EditorDialogs(this);
    this.device = new DeviceLink(core, (v) => this.show(v), (text) => this.say(text, true));
    this.drafts = new Drafts(this);
    this.menus = new MenuBar($('menubar'), this.menuTable());
    for (const [i, name] of PageNames.entries()) this.pageChooser.add(new Option(name, String(i)));
    this.wire();
  }

  // ---- Requests to the core ----

  call(request: Record<string, unknown>): View {
    const view = this.core.call(request);
    this.show(view);
    return view;
  }

  say(text: string, failed = false): void { this.call({ op: 'say', text, failed }); }

  show(view: View): void {
    this.view = view;
    document.title = view.caption;
    this.pageChooser.value = String(view.page);
    this.fillList(view);
    const button = $<HTMLButtonElement>('btnColor');
    if (view.button) {
      (button.querySelector('.caption') as HTMLElement).textContent = view.button;
      (button.querySelector('.swatch') as HTMLElement).style.setProperty('--swatch', view.color ?? '#000000');
    }
    const status = $<HTMLElement>('stBar');
    status.textContent = view.status.text;
    status.title = view.status.tip;
    status.classList.toggle('failed', view.status.failed);
    this.menus.setCaption('undo', view.undo);
    this.menus.setEnabled('undo', view.canUndo);
    this.menus.setCaption('redo', view.redo);
    this.menus.setEnabled('redo', view.canRedo);
    this.menus.setChecked('lock', !!view.locked);
    this.menus.setEnabled('lock', view.selected >= 0);
    this.menus.setEnabled('copy', view.selected >= 0);
    this.menus.setEnabled('paste', view.selected >= 0);
    this.menus.setChecked('large', !view.small);
    this.menus.setChecked('small', view.small);
    this.menus.setEnabled('zoomIn', view.zoom < 4);
    this.menus.setEnabled('zoomOut', view.zoom > 1);
    for (const [vision] of VisionItems) this.menus.setChecked(`vision-${vision}`, view.vision === vision);
    // The menu itself stays open to "Connect Device...", which the desktop has no need of.
    this.menus.setEnabled('download', view.themeMenu);
    this.menus.setEnabled('upload', view.themeMenu);
    this.device.follow(view);
    this.preview.paint();
    this.drafts.changed();
    this.dialogs.refresh();
  }

  private fillList(view: View): void {
    const rows = Array.from(this.list.children) as HTMLElement[];
    view.items.forEach((item, i) => {
      let row = rows[i];
      if (!row) {
        row = document.createElement('div');
        row.setAttribute('role', 'option');
        row.innerHTML = '<span class="swatch"></span><span class="name"></span><span class="lock"></span>';
        this.list.append(row);
      }
      row.id = `slot-${item.slot}`;
      row.dataset.slot = String(item.slot);
      (row.querySelector('.name') as HTMLElement).textContent = item.name;
      (row.querySelector('.swatch') as HTMLElement).style.setProperty('--swatch', item.color);
      row.setAttribute('aria-selected', String(item.slot === view.selected));
      row.classList.toggle('locked', item.locked);
      row.title = item.locked ? `${item.name} (locked)` : '';
    });
    rows.slice(view.items.length).forEach((r) => r.remove());
    const selected = this.list.querySelector<HTMLElement>('[aria-selected=true]');
    if (selected) {
      this.list.setAttribute('aria-activedescendant', selected.id);
      selected.scrollIntoView({ block: 'nearest' });
    } else {
      this.list.removeAttribute('aria-activedescendant');
    }
  }

  // ---- Commands ----

  async confirmContinue(): Promise<boolean> {
    return !this.view.modified || this.dialogs.ask('Theme was not saved. Continue?');
  }

  async newTheme(): Promise<void> {
    if (!(await this.confirmContinue())) return;
    this.call({ op: 'new' });
  }

  async open(): Promise<void> {
    if (!(await this.confirmContinue())) return;
    const picked = await this.pick(files.ThemeFiles);
    if (picked) this.openPicked(picked);
  }

  // A file the user chooses, or null; a file that cannot be read is said in the status line.
  async pick(kind: files.FileKind, input = $<HTMLInputElement>('fileInput')): Promise<files.PickedFile | null> {
    try {
      return await files.openFile(kind, input);
    } catch (error) {
      this.fileFailed(error);
      return null;
    }
  }

  private fileFailed(error: unknown): void {
    this.say(error instanceof files.FileTooLarge ? error.message : 'A file error has occurred', true);
  }

  openPicked(picked: files.PickedFile): void {
    const path = this.core.putFile(picked.name, picked.bytes);
    if (picked.handle) this.handles.set(path, picked.handle);
    this.call({ op: 'open', path });
  }

  async save(): Promise<void> {
    const view = this.call({ op: 'save' });
    if (view.needsFileName) return this.saveAs();
    if (!view.status.failed) await this.deliver(view.path as string);
  }

  async saveAs(): Promise<void> {
    const suggested = `${this.view.themeName}.lsth`;
    let handle: files.FileSystemFileHandleLike | null = null;
    let name: string | null = suggested;
    if (files.canPickSaveFile()) {
      handle = await files.pickSaveFile(files.ThemeFiles, suggested);
      if (!handle) return;
      name = handle.name;
    } else {
      name = await this.dialogs.askName('Save As', suggested, '.lsth');
      if (!name) return;
    }
    // A file of that name is written anew, as the desktop writes a new file.
    const path = this.core.newPath(name);
    if (handle) this.handles.set(path, handle);
    const view = this.call({ op: 'saveAs', path });
    if (!view.status.failed) await this.deliver(path);
  }

  // The saved file out of the core: into the file the user chose, else as a download.
  private async deliver(path: string): Promise<void> {
    const bytes = this.core.readFile(path);
    if (!bytes) {
      this.say('A file error has occurred', true);
      return;
    }
    try {
      const handle = this.handles.get(path);
      if (handle && (await files.writeHandle(handle, bytes))) return;
    } catch {
      this.say('A file error has occurred', true);
      return;
    }
    files.download(path.slice(path.lastIndexOf('/') + 1), bytes, files.ThemeFiles.mime);
  }

  async exportFile(what: 'page' | 'all' | 'card' | 'palette'): Promise<void> {
    const suggested = this.core.call({ op: 'exportName', what }).name as string;
    const kind = what === 'palette' ? files.PaletteExports : files.PngImages;
    let handle: files.FileSystemFileHandleLike | null = null;
    let name: string | null;
    if (files.canPickSaveFile()) {
      handle = await files.pickSaveFile(kind, suggested);
      name = handle?.name ?? null;
    } else {
      const title = { page: 'Export Image', all: 'Export All Pages', card: 'Export Theme Card', palette: 'Export Palette' }[what];
      name = await this.dialogs.askName(title, suggested, what === 'palette' ? '.gpl' : '.png');
    }
    if (!name) return;
    const op = { page: 'exportImage', all: 'exportAll', card: 'exportCard', palette: 'exportPalette' }[what];
    const path = this.core.newPath(name);
    const view = this.call({ op, path });
    // A palette without an extension the core knows is written as .gpl.
    const written = (view.path as string | undefined) ?? path;
    const bytes = view.status.failed ? null : this.core.readFile(written);
    if (!bytes) return;
    if (handle && (await files.writeHandle(handle, bytes).catch(() => false))) return;
    files.download(written.slice(written.lastIndexOf('/') + 1), bytes, kind.mime);
  }

  async importPalette(): Promise<void> {
    const picked = await this.pick(files.Palettes);
    if (!picked) return;
    const read = this.call({ op: 'readPalette', path: this.core.putFile(picked.name, picked.bytes) });
    if (read.question === undefined) return;
    if (read.question && !(await this.dialogs.ask('Import this palette?', read.question as string))) return;
    this.call({ op: 'importPalette' });
  }

  async compare(): Promise<void> {
    const picked = await this.pick(files.ThemeFiles);
    if (!picked) return;
    const view = this.call({ op: 'compare', path: this.core.putFile(picked.name, picked.bytes) });
    if (view.name) this.dialogs.showCompare(view.name as string);
  }

  async download(): Promise<void> {
    if (!this.menus.enabled('download') || !(await this.confirmContinue())) return;
    this.call({ op: 'download' });
  }

  upload(): void {
    if (this.menus.enabled('upload')) this.call({ op: 'upload' });
  }

  async copyColor(): Promise<void> {
    const text = this.core.call({ op: 'copy' }).text as string;
    if (text) await navigator.clipboard?.writeText(text).catch(() => undefined);
  }

  async pasteColor(): Promise<void> {
    const text = await navigator.clipboard?.readText().catch(() => '');
    if (text) this.call({ op: 'paste', text });
  }

  setZoom(zoom: number): void {
    const z = Math.min(4, Math.max(1, zoom));
    this.settings.set('zoom', z);
    this.call({ op: 'zoom', zoom: z });
  }

  private menuTable(): Menu[] {
    return [
      { caption: 'File', items: [
        { id: 'new', caption: 'New', keys: 'Ctrl+N', run: () => void this.newTheme() },
        { id: 'open', caption: 'Open...', keys: 'Ctrl+O', run: () => void this.open() },
        { id: 'save', caption: 'Save', keys: 'Ctrl+S', run: () => void this.save(), separatorBefore: true },
        { id: 'saveAs', caption: 'Save As...', keys: 'Ctrl+Alt+S', run: () => void this.saveAs() },
        { id: 'exportImage', caption: 'Export Image...', run: () => void this.exportFile('page') },
        { id: 'exportAll', caption: 'Export All Pages...', run: () => void this.exportFile('all') },
        { id: 'compare', caption: 'Compare With...', run: () => void this.compare(), separatorBefore: true },
        { id: 'importPalette', caption: 'Import Palette...', run: () => void this.importPalette() },
        { id: 'exportPalette', caption: 'Export Palette...', run: () => void this.exportFile('palette') },
        { id: 'exportCard', caption: 'Export Theme Card...', run: () => void this.exportFile('card') },
        { id: 'settings', caption: 'Settings...', run: () => this.dialogs.showSettings(), separatorBefore: true },
      ] },
      { caption: 'Edit', items: [
        { id: 'undo', caption: 'Undo', keys: 'Ctrl+Z', run: () => this.call({ op: 'undo' }) },
        { id: 'redo', caption: 'Redo', keys: 'Ctrl+Y', run: () => this.call({ op: 'redo' }) },
        { id: 'copy', caption: 'Copy Colour', keys: 'Ctrl+C', run: () => void this.copyColor(), separatorBefore: true },
        { id: 'paste', caption: 'Paste Colour', keys: 'Ctrl+V', run: () => void this.pasteColor() },
        { id: 'lock', caption: 'Lock Colour', keys: 'Ctrl+K', kind: 'check', separatorBefore: true,
          run: () => this.call({ op: 'lock', locked: !this.view.locked }) },
        { id: 'generate', caption: 'Generate Theme...', run: () => this.dialogs.showGenerate() },
      ] },
      { caption: 'Display', items: [
        { id: 'large', caption: '240x320', keys: 'F1', kind: 'radio', run: () => this.call({ op: 'display', small: false }) },
        { id: 'small', caption: '80x160', keys: 'F2', kind: 'radio', run: () => this.call({ op: 'display', small: true }) },
        { id: 'zoomIn', caption: 'Zoom In', keys: 'Ctrl++', run: () => this.setZoom(this.view.zoom + 1), separatorBefore: true },
        { id: 'zoomOut', caption: 'Zoom Out', keys: 'Ctrl+-', run: () => this.setZoom(this.view.zoom - 1) },
        { id: 'actualSize', caption: 'Actual Size', keys: 'Ctrl+0', run: () => this.setZoom(1) },
        { id: 'simulate', caption: 'Simulate', separatorBefore: true, run: () => undefined,
          submenu: VisionItems.map(([vision, caption]) => ({ id: `vision-${vision}`, caption, kind: 'radio' as const,
            run: () => this.call({ op: 'vision', vision }) })) },
        { id: 'legibility', caption: 'Check Legibility...', keys: 'Ctrl+L', run: () => this.dialogs.showLegibility() },
      ] },
      { caption: 'Theme', items: [
        { id: 'connect', caption: 'Connect Device...', run: () => void this.connectDevice() },
        { id: 'download', caption: 'Download from Device', keys: 'F5', run: () => void this.download() },
        { id: 'upload', caption: 'Upload to Device', keys: 'F8', run: () => this.upload() },
      ] },
    ];
  }

  private async connectDevice(): Promise<void> {
    if (!DeviceLink.available()) {
      this.say(NoWebHid, true);
      return;
    }
    await this.device.request();
  }

  // ---- Wiring ----

  private wire(): void {
    this.pageChooser.addEventListener('change', () => this.call({ op: 'page', page: Number(this.pageChooser.value) }));
    this.list.addEventListener('click', (e) => {
      const row = (e.target as HTMLElement).closest<HTMLElement>('[role=option]');
      if (row) this.call({ op: 'select', slot: Number(row.dataset.slot) });
    });
    this.list.addEventListener('dblclick', (e) => {
      if ((e.target as HTMLElement).closest('[role=option]')) void this.dialogs.editColor();
    });
    this.list.addEventListener('contextmenu', (e) => {
      const row = (e.target as HTMLElement).closest<HTMLElement>('[role=option]');
      if (!row) return;
      e.preventDefault();
      this.call({ op: 'select', slot: Number(row.dataset.slot) });
      this.call({ op: 'lock', locked: !this.view.locked });
    });
    this.list.addEventListener('keydown', (e) => {
      const rows = this.view.items;
      const at = rows.findIndex((r) => r.slot === this.view.selected);
      const to = e.key === 'ArrowDown' ? at + 1 : e.key === 'ArrowUp' ? at - 1 : e.key === 'Home' ? 0
        : e.key === 'End' ? rows.length - 1 : e.key === 'PageDown' ? at + 10 : e.key === 'PageUp' ? at - 10 : null;
      if (to !== null) {
        e.preventDefault();
        const row = rows[Math.min(rows.length - 1, Math.max(0, to))];
        if (row) this.call({ op: 'select', slot: row.slot });
      } else if (e.key === 'Enter' && this.view.selected >= 0) {
        e.preventDefault();
        void this.dialogs.editColor();
      }
    });
    $<HTMLButtonElement>('btnColor').addEventListener('click', () => void this.dialogs.editColor());
    document.addEventListener('keydown', (e) => this.shortcut(e));
    // Theme files dropped anywhere on the page are opened.
    document.addEventListener('dragover', (e) => {
      if (e.dataTransfer?.types.includes('Files')) e.preventDefault();
    });
    document.addEventListener('drop', (e) => {
      const file = e.dataTransfer?.files[0];
      if (!file) return;
      e.preventDefault();
      void (async () => {
        if (!(await this.confirmContinue())) return;
        try {
          this.openPicked(await files.readDropped(file));
        } catch (error) {
          this.fileFailed(error);
        }
      })();
    });
    window.addEventListener('beforeunload', (e) => {
      if (this.view.modified) e.preventDefault();
    });
  }

  private shortcut(e: KeyboardEvent): void {
    if ((e.target as HTMLElement).closest('dialog[open]')) return;
    const key = `${e.ctrlKey || e.metaKey ? 'Ctrl+' : ''}${e.altKey ? 'Alt+' : ''}${e.shiftKey ? 'Shift+' : ''}${e.key.length === 1 ? e.key.toUpperCase() : e.key}`;
    const inField = (e.target as HTMLElement).matches('input, select, textarea');
    const table: Record<string, () => void> = {
      'Ctrl+N': () => void this.newTheme(), 'Ctrl+O': () => void this.open(), 'Ctrl+S': () => void this.save(),
      'Ctrl+Alt+S': () => void this.saveAs(), 'Ctrl+Z': () => this.menus.enabled('undo') && this.call({ op: 'undo' }),
      'Ctrl+Y': () => this.menus.enabled('redo') && this.call({ op: 'redo' }),
      'Ctrl+Shift+Z': () => this.menus.enabled('redo') && this.call({ op: 'redo' }),
      'Ctrl+K': () => this.view.selected >= 0 && this.call({ op: 'lock', locked: !this.view.locked }),
      'Ctrl+L': () => this.dialogs.showLegibility(), F1: () => this.call({ op: 'display', small: false }),
      F2: () => this.call({ op: 'display', small: true }), F5: () => void this.download(), F8: () => this.upload(),
      'Ctrl+=': () => this.setZoom(this.view.zoom + 1), 'Ctrl++': () => this.setZoom(this.view.zoom + 1),
      'Ctrl+Shift++': () => this.setZoom(this.view.zoom + 1),
      'Ctrl+-': () => this.setZoom(this.view.zoom - 1), 'Ctrl+0': () => this.setZoom(1),
      F10: () => this.menus.focusBar(),
    };
    if (!inField) {
      table['Ctrl+C'] = () => void this.copyColor();
      table['Ctrl+V'] = () => void this.pasteColor();
    }
    const run = table[key];
    if (run) {
      e.preventDefault();
      run();
    } else if (e.key === 'Alt' && !e.ctrlKey && !e.shiftKey) {
      e.preventDefault();
      this.menus.focusBar();
    }
  }

  async start(): Promise<void> {
    this.call({ op: 'override', text: this.settings.get('override', '') });
    this.call({ op: 'zoom', zoom: this.settings.get('zoom', 1) });
    this.call({ op: 'view' });
    if (DeviceLink.available()) {
      await this.device.start();
    } else {
      this.say(NoWebHid, false);
      for (const id of ['connect', 'download', 'upload']) this.menus.setEnabled(id, false);
    }
    await this.drafts.start();
  }
}

async function main(): Promise<void> {
  performance.mark('larkspur-start');
  const core = await Core.load();
  performance.mark('larkspur-core-loaded');
  const editor = new Editor(core);
  (window as unknown as { larkspur: Editor }).larkspur = editor;
  await editor.start();
  // A theme file the system opened with the installed page.
  const launchQueue = (window as unknown as { launchQueue?: { setConsumer(f: (p: { files: files.FileSystemFileHandleLike[] }) => void): void } }).launchQueue;
  launchQueue?.setConsumer((launch) => void (async () => {
    const handle = launch.files[0];
    if (!handle || !(await editor.confirmContinue())) return;
    try {
      const file = await handle.getFile();
      editor.openPicked({ ...(await files.readDropped(file)), handle });
    } catch (error) {
      editor.say(error instanceof files.FileTooLarge ? error.message : 'A file error has occurred', true);
    }
  })());
  document.body.dataset.ready = 'true';
  // Once the page is up and idle, the core's heavier work is compiled ahead of its first use.
  const idle = (window as unknown as { requestIdleCallback?: (f: () => void) => void }).requestIdleCallback ?? ((f: () => void) => setTimeout(f, 200));
  idle(() => editor.core.call({ op: 'warm' }));
  $<HTMLDivElement>('lstColors').focus();
  if ('serviceWorker' in navigator && location.protocol !== 'file:')
    navigator.serviceWorker.register('sw.js').catch(() => undefined);
}

void main();
