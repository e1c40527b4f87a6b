// The service worker: keeps the whole site for use offline. The build
// writes the list of files and a version made from their contents into
// this worker, so a new site replaces the old cache whole, never in parts.

/// <reference lib="webworker" />
declare const self: ServiceWorkerGlobalScope;
export {};  // a module to the compiler; the build makes it a classic script

const Version = '@VERSION@';
// The build puts the list in place of the quoted token.
const Files = '@FILES@' as unknown as string[];
const CacheName = `larkspur-theme-editor-${Version}`;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CacheName);
    await cache.addAll(Files.map((f) => new Request(f, { cache: 'reload' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith('larkspur-theme-editor-') && name !== CacheName) await caches.delete(name);
    await self.clients.claim();
  })());
});

// The site's own files from the cache first; anything else is not ours to keep.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(CacheName);
    const url = new URL(request.url);
    const hit = await cache.match(url.pathname.endsWith('/') ? new URL('index.html', url) : request, { ignoreSearch: true });
    return hit ?? fetch(request);
  })());
});
