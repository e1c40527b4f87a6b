// The device over WebHID: the browser's side of the link. The core holds
// the conversation (firmware check, download, upload with read-back) and
// says which reports to send and which deadline to keep; this class only
// moves reports and keeps time.

import type { Core, View } from './core.js';

// The parts of WebHID this page uses, so a scripted navigator.hid can stand in.
interface HIDReportItemLike { reportSize: number; reportCount: number }
interface HIDReportInfoLike { reportId: number; items: HIDReportItemLike[] }
interface HIDCollectionLike { inputReports?: HIDReportInfoLike[]; outputReports?: HIDReportInfoLike[]; children?: HIDCollectionLike[] }
export interface HIDDeviceLike extends EventTarget {
  opened: boolean;
  vendorId: number;
  productId: number;
  productName: string;
  collections: HIDCollectionLike[];
  open(): Promise<void>;
  close(): Promise<void>;
  sendReport(reportId: number, data: BufferSource): Promise<void>;
}
interface HIDLike extends EventTarget {
  getDevices(): Promise<HIDDeviceLike[]>;
  requestDevice(options: { filters: { vendorId: number; productId: number }[] }): Promise<HIDDeviceLike[]>;
}
interface HIDInputReportEventLike extends Event { device: HIDDeviceLike; reportId: number; data: DataView }
interface HIDConnectionEventLike extends Event { device: HIDDeviceLike }

// The firmware check waits this long after a device appears, as on the desktop.
const FirmwareCheckDelayMs = 500;

// The longest report of a kind, in bytes, counting the ID byte.
function reportLength(collections: HIDCollectionLike[], kind: 'inputReports' | 'outputReports'): number {
  let longest = 0;
  let numbered = false;
  const visit = (list: HIDCollectionLike[]) => {
    for (const c of list) {
      for (const report of c[kind] ?? []) {
        const bits = report.items.reduce((sum, item) => sum + item.reportSize * item.reportCount, 0);
        longest = Math.max(longest, Math.ceil(bits / 8));
        numbered ||= report.reportId !== 0;
      }
      visit(c.children ?? []);
    }
  };
  visit(collections);
  return longest ? longest + 1 : 0;
}

export class DeviceLink {
  private device: HIDDeviceLike | null = null;
  private appearance = 0;
  private deadline: number | undefined;
  private checkTimer: number | undefined;
  private sending: Promise<void> = Promise.resolve();
  private readonly onReport = (e: Event) => this.report(e as HIDInputReportEventLike);

  constructor(private readonly core: Core, private readonly show: (view: View) => void, private readonly say: (text: string) => void) {}

  static available(): boolean { return !!(navigator as unknown as { hid?: HIDLike }).hid; }

  private get hid(): HIDLike | undefined { return (navigator as unknown as { hid?: HIDLike }).hid; }

  // Devices this page was allowed before are taken up at once; later ones
  // as they are plugged in.
  async start(): Promise<void> {
    const hid = this.hid;
    if (!hid) return;
    hid.addEventListener('connect', (e) => void this.attach((e as HIDConnectionEventLike).device));
    hid.addEventListener('disconnect', (e) => this.detached((e as HIDConnectionEventLike).device));
    for (const device of await hid.getDevices())
      if (await this.attach(device)) break;
  }

  // "Connect Device...": the browser's chooser, which needs the user's gesture.
  async request(): Promise<void> {
    const hid = this.hid;
    if (!hid) return;
    const filters = (this.core.call({ op: 'deviceFilters' }).filters as { vendorId: number; productId: number }[]);
    let chosen: HIDDeviceLike[] = [];
    try {
      chosen = await hid.requestDevice({ filters });
    } catch (e) {
      this.say(`The device could not be asked for: ${(e as Error).message}`);
      return;
    }
    for (const device of chosen)
      if (await this.attach(device)) break;
  }

  connected(): boolean { return this.device !== null; }

  // Applies what an answer of the core asks of the device: reports to send
  // in order, and the deadline of the reply awaited.
  follow(view: View): void {
    for (const report of view.send ?? []) {
      const device = this.device;
      if (!device) break;
      const bytes = Uint8Array.from(report);
      this.sending = this.sending.then(() => device.sendReport(bytes[0], bytes.slice(1))).catch(() => {
        // A report the browser could not send: the device went or refused it.
        if (this.device === device) this.lost();
      });
    }
    if (!view.deadline) {
      window.clearTimeout(this.deadline);
      this.deadline = undefined;
    } else if (view.deadline.restart || this.deadline === undefined) {
      window.clearTimeout(this.deadline);
      this.deadline = window.setTimeout(() => {
        this.deadline = undefined;
        this.apply(this.core.call({ op: 'deviceDeadline' }));
      }, view.deadline.ms);
    }
  }

  // The page shows the view, and shows it through follow().
  private apply(view: View): void {
    this.show(view);
  }

  private async attach(device: HIDDeviceLike): Promise<boolean> {
    if (this.device) return this.device === device;
    if (!this.core.call({ op: 'deviceAccepted', vendorId: device.vendorId, productId: device.productId }).accepted) return false;
    try {
      if (!device.opened) await device.open();
    } catch {
      this.say('A device error has occurred');
      return false;
    }
    if (this.device) return this.device === device;
    this.device = device;
    const appearance = ++this.appearance;
    device.addEventListener('inputreport', this.onReport);
    this.apply(this.core.call({
      op: 'deviceAttach', vendorId: device.vendorId, productId: device.productId, instance: `webhid-${appearance}`,
      inputLength: reportLength(device.collections, 'inputReports'), outputLength: reportLength(device.collections, 'outputReports'),
    }));
    window.clearTimeout(this.checkTimer);
    this.checkTimer = window.setTimeout(() => {
      if (this.device === device && this.appearance === appearance) this.apply(this.core.call({ op: 'firmwareCheck' }));
    }, FirmwareCheckDelayMs);
    return true;
  }

  private report(e: HIDInputReportEventLike): void {
    if (e.device !== this.device) return;
    const bytes = Array.from(new Uint8Array(e.data.buffer, e.data.byteOffset, e.data.byteLength));
    this.apply(this.core.call({ op: 'deviceReport', bytes }));
  }

  private detached(device: HIDDeviceLike): void {
    if (device === this.device) this.lost();
  }

  private lost(): void {
    const device = this.device;
    this.device = null;
    device?.removeEventListener('inputreport', this.onReport);
    window.clearTimeout(this.checkTimer);
    window.clearTimeout(this.deadline);
    this.deadline = undefined;
    this.apply(this.core.call({ op: 'deviceDetach' }));
    // Another device of ours that is still there takes its place.
    void this.hid?.getDevices().then(async (devices) => {
      for (const d of devices) if (d !== device && (await this.attach(d))) break;
    });
  }
}
