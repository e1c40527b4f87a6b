// Serves a folder of static files on 127.0.0.1, on the port asked for or
// the next free one, and prints the address:
//   node web/tools/serve.mjs SITE_DIR [PORT]
// Only what is inside the folder is served; nothing is ever written.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, sep } from 'node:path';

const Types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
  '.png': 'image/png', '.txt': 'text/plain; charset=utf-8', '.svg': 'image/svg+xml',
};

export function serve(folder, port, host = '127.0.0.1') {
  const root = normalize(folder + sep);
  const server = createServer(async (request, response) => {
    try {
      let path = decodeURIComponent(new URL(request.url ?? '/', 'http://x').pathname);
      if (path.endsWith('/')) path += 'index.html';
      const file = normalize(join(root, path));
      if (!file.startsWith(root) || !(await stat(file)).isFile()) throw new Error('not found');
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': Types[extname(file)] ?? 'application/octet-stream', 'Cache-Control': 'no-cache' });
      response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('Not found');
    }
  });
  return new Promise((resolve, reject) => {
    const attempt = (p, left) => {
      server.once('error', (e) => (e.code === 'EADDRINUSE' && left > 0 ? attempt(p + 1, left - 1) : reject(e)));
      server.listen(p, host, () => resolve({ server, url: `http://${host}:${server.address().port}/` }));
    };
    attempt(port, port === 0 ? 0 : 50);
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [folder, port] = process.argv.slice(2);
  const { url } = await serve(folder, Number(port ?? 8080));
  console.log(`Serving ${folder} at ${url}  (Ctrl+C stops)`);
}
