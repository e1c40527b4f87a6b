// Files in and out of the page: the File System Access API where the
// browser has it (a file opened can be saved in place), else a file input
// and a download.

export interface PickedFile { name: string; bytes: Uint8Array; handle?: FileSystemFileHandleLike }

// Nothing the editor opens is larger (pictures are the largest); a larger
// file is refused before it is read into memory.
export const MaxFileBytes = 64 * 1024 * 1024;

export class FileTooLarge extends Error {
  constructor(name: string) { super(`${name} is too large to open`); }
}

async function bytesOf(file: File): Promise<Uint8Array> {
  if (file.size > MaxFileBytes) throw new FileTooLarge(file.name);
  return new Uint8Array(await file.arrayBuffer());
}

// The parts of the File System Access API this page uses.
export interface FileSystemFileHandleLike {
  name: string;
  getFile(): Promise<File>;
  createWritable?(): Promise<{ write(data: BufferSource | Blob): Promise<void>; close(): Promise<void> }>;
}
interface PickerType { description: string; accept: Record<string, string[]> }
interface PickerWindow {
  showOpenFilePicker?(options: { types?: PickerType[]; excludeAcceptAllOption?: boolean }): Promise<FileSystemFileHandleLike[]>;
  showSaveFilePicker?(options: { suggestedName?: string; types?: PickerType[] }): Promise<FileSystemFileHandleLike>;
}

export interface FileKind { description: string; extensions: string[]; mime: string }

export const ThemeFiles: FileKind = { description: 'Larkspur Themes', extensions: ['.lsth'], mime: 'application/x-larkspur-theme' };
export const Palettes: FileKind = { description: 'Palettes', extensions: ['.gpl', '.json'], mime: 'text/plain' };
export const PaletteExports: FileKind = { description: 'Palettes', extensions: ['.gpl', '.json', '.h'], mime: 'text/plain' };
export const Pictures: FileKind = { description: 'Pictures', extensions: ['.png', '.jpg', '.jpeg'], mime: 'image/png' };
export const PngImages: FileKind = { description: 'PNG Images', extensions: ['.png'], mime: 'image/png' };

const picker = (): PickerWindow => window as unknown as PickerWindow;

function types(kind: FileKind): PickerType[] {
  return [{ description: kind.description, accept: { [kind.mime]: kind.extensions } }];
}

function isAbort(e: unknown): boolean {
  return e instanceof DOMException && e.name === 'AbortError';
}

// One file the user chooses; null when they choose none.
export async function openFile(kind: FileKind, input: HTMLInputElement): Promise<PickedFile | null> {
  const w = picker();
  if (w.showOpenFilePicker) {
    try {
      const [handle] = await w.showOpenFilePicker({ types: types(kind) });
      const file = await handle.getFile();
      return { name: file.name, bytes: await bytesOf(file), handle };
    } catch (e) {
      if (isAbort(e)) return null;
      throw e;
    }
  }
  input.accept = kind.extensions.join(',');
  input.value = '';
  const file = await new Promise<File | null>((resolve) => {
    input.addEventListener('change', () => resolve(input.files?.[0] ?? null), { once: true });
    input.addEventListener('cancel', () => resolve(null), { once: true });
    input.click();
  });
  return file ? { name: file.name, bytes: await bytesOf(file) } : null;
}

export async function readDropped(file: File): Promise<PickedFile> {
  return { name: file.name, bytes: await bytesOf(file) };
}

// Writes into the handle; false when it cannot be written.
export async function writeHandle(handle: FileSystemFileHandleLike, bytes: Uint8Array): Promise<boolean> {
  if (!handle.createWritable) return false;
  const out = await handle.createWritable();
  await out.write(bytes as BufferSource);
  await out.close();
  return true;
}

export function canPickSaveFile(): boolean { return !!picker().showSaveFilePicker; }

// A file to save to, chosen in the browser's own dialog; null when none is chosen.
export async function pickSaveFile(kind: FileKind, suggestedName: string): Promise<FileSystemFileHandleLike | null> {
  try {
    return (await picker().showSaveFilePicker?.({ suggestedName, types: types(kind) })) ?? null;
  } catch (e) {
    if (isAbort(e)) return null;
    throw e;
  }
}

// The bytes as a download named `name`: where the browser has no file dialogs.
export function download(name: string, bytes: Uint8Array, mime: string): void {
  const url = URL.createObjectURL(new Blob([bytes as BlobPart], { type: mime }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  a.hidden = true;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
}
