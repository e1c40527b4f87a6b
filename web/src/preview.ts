// The preview: the core's picture of the page on a canvas, every device
// pixel the same whole number of screen pixels at any devicePixelRatio;
// the pointer names the slot under it and outlines its pixels, a click
// selects it, a double-click edits it. F3 held blinks the selected slot,
// "\" held shows the compared theme.

import type { EditorHost } from './host.js';

const Width = 240;
const Height = 320;

export class Preview {
  private hovered = -1;
  private blink = false;
  private blinkTimer: number | undefined;
  private readonly room: HTMLElement;
  private scale = 1;  // screen pixels per device pixel
  private painted = false;
  private source: HTMLCanvasElement | undefined;  // the picture at 1x, for scaling

  constructor(private readonly editor: EditorHost, private readonly canvas: HTMLCanvasElement, private readonly tip: HTMLElement) {
    this.room = canvas.parentElement as HTMLElement;
    canvas.addEventListener('pointermove', (e) => this.move(e));
    canvas.addEventListener('pointerleave', () => this.leave());
    canvas.addEventListener('pointerdown', (e) => {
      const at = this.pixelAt(e);
      if (at) this.editor.call({ op: 'pick', x: at.x, y: at.y });
    });
    canvas.addEventListener('dblclick', (e) => {
      if (this.pixelAt(e)) void this.editor.dialogs.editColor();
    });
    document.addEventListener('keydown', (e) => this.hold(e, true));
    document.addEventListener('keyup', (e) => this.hold(e, false));
    window.addEventListener('blur', () => {
      this.setBlinking(false);
      if (this.editor.view?.compared) this.editor.call({ op: 'showCompared', shown: false });
    });
    this.watchRatio();
  }

  // The picture again, at the size the zoom and the screen allow.
  paint(): void {
    const view = this.editor.view;
    const ratio = window.devicePixelRatio || 1;
    // The largest whole number of screen pixels per device pixel that fits
    // the zoom's room, so every device pixel is a square of the same size.
    const scale = Math.max(1, Math.floor(view.zoom * ratio + 1e-6));
    this.scale = scale;
    if (this.canvas.width !== Width * scale || this.canvas.height !== Height * scale) {
      this.canvas.width = Width * scale;
      this.canvas.height = Height * scale;
    }
    this.canvas.style.width = `${(Width * scale) / ratio}px`;
    this.canvas.style.height = `${(Height * scale) / ratio}px`;
    this.room.style.width = `${Width * view.zoom}px`;
    this.room.style.height = `${Height * view.zoom}px`;
    const core = this.editor.core;
    core.call({ op: 'frame', hovered: this.hovered, blink: this.blink });
    const image = new ImageData(core.buffer(), Width, Height);
    const context = this.canvas.getContext('2d') as CanvasRenderingContext2D;
    if (!this.painted) {
      // For the benchmark: how soon after navigation the first picture is there.
      this.painted = true;
      requestAnimationFrame(() => performance.mark('larkspur-first-preview'));
    }
    if (scale === 1) {
      context.putImageData(image, 0, 0);
      return;
    }
    // Each device pixel as a whole square of screen pixels, never smoothed.
    if (!this.source) {
      this.source = document.createElement('canvas');
      this.source.width = Width;
      this.source.height = Height;
    }
    const source = this.source;
    (source.getContext('2d') as CanvasRenderingContext2D).putImageData(image, 0, 0);
    context.imageSmoothingEnabled = false;
    context.drawImage(source, 0, 0, Width * scale, Height * scale);
  }

  // The device pixel under the pointer, or none outside the picture.
  private pixelAt(e: MouseEvent): { x: number; y: number } | null {
    const box = this.canvas.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    const x = Math.floor(((e.clientX - box.left) * ratio) / this.scale);
    const y = Math.floor(((e.clientY - box.top) * ratio) / this.scale);
    return x >= 0 && y >= 0 && x < Width && y < Height ? { x, y } : null;
  }

  private move(e: PointerEvent): void {
    const at = this.pixelAt(e);
    if (!at) return this.leave();
    const answer = this.editor.core.call({ op: 'hover', x: at.x, y: at.y });
    const hovered = answer.hovered as number;
    this.tip.textContent = answer.tip as string;
    this.tip.hidden = !answer.tip;
    this.tip.style.left = `${e.clientX + 14}px`;
    this.tip.style.top = `${e.clientY + 18}px`;
    this.canvas.setAttribute('aria-description', (answer.tip as string).split('\n')[0]);
    if (hovered !== this.hovered) {
      this.hovered = hovered;
      this.paint();
    }
  }

  private leave(): void {
    this.tip.hidden = true;
    if (this.hovered !== -1) {
      this.hovered = -1;
      this.paint();
    }
  }

  private hold(e: KeyboardEvent, down: boolean): void {
    if ((e.target as HTMLElement).closest?.('input, select, textarea')) return;
    if (e.key === 'F3') {
      e.preventDefault();
      if (down !== !!this.blinkTimer) this.setBlinking(down);
    } else if (e.key === '\\' && this.editor.view.compared) {
      e.preventDefault();
      if (!e.repeat) this.editor.call({ op: 'showCompared', shown: down });
    }
  }

  private setBlinking(on: boolean): void {
    window.clearInterval(this.blinkTimer);
    this.blinkTimer = undefined;
    this.blink = on;
    if (on)
      this.blinkTimer = window.setInterval(() => {
        this.blink = !this.blink;
        this.paint();
      }, 300);
    this.paint();
  }

  // A window moved to a screen of another density, or a browser zoom: paint again.
  private watchRatio(): void {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
    query.addEventListener('change', () => {
      if (this.editor.view) this.paint();
      this.watchRatio();
    }, { once: true });
  }
}
