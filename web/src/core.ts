// The WebAssembly core: one editor session behind requests and answers in
// JSON. Files reach it through its in-memory file system.

export interface ListItem { name: string; slot: number; color: string; locked: boolean }
export interface View {
  caption: string; title: string; themeName: string; modified: boolean;
  page: number; small: boolean; zoom: number; vision: string;
  items: ListItem[]; selected: number; button?: string; color?: string; locked?: boolean; selectedName?: string;
  undo: string; canUndo: boolean; redo: string; canRedo: boolean;
  status: { text: string; failed: boolean; tip: string };
  themeMenu: boolean; compared: boolean; trying: boolean; busy: boolean;
  send?: number[][]; deadline: { ms: number; restart: boolean } | null; needsFileName?: boolean;
  error?: string;
  [more: string]: unknown;
}

interface CoreModule {
  _lw_request(request: number): number;
  _lw_buffer(): number;
  _lw_buffer_size(): number;
  _malloc(size: number): number;
  _free(pointer: number): void;
  UTF8ToString(pointer: number): string;
  stringToUTF8(text: string, pointer: number, size: number): void;
  lengthBytesUTF8(text: string): number;
  HEAPU8: Uint8Array;
  FS: {
    writeFile(path: string, data: Uint8Array | string): void;
    readFile(path: string): Uint8Array;
    mkdirTree?(path: string): void;
    mkdir(path: string): void;
    unlink(path: string): void;
    analyzePath(path: string): { exists: boolean };
  };
}

declare global {
  // eslint-disable-next-line no-var
  var LarkspurCore: (options: object) => Promise<CoreModule>;
}

// A file's name as one name in the core's file system: no folders, never "." or "..".
function safeName(name: string): string {
  const plain = name.replace(/[/\\\0]/g, '_');
  return plain === '' || plain === '.' || plain === '..' ? 'file' : plain;
}

export class Core {
  private folder = 0;
  private constructor(private readonly m: CoreModule) {}

  // The core boot.js started, else one started now.
  static async load(): Promise<Core> {
    const started = (globalThis as unknown as { larkspurCore?: Promise<CoreModule> }).larkspurCore;
    return new Core(await (started ?? globalThis.LarkspurCore({ locateFile: (name: string) => `core/${name}` })));
  }

  call(request: Record<string, unknown>): View {
    const text = JSON.stringify(request);
    const size = this.m.lengthBytesUTF8(text) + 1;
    const at = this.m._malloc(size);
    this.m.stringToUTF8(text, at, size);
    const answer = this.m.UTF8ToString(this.m._lw_request(at));
    this.m._free(at);
    return JSON.parse(answer) as View;
  }

  // The pixels the last request produced, copied out of the module's memory.
  buffer(): Uint8ClampedArray<ArrayBuffer> {
    const at = this.m._lw_buffer();
    return new Uint8ClampedArray(this.m.HEAPU8.slice(at, at + this.m._lw_buffer_size()).buffer as ArrayBuffer);
  }

  // A file for the core to read, under a folder of its own so two files of
  // one name never meet; its path.
  putFile(name: string, bytes: Uint8Array): string {
    const folder = `/files/${++this.folder}`;
    this.mkdirs(folder);
    const path = `${folder}/${safeName(name)}`;
    this.m.FS.writeFile(path, bytes);
    return path;
  }

  // A path for the core to write a new file to.
  newPath(name: string): string {
    const folder = `/files/${++this.folder}`;
    this.mkdirs(folder);
    return `${folder}/${safeName(name)}`;
  }

  readFile(path: string): Uint8Array | null {
    try {
      return this.m.FS.readFile(path);
    } catch {
      return null;
    }
  }

  private mkdirs(path: string): void {
    let at = '';
    for (const part of path.split('/').filter(Boolean)) {
      at += `/${part}`;
      if (!this.m.FS.analyzePath(at).exists) this.m.FS.mkdir(at);
    }
  }
}
