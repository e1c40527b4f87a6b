// The menu bar: File, Edit, Display and Theme, with the desktop editor's
// captions and shortcuts, reachable from the keyboard (Alt or F10 opens it,
// arrows move, Enter chooses, Escape closes).

export interface MenuItem {
  id: string;
  caption: string;
  keys?: string;              // as shown, "Ctrl+S"
  run: () => void;
  kind?: 'radio' | 'check';
  separatorBefore?: boolean;
  submenu?: MenuItem[];
}

export interface Menu { caption: string; items: MenuItem[] }

export class MenuBar {
  private open: HTMLElement | null = null;
  private readonly items = new Map<string, HTMLElement>();

  constructor(private readonly bar: HTMLElement, menus: Menu[]) {
    const slots = Array.from(bar.querySelectorAll<HTMLElement>('.menu'));
    menus.forEach((menu, i) => this.build(slots[i], menu));
    document.addEventListener('pointerdown', (e) => {
      if (this.open && !this.bar.contains(e.target as Node)) this.close();
    });
  }

  item(id: string): HTMLElement | undefined { return this.items.get(id); }

  setEnabled(id: string, enabled: boolean): void {
    const e = this.items.get(id);
    if (e) e.setAttribute('aria-disabled', String(!enabled));
  }

  enabled(id: string): boolean { return this.items.get(id)?.getAttribute('aria-disabled') !== 'true'; }

  setChecked(id: string, checked: boolean): void { this.items.get(id)?.setAttribute('aria-checked', String(checked)); }

  setCaption(id: string, caption: string): void {
    const e = this.items.get(id)?.querySelector('.caption');
    if (e) e.textContent = caption;
  }

  // Opens the first menu with its title focused, as Alt and F10 do on the desktop.
  focusBar(): void {
    this.bar.querySelector<HTMLElement>('[role=menuitem].title')?.focus();
  }

  private build(slot: HTMLElement, menu: Menu): void {
    const title = document.createElement('button');
    title.type = 'button';
    title.className = 'title';
    title.textContent = menu.caption;
    title.setAttribute('role', 'menuitem');
    title.setAttribute('aria-haspopup', 'menu');
    title.setAttribute('aria-expanded', 'false');
    title.tabIndex = -1;
    const list = this.buildList(menu.items, menu.caption);
    slot.append(title, list);
    this.items.set(menu.caption, title);
    title.addEventListener('click', () => (this.open === list ? this.close() : this.show(list, title, false)));
    title.addEventListener('pointerenter', () => {
      if (this.open && this.open !== list) this.show(list, title, false);
    });
    title.addEventListener('keydown', (e) => {
      if (e.key === 'ArrowDown' || e.key === 'Enter' || e.key === ' ') {
        e.preventDefault();
        this.show(list, title, true);
      } else if (e.key === 'ArrowRight' || e.key === 'ArrowLeft') {
        e.preventDefault();
        this.neighbour(title, e.key === 'ArrowRight' ? 1 : -1)?.focus();
      } else if (e.key === 'Escape') {
        this.close();
        (document.getElementById('lstColors') as HTMLElement).focus();
      }
    });
  }

