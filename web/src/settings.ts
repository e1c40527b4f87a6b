// The page's settings, kept in the browser's storage: the Override text
// (the desktop reads it from its settings file) and the zoom chosen.

const Key = 'larkspur-theme-editor/settings';

export class Settings {
  private values: Record<string, unknown>;

  constructor() {
    try {
      this.values = JSON.parse(localStorage.getItem(Key) ?? '{}') as Record<string, unknown>;
    } catch {
      this.values = {};
    }
  }

  get<T>(name: string, fallback: T): T {
    const v = this.values[name];
    return typeof v === typeof fallback ? (v as T) : fallback;
  }

  set(name: string, value: unknown): void {
    this.values[name] = value;
    try {
      localStorage.setItem(Key, JSON.stringify(this.values));
    } catch {
      // Storage full or refused: the setting lasts for this visit.
    }
  }
}
