// A scripted navigator.hid for the page tests, injected before the page's
// own scripts. The device's side is played in Node by the simulated device
// the desktop's simulator plays (one WebAssembly build of the same class),
// reached through a function the test exposes to the page; the test plugs,
// unplugs and breaks it from there. The real requestDevice is never called:
// its chooser cannot be automated.
import { loadDevice } from './lib.mjs';

// Runs in the page. Only the standard WebHID surface the page uses.
function installFakeHid() {
  const ask = (what, bytes) => window.__larkspurDevice(what, bytes);
  class FakeDevice extends EventTarget {
    constructor() {
      super();
      this.opened = false;
      this.vendorId = 0x0416;
      this.productId = 0x5020;
      this.productName = 'Larkspur simulated device';
      const report = [{ reportId: 0, items: [{ reportSize: 8, reportCount: 64 }] }];
      this.collections = [{ usagePage: 0xFF00, usage: 1, type: 1, inputReports: report, outputReports: report, featureReports: [], children: [] }];
      this.present = true;
    }
    async open() { this.opened = true; }
    async close() { this.opened = false; }
    async sendReport(reportId, data) {
      if (!this.present || !this.opened) throw new DOMException('The device is gone', 'NotFoundError');
      const view = data instanceof ArrayBuffer ? new Uint8Array(data) : new Uint8Array(data.buffer, data.byteOffset, data.byteLength);
      const answer = await ask('report', [reportId, ...view]);
      // Replies arrive as input reports, each in a task of its own as a browser delivers them.
      for (const reply of answer.replies)
        setTimeout(() => {
          if (!this.present) return;
          const e = new Event('inputreport');
          Object.assign(e, { device: this, reportId: 0, data: new DataView(Uint8Array.from(reply).buffer) });
          this.dispatchEvent(e);
        });
      if (answer.unplug) hid.unplug();
    }
  }
  const hid = new EventTarget();
  let device = null;
  hid.requested = 0;
  hid.getDevices = async () => ((await ask('plugged')) && device ? [device] : []);
  hid.requestDevice = async () => {
    hid.requested += 1;
    return device ? [device] : [];
  };
  hid.plug = () => {
    device = new FakeDevice();
    const e = new Event('connect');
    e.device = device;
    hid.dispatchEvent(e);
  };
  hid.unplug = () => {
    if (!device) return;
    const gone = device;
    gone.present = false;
    device = null;
    void ask('unplugged');
    const e = new Event('disconnect');
    e.device = gone;
    hid.dispatchEvent(e);
  };
  // Allowed before: there at load.
  device = new FakeDevice();
  Object.defineProperty(Navigator.prototype, 'hid', { get: () => hid, configurable: true });
  window.__fakeHid = hid;
}

// The device's side in Node, and the script for the page.
export async function fakeDevice(model = 'large') {
  const device = await loadDevice(model);
  const state = { plugged: true, written: [], unplugAfterWrites: -1 };
  return {
    device,
    state,
    script: installFakeHid,
    async expose(page) {
      await page.exposeFunction('__larkspurDevice', (what, bytes) => {
        if (what === 'plugged') return state.plugged;
        if (what === 'unplugged') {
          state.plugged = false;
          device.reset();
          return null;
        }
        state.written.push(bytes);
        const replies = device.receive(bytes);
        const unplug = state.unplugAfterWrites > 0 && --state.unplugAfterWrites === 0;
        return { replies: unplug ? [] : replies, unplug };
      });
    },
  };
}
