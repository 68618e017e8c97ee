/* Kettlebourne service worker: network first, cached copies and the application shell offline. */
const CACHE_NAME = 'kettlebourne-v1';
// Every path is resolved against the scope, so an installation in a sub-folder works.
const SCOPE = self.registration ? self.registration.scope : new URL('./', self.location.href).href;
const SCOPE_PATH = new URL(SCOPE).pathname;
const APP_SHELL = ['./', './assets/css/app.css', './assets/js/app.js'].map((path) => new URL(path, SCOPE).href);

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches.open(CACHE_NAME)
      .then((cache) => cache.addAll(APP_SHELL))
      .catch(() => undefined)
  );
  self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name !== CACHE_NAME).map((name) => caches.delete(name))))
      .then(() => self.clients.claim())
  );
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== self.location.origin || url.pathname.startsWith(SCOPE_PATH + 'api/')) {
    return;
  }
  event.respondWith(
    fetch(request)
      .then((response) => {
        if (response.ok && response.type === 'basic') {
          const copy = response.clone();
          event.waitUntil(caches.open(CACHE_NAME).then((cache) => cache.put(request, copy)));
        }
        return response;
      })
      .catch(() => caches.match(request)
        .then((cached) => cached || caches.match(APP_SHELL[0]))
        .then((fallback) => fallback || Response.error()))
  );
});
