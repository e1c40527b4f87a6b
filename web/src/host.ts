// What the editor's parts (the preview, the dialogs, the drafts) ask of the
// editor that holds them: its core, its view and its commands. They see it
// through this, so the editor depends on them and never they on it.

import type { Core, View } from './core.js';
import type { FileKind, PickedFile } from './files.js';
import type { Settings } from './settings.js';

export interface EditorHost {
  readonly core: Core;
  readonly view: View;
  readonly settings: Settings;
  readonly dialogs: { editColor(): Promise<void>; ask(text: string, detail?: string): Promise<boolean> };
  call(request: Record<string, unknown>): View;
  say(text: string, failed?: boolean): void;
  pick(kind: FileKind, input?: HTMLInputElement): Promise<PickedFile | null>;
}
