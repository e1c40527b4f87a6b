// The page's dialogs: the colour of a slot (tried live, Cancel takes it
// back), questions, Check Legibility, Generate Theme, Compare With and the
// settings. Texts are the desktop editor's.

import * as files from './files.js';
import type { EditorHost } from './host.js';

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;
const PageNames = ['Main - RizeDori', 'Main - Temp. Control', 'Main - Power Bank', 'Main - Misc.', 'Menu', 'Info, Dialogs',
  'Charge', 'Screensaver'];

interface Pair { contrast: string; needs: string; page: number; pageName: string; fg: number; bg: number; text: string; background: string }
interface Difference { slot: number; name: string; key: string; mine: string; other: string }

function hexOf(r: number, g: number, b: number): string {
  return `#${[r, g, b].map((v) => Math.min(255, Math.max(0, v | 0)).toString(16).padStart(2, '0')).join('').toUpperCase()}`;
}

// A dialog that answers with the button pressed; Escape is "cancel".
function answer(dialog: HTMLDialogElement): Promise<string> {
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(dialog.returnValue || 'cancel'), { once: true });
  });
}

export class EditorDialogs {
  private chosenPair: { fg: number; bg: number } | null = null;
  private chosenDifferences = new Set<number>();
  private generating = false;
  private colourDone = false;

  constructor(private readonly editor: EditorHost) {
    this.wireColour();
    this.wireLegibility();
    this.wireGenerate();
    this.wireCompare();
  }

  // Whatever is open follows the document.
  refresh(): void {
    if ($<HTMLDialogElement>('dlgLegibility').open) this.fillLegibility();
    if ($<HTMLDialogElement>('dlgCompare').open) this.fillCompare();
  }

  // ---- Questions ----

  async ask(text: string, detail = ''): Promise<boolean> {
    const dialog = $<HTMLDialogElement>('dlgAsk');
    $('askText').textContent = text;
    $('askDetail').textContent = detail;
    $('askInputRow').hidden = true;
    $('askYes').textContent = 'Yes';
    $('askNo').textContent = 'No';
    dialog.returnValue = '';
    dialog.showModal();
    $('askYes').focus();
    return (await answer(dialog)) === 'yes';
  }