  private buildList(items: MenuItem[], label: string): HTMLElement {
    const list = document.createElement('div');
    list.className = 'items';
    list.setAttribute('role', 'menu');
    list.setAttribute('aria-label', label);
    list.hidden = true;
    for (const item of items) {
      if (item.separatorBefore) {
        const sep = document.createElement('div');
        sep.setAttribute('role', 'separator');
        list.append(sep);
      }
      const e = document.createElement('div');
      e.setAttribute('role', item.kind === 'radio' ? 'menuitemradio' : item.kind === 'check' ? 'menuitemcheckbox' : 'menuitem');
      e.tabIndex = -1;
      e.id = `mni-${item.id}`;
      const caption = document.createElement('span');
      caption.className = 'caption';
      caption.textContent = item.caption;
      e.append(caption);
      if (item.keys) {
        const keys = document.createElement('span');
        keys.className = 'keys';
        keys.textContent = item.keys;
        keys.setAttribute('aria-hidden', 'true');
        e.append(keys);
        e.setAttribute('aria-keyshortcuts', item.keys.replace(/Ctrl/g, 'Control'));
      }
      if (item.submenu) {
        e.setAttribute('aria-haspopup', 'menu');
        const sub = this.buildList(item.submenu, item.caption);
        sub.classList.add('sub');
        e.append(sub);
        e.addEventListener('pointerenter', () => { sub.hidden = false; });
        e.addEventListener('pointerleave', () => { sub.hidden = true; });
      }
      const choose = () => {
        if (e.getAttribute('aria-disabled') === 'true') return;
        if (item.submenu) {
          const sub = e.querySelector<HTMLElement>('.items');
          if (sub) {
            sub.hidden = false;
            sub.querySelector<HTMLElement>('[tabindex]')?.focus();
          }
          return;
        }
        this.close();
        item.run();
      };
      e.addEventListener('click', (ev) => {
        ev.stopPropagation();
        choose();
      });
      e.addEventListener('keydown', (ev) => {
        const own = ev.currentTarget === ev.target;
        if (!own) return;
        if (ev.key === 'Enter' || ev.key === ' ') {
          ev.preventDefault();
          ev.stopPropagation();
          choose();
        } else if (ev.key === 'ArrowDown' || ev.key === 'ArrowUp') {
          ev.preventDefault();
          ev.stopPropagation();
          const all = Array.from(list.querySelectorAll<HTMLElement>(':scope > [tabindex]'));
          const at = all.indexOf(e);
          all[(at + (ev.key === 'ArrowDown' ? 1 : all.length - 1)) % all.length]?.focus();
        } else if (ev.key === 'ArrowRight' && item.submenu) {
          ev.preventDefault();
          ev.stopPropagation();
          choose();
        } else if ((ev.key === 'ArrowLeft' || ev.key === 'Escape') && list.classList.contains('sub')) {
          ev.preventDefault();
          ev.stopPropagation();
          list.hidden = true;
          (list.parentElement as HTMLElement).focus();
        } else if (ev.key === 'ArrowRight' || ev.key === 'ArrowLeft') {
          ev.preventDefault();
          const title = this.open?.parentElement?.querySelector<HTMLElement>('.title');
          const next = title && this.neighbour(title, ev.key === 'ArrowRight' ? 1 : -1);
          if (next) next.click(), this.open?.querySelector<HTMLElement>('[tabindex]')?.focus();
        } else if (ev.key === 'Escape') {
          ev.preventDefault();
          const title = this.open?.parentElement?.querySelector<HTMLElement>('.title');
          this.close();
          title?.focus();
        }
      });
      list.append(e);
      this.items.set(item.id, e);
    }
    return list;
  }

  private neighbour(title: HTMLElement, step: number): HTMLElement | undefined {
    const titles = Array.from(this.bar.querySelectorAll<HTMLElement>('.title'));
    return titles[(titles.indexOf(title) + step + titles.length) % titles.length];
  }

  private show(list: HTMLElement, title: HTMLElement, focusFirst: boolean): void {
    this.close();
    if (title.getAttribute('aria-disabled') === 'true') return;
    list.hidden = false;
    title.setAttribute('aria-expanded', 'true');
    this.open = list;
    if (focusFirst) list.querySelector<HTMLElement>(':scope > [tabindex]')?.focus();
  }

  close(): void {
    if (!this.open) return;
    this.open.hidden = true;
    this.open.parentElement?.querySelector('.title')?.setAttribute('aria-expanded', 'false');
    this.open.querySelectorAll<HTMLElement>('.sub').forEach((s) => { s.hidden = true; });
    this.open = null;
  }
}
