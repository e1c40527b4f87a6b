// What the web tests share: the WebAssembly core and the simulated device
// loaded in Node, lsthtool run for the desktop's answer, PNGs decoded.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { inflateSync } from 'node:zlib';

const require = createRequire(import.meta.url);

export const WebBuild = process.env.LARKSPUR_WEB_BUILD ?? new URL('../../build-web', import.meta.url).pathname;
export const Lsthtool = process.env.LSTHTOOL ?? new URL('../../build/lsthtool', import.meta.url).pathname;
export const Site = join(WebBuild, 'site');

export function tempDir() { return mkdtempSync(join(tmpdir(), 'larkspur-web-')); }

export function lsthtool(...args) { return execFileSync(Lsthtool, args, { encoding: 'utf8' }); }

// The core as the page holds it: requests in, views out, files through its file system.
export async function loadCore() {
  const factory = require(join(WebBuild, 'core/larkspur-core.js'));
  const m = await factory({ wasmBinary: readFileSync(join(WebBuild, 'core/larkspur-core.wasm')), print: () => {}, printErr: () => {} });
  let folder = 0;
  const core = {
    call(request) {
      const text = JSON.stringify(request);
      const size = m.lengthBytesUTF8(text) + 1;
      const at = m._malloc(size);
      m.stringToUTF8(text, at, size);
      const answer = JSON.parse(m.UTF8ToString(m._lw_request(at)));
      m._free(at);
      return answer;
    },
    buffer() {
      const at = m._lw_buffer();
      return Buffer.from(m.HEAPU8.slice(at, at + m._lw_buffer_size()));
    },
    put(name, bytes) {
      const dir = `/t${++folder}`;
      m.FS.mkdir(dir);
      m.FS.writeFile(`${dir}/${name}`, bytes);
      return `${dir}/${name}`;
    },
    path(name) {
      const dir = `/t${++folder}`;
      m.FS.mkdir(dir);
      return `${dir}/${name}`;
    },
    read(path) { return Buffer.from(m.FS.readFile(path)); },
  };
  return core;
}

// The simulated device the desktop's simulator plays, report by report.
export async function loadDevice(model = 'large') {
  const factory = require(join(WebBuild, 'testing/larkspur-simdevice.js'));
  const m = await factory({ wasmBinary: readFileSync(join(WebBuild, 'testing/larkspur-simdevice.wasm')) });
  if (!m.ccall('sim_create', 'number', ['string'], [model])) throw new Error(`no model ${model}`);
  const scratch = m._malloc(4096);
  return {
    // One output report (ID byte first); the input reports the device answers with.
    receive(report) {
      m.HEAPU8.set(report, scratch);
      m._sim_receive(scratch, report.length);
      const replies = [];
      while (m._sim_reply_count() > 0) {
        const size = m._sim_take_reply(scratch);
        replies.push(Array.from(m.HEAPU8.slice(scratch, scratch + size)));
      }
      return replies;
    },
    theme() {
      m._sim_theme(scratch);
      return Buffer.from(m.HEAPU8.slice(scratch, scratch + 128));
    },
    reset() { m._sim_reset(); },
    silent(on) { m._sim_set_silent(on ? 1 : 0); },
    replySize(bytes) { m._sim_set_reply_size(bytes); },
  };
}

// 8-bit RGB or RGBA PNGs, as lsthtool writes them: width, height and RGB bytes.
export function decodePng(bytes) {
  let at = 8, width = 0, height = 0, type = 0;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const kind = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (kind === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('only 8-bit, not interlaced');
      type = body[9];
    } else if (kind === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const channels = type === 6 ? 4 : type === 2 ? 3 : 0;
  if (!channels) throw new Error(`colour type ${type}`);
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const out = Buffer.alloc(width * height * 3);
  let prev = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0, b = prev[i], c = i >= channels ? prev[i - channels] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      line[i] = (line[i] + predictor) & 255;
    }
    for (let x = 0; x < width; ++x) line.copy(out, (y * width + x) * 3, x * channels, x * channels + 3);
    prev = line;
  }
  return { width, height, rgb: out };
}

// RGBA to RGB, for comparing with a decoded PNG.
export function rgbOf(rgba) {
  const out = Buffer.alloc((rgba.length / 4) * 3);
  for (let i = 0, o = 0; i < rgba.length; i += 4) { out[o++] = rgba[i]; out[o++] = rgba[i + 1]; out[o++] = rgba[i + 2]; }
  return out;
}