  // A file name, where the browser has no save dialog of its own.
  async askName(title: string, suggested: string, extension: string): Promise<string | null> {
    const dialog = $<HTMLDialogElement>('dlgAsk');
    $('askText').textContent = title;
    $('askDetail').textContent = 'File name:';
    $('askInputRow').hidden = false;
    $('askYes').textContent = 'Save';
    $('askNo').textContent = 'Cancel';
    const input = $<HTMLInputElement>('askInput');
    input.value = suggested;
    dialog.returnValue = '';
    dialog.showModal();
    input.focus();
    input.setSelectionRange(0, Math.max(0, suggested.length - extension.length));
    if ((await answer(dialog)) !== 'yes') return null;
    const name = input.value.trim().replace(/[\\/:*?"<>|]/g, '_');
    if (!name) return null;
    return /\.[^.]+$/.test(name) ? name : name + extension;
  }

  // ---- The colour of the selected slot ----

  async editColor(): Promise<void> {
    const view = this.editor.view;
    if (view.selected < 0) return;
    const dialog = $<HTMLDialogElement>('dlgColor');
    $('dlgColorTitle').textContent = view.selectedName ? `Colour of ${view.selectedName}` : 'Colour';
    this.showColour(view.color ?? '#000000', null);
    dialog.returnValue = '';
    dialog.showModal();
    $<HTMLInputElement>('hexField').focus();
    $<HTMLInputElement>('hexField').select();
    this.colourDone = false;
    await answer(dialog);
    // Escape, or a colour that was no colour: the tried one goes back.
    if (!this.colourDone) this.editor.call({ op: 'endTrial' });
  }

  // OK (or Enter in a field) stores the colour, Cancel takes the tried one
  // back, at once: before any key pressed after it (Ctrl+S, say) is
  // handled, not when the dialog's close event comes round.
  private finishColour(e: SubmitEvent): void {
    const chosen = $<HTMLInputElement>('hexField').value.trim();
    if ((e.submitter as HTMLButtonElement | null)?.value === 'cancel' || !/^#?[0-9A-Fa-f]{6}$/.test(chosen)) {
      this.editor.call({ op: 'endTrial' });
    } else {
      this.editor.call({ op: 'setColor', color: chosen.startsWith('#') ? chosen : `#${chosen}` });
    }
    this.colourDone = true;
  }

  private showColour(hex: string, except: HTMLElement | null): void {
    const v = parseInt(hex.slice(1), 16);
    const fields: [string, string][] = [['colorPicker', hex.toLowerCase()], ['hexField', hex.toUpperCase()],
      ['red', String(v >> 16)], ['green', String((v >> 8) & 255)], ['blue', String(v & 255)]];
    for (const [id, value] of fields) if ($(id) !== except) $<HTMLInputElement>(id).value = value;
  }

  private wireColour(): void {
    ($('dlgColor').querySelector('form') as HTMLFormElement).addEventListener('submit', (e) => this.finishColour(e));
    const tryIt = (hex: string, from: HTMLElement) => {
      this.showColour(hex, from);
      this.editor.call({ op: 'try', color: hex });
    };
    $<HTMLInputElement>('colorPicker').addEventListener('input', (e) => tryIt((e.target as HTMLInputElement).value, e.target as HTMLElement));
    $<HTMLInputElement>('hexField').addEventListener('input', (e) => {
      const text = (e.target as HTMLInputElement).value.trim();
      if (/^#?[0-9A-Fa-f]{6}$/.test(text)) tryIt(text.startsWith('#') ? text : `#${text}`, e.target as HTMLElement);
    });
    for (const id of ['red', 'green', 'blue'])
      $<HTMLInputElement>(id).addEventListener('input', (e) => {
        const [r, g, b] = ['red', 'green', 'blue'].map((c) => Number($<HTMLInputElement>(c).value));
        tryIt(hexOf(r, g, b), e.target as HTMLElement);
      });
  }

  // ---- Check Legibility ----

  showLegibility(): void {
    const dialog = $<HTMLDialogElement>('dlgLegibility');
    $('legReason').textContent = '';
    this.fillLegibility();
    if (!dialog.open) dialog.show();
    $<HTMLButtonElement>('legFixAll').focus();
  }

  private fillLegibility(): void {
    const pairs = this.editor.core.call({ op: 'legibility' }).pairs as Pair[];
    const body = $('legPairs').querySelector('tbody') as HTMLElement;
    body.replaceChildren();
    for (const p of pairs) {
      const row = document.createElement('tr');
      row.tabIndex = 0;
      for (const text of [p.contrast, p.needs, p.pageName, p.text, p.background]) {
        const cell = document.createElement('td');
        cell.textContent = text;
        row.append(cell);
      }
      const chosen = this.chosenPair && this.chosenPair.fg === p.fg && this.chosenPair.bg === p.bg;
      row.setAttribute('aria-selected', String(!!chosen));
      const choose = () => {
        this.chosenPair = { fg: p.fg, bg: p.bg };
        body.querySelectorAll('tr').forEach((r) => r.setAttribute('aria-selected', String(r === row)));
        $<HTMLButtonElement>('legFix').disabled = false;
      };
      row.addEventListener('click', choose);
      row.addEventListener('focus', choose);
      // Double-click shows the pair: its page, its text selected.
      row.addEventListener('dblclick', () => {
        this.editor.call({ op: 'page', page: p.page });
        this.editor.call({ op: 'select', slot: p.fg });
      });
      body.append(row);
    }
    $<HTMLButtonElement>('legFixAll').disabled = pairs.length === 0;
    $<HTMLButtonElement>('legFix').disabled = !pairs.some((p) => this.chosenPair && p.fg === this.chosenPair.fg && p.bg === this.chosenPair.bg);
    const count = pairs.length === 1 ? '1 pair is' : `${pairs.length} pairs are`;
    $('legSummary').textContent = pairs.length === 0 ? 'Every text, digit and icon is legible at this display size.'
      : `${count} hard to read at this display size (double-click one to show it):`;
  }

  private wireLegibility(): void {
    const fix = (request: Record<string, unknown>) => {
      const view = this.editor.call(request);
      $('legReason').textContent = (view.reason as string | undefined) ?? '';
    };
    $('legFix').addEventListener('click', () => {
      if (this.chosenPair) fix({ op: 'fix', fg: this.chosenPair.fg, bg: this.chosenPair.bg });
    });
    $('legFixAll').addEventListener('click', () => fix({ op: 'fixAll' }));
    $('legClose').addEventListener('click', () => $<HTMLDialogElement>('dlgLegibility').close());
  }

  // ---- Generate Theme ----

  showGenerate(): void {
    const start = this.editor.core.call({ op: 'generateSeeds' });
    const seeds = start.seeds as string[];
    seeds.forEach((s, i) => { $<HTMLInputElement>(`seed${i}`).value = s.toLowerCase(); });
    // As the desktop's dialog starts: the hero and the second used, the pages as they are.
    $<HTMLInputElement>('use1').checked = true;
    $<HTMLInputElement>('use2').checked = false;
    $<HTMLInputElement>(start.dark ? 'genDark' : 'genLight').checked = true;
    const kept = start.kept as string[];
    $('genKept').textContent = kept.length ? `Locked and kept: ${kept.join(', ')}` : 'No slot is locked: every colour is generated.';
    $<HTMLSelectElement>('genPage').value = String(this.editor.view.page);
    const dialog = $<HTMLDialogElement>('dlgGenerate');
    dialog.showModal();
    this.generating = true;
    this.regenerate();
  }

  private regenerate(): void {
    if (!this.generating) return;
    const used = [true, $<HTMLInputElement>('use1').checked, $<HTMLInputElement>('use1').checked && $<HTMLInputElement>('use2').checked];
    $<HTMLInputElement>('use2').disabled = !used[1];
    const seeds = [0, 1, 2].filter((i) => used[i]).map((i) => $<HTMLInputElement>(`seed${i}`).value);
    const page = Number($<HTMLSelectElement>('genPage').value);
    const core = this.editor.core;
    const result = core.call({
      op: 'generate', seeds, light: $<HTMLInputElement>('genLight').checked, style: $<HTMLSelectElement>('genStyle').value,
      vividness: Number($<HTMLInputElement>('genVividness').value), highContrast: $<HTMLSelectElement>('genContrast').selectedIndex === 1,
      variation: Number($<HTMLInputElement>('genVariation').value) || 0, page,
    });
    $<HTMLSelectElement>('genStyle').title = $<HTMLSelectElement>('genStyle').selectedOptions[0]?.title ?? '';
    $('genProblems').textContent = ((result.problems as string[] | undefined) ?? []).join('\n');
    this.drawGenerated(core.buffer());
  }

  private drawGenerated(pixels: Uint8ClampedArray<ArrayBuffer>): void {
    const large = 240 * 320 * 4;
    ($<HTMLCanvasElement>('genLarge').getContext('2d') as CanvasRenderingContext2D).putImageData(new ImageData(pixels.slice(0, large), 240, 320), 0, 0);
    ($<HTMLCanvasElement>('genSmall').getContext('2d') as CanvasRenderingContext2D).putImageData(new ImageData(pixels.slice(large), 80, 160), 0, 0);
  }

  private wireGenerate(): void {
    const pages = $<HTMLSelectElement>('genPage');
    for (const [i, name] of PageNames.entries()) pages.add(new Option(name, String(i)));
    for (const id of ['seed0', 'seed1', 'seed2', 'use1', 'use2', 'genDark', 'genLight', 'genStyle', 'genVividness', 'genContrast', 'genVariation', 'genPage'])
      $(id).addEventListener('input', () => {
        if (id === 'seed1' || id === 'seed2') $<HTMLInputElement>(id === 'seed1' ? 'use1' : 'use2').checked = true;
        this.regenerate();
      });
    $('genShuffle').addEventListener('click', () => {
      $<HTMLInputElement>('genVariation').value = String(1 + Math.floor(Math.random() * 999999));
      this.regenerate();
    });
    $('genPicture').addEventListener('click', () => void (async () => {
      const picked = await this.editor.pick(files.Pictures, $<HTMLInputElement>('pictureInput'));
      if (!picked) return;
      const core = this.editor.core;
      const answer = core.call({ op: 'pictureSeeds', path: core.putFile(picked.name, picked.bytes) });
      if (answer.error) {
        $('genProblems').textContent = answer.error as string;
        return;
      }
      const seeds = answer.seeds as string[];
      seeds.forEach((s, i) => { $<HTMLInputElement>(`seed${i}`).value = s.toLowerCase(); });
      $<HTMLInputElement>('use1').checked = seeds.length > 1;
      $<HTMLInputElement>('use2').checked = seeds.length > 2;
      this.regenerate();
    })());
    const dialog = $<HTMLDialogElement>('dlgGenerate');
    dialog.addEventListener('keydown', (e) => {
      if (e.key !== 'PageDown' && e.key !== 'PageUp') return;
      e.preventDefault();
      pages.selectedIndex = (pages.selectedIndex + (e.key === 'PageDown' ? 1 : PageNames.length - 1)) % PageNames.length;
      this.regenerate();
    });
    dialog.addEventListener('close', () => { this.generating = false; });
    $('genOk').addEventListener('click', () => {
      this.generating = false;
      dialog.close();
      this.editor.call({ op: 'applyGenerated' });
    });
    $('genCancel').addEventListener('click', () => dialog.close());
  }

  // ---- Compare With ----

  showCompare(name: string): void {
    $('cmpTitle').textContent = `Compare With ${name}`;
    $('cmpHint').textContent = `Hold the \\ key to see ${name} on the preview.`;
    this.chosenDifferences.clear();
    this.fillCompare();
    const dialog = $<HTMLDialogElement>('dlgCompare');
    if (!dialog.open) dialog.show();
  }

  private fillCompare(): void {
    const rows = this.editor.core.call({ op: 'differences' }).differences as Difference[];
    const body = $('cmpRows').querySelector('tbody') as HTMLElement;
    body.replaceChildren();
    for (const d of rows) {
      const row = document.createElement('tr');
      row.tabIndex = 0;
      row.title = d.key;
      row.setAttribute('aria-selected', String(this.chosenDifferences.has(d.slot)));
      const name = document.createElement('td');
      name.textContent = d.name;
      row.append(name);
      for (const colour of [d.mine, d.other]) {
        const cell = document.createElement('td');
        cell.innerHTML = '<span class="swatch"></span>';
        (cell.firstChild as HTMLElement).style.setProperty('--swatch', colour);
        cell.append(colour);
        row.append(cell);
      }
      row.addEventListener('click', (e) => {
        if (!e.ctrlKey && !e.shiftKey) this.chosenDifferences.clear();
        this.chosenDifferences.has(d.slot) ? this.chosenDifferences.delete(d.slot) : this.chosenDifferences.add(d.slot);
        body.querySelectorAll('tr').forEach((r, i) => r.setAttribute('aria-selected', String(this.chosenDifferences.has(rows[i].slot))));
      });
      body.append(row);
    }
  }

  private wireCompare(): void {
    $('cmpTake').addEventListener('click', () => this.editor.call({ op: 'take', slots: [...this.chosenDifferences] }));
    $('cmpTakeAll').addEventListener('click', () => this.editor.call({ op: 'takeAll' }));
    $('cmpClose').addEventListener('click', () => $<HTMLDialogElement>('dlgCompare').close());
  }

  // ---- Settings ----

  showSettings(): void {
    const dialog = $<HTMLDialogElement>('dlgSettings');
    const field = $<HTMLInputElement>('overrideField');
    field.value = this.editor.settings.get('override', '');
    dialog.returnValue = '';
    dialog.showModal();
    void answer(dialog).then((pressed) => {
      if (pressed !== 'ok') return;
      this.editor.settings.set('override', field.value);
      this.editor.call({ op: 'override', text: field.value });
    });
  }
}
