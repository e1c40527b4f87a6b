// Drafts of an unsaved theme in the browser's storage, so a crashed or
// killed tab loses nothing. Each open page holds a Web Lock of its own name
// while it lives and keeps its draft under that name; a draft whose lock
// nobody holds was left by a page that did not end cleanly, and is offered
// back on the next start. Browsers without Web Locks fall back on a
// heartbeat the page renews while it lives.

import type { EditorHost } from './host.js';

const Prefix = 'larkspur-theme-editor/draft/';
const WriteDelayMs = 1000;
const BeatMs = 5000;

interface Stored { text: string; written: number; beat: number }

interface LockManagerLike {
  request(name: string, callback: () => Promise<void>): Promise<void>;
  query(): Promise<{ held?: { name?: string }[] }>;
}

export class Drafts {
  private readonly id = `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 10)}`;
  private timer: number | undefined;
  private started = false;

  constructor(private readonly editor: EditorHost) {}

  private get key(): string { return Prefix + this.id; }
  private get locks(): LockManagerLike | undefined { return (navigator as unknown as { locks?: LockManagerLike }).locks; }

  async start(): Promise<void> {
    // Held until the page goes: its release is what tells a crash from a page still open.
    void this.locks?.request(this.key, () => new Promise<void>(() => undefined));
    window.setInterval(() => this.beat(), BeatMs);
    // A page closed cleanly leaves no draft behind, as the desktop editor does not.
    window.addEventListener('pagehide', () => localStorage.removeItem(this.key));
    await this.offerOrphan();
    this.started = true;
    this.changed();
  }

  // The document changed: its draft follows shortly.
  changed(): void {
    // One write a second at the most, also while changes keep coming.
    if (!this.started || this.timer !== undefined) return;
    this.timer = window.setTimeout(() => {
      this.timer = undefined;
      this.write();
    }, WriteDelayMs);
  }

  write(): void {
    const due = this.editor.core.call({ op: 'draft' });
    if (due.due === 'later') {
      this.changed();
    } else if (due.due === 'remove') {
      localStorage.removeItem(this.key);
    } else {
      const now = Date.now();
      try {
        localStorage.setItem(this.key, JSON.stringify({ text: due.text as string, written: now, beat: now } satisfies Stored));
      } catch {
        this.editor.say('The draft could not be kept in this browser\'s storage', true);
      }
    }
  }

  private beat(): void {
    const stored = this.read(this.key);
    if (!stored) return;
    stored.beat = Date.now();
    try {
      localStorage.setItem(this.key, JSON.stringify(stored));
    } catch {
      // the next write says so
    }
  }

  private read(key: string): Stored | null {
    try {
      const v = JSON.parse(localStorage.getItem(key) ?? 'null') as Stored | null;
      return v && typeof v.text === 'string' ? v : null;
    } catch {
      return null;
    }
  }

  // The newest draft of a page that is gone, offered back.
  private async offerOrphan(): Promise<void> {
    const held = new Set<string>();
    const locks = this.locks;
    if (locks) for (const lock of (await locks.query()).held ?? []) if (lock.name) held.add(lock.name);
    let newest: { key: string; stored: Stored } | null = null;
    for (let i = 0; i < localStorage.length; ++i) {
      const key = localStorage.key(i);
      if (!key?.startsWith(Prefix) || key === this.key) continue;
      const stored = this.read(key);
      if (!stored) continue;
      const gone = locks ? !held.has(key) : Date.now() - stored.beat > 3 * BeatMs;
      if (gone && (!newest || stored.written > newest.stored.written)) newest = { key, stored };
    }
    if (!newest) return;
    const core = this.editor.core;
    const draft = core.call({ op: 'readDraft', text: newest.stored.text });
    if (!draft.ok) {
      localStorage.removeItem(newest.key);  // damaged: nothing to offer
      return;
    }
    const when = new Date(newest.stored.written).toLocaleString(undefined, { dateStyle: 'short', timeStyle: 'short' });
    const restore = await this.editor.dialogs.ask('Restore the unsaved theme from the last session?', `${draft.name as string}, last changed ${when}.`);
    if (restore) this.editor.call({ op: 'restoreDraft', text: newest.stored.text });
    localStorage.removeItem(newest.key);
  }
}
