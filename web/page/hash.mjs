// The whole problem in the address: the tab, the three input files, the plots' sliders
// and fuels, as JSON in the URL hash (#p=...), so that a link hands out an exercise.
export function encodeState(state) {
  const bytes = new TextEncoder().encode(JSON.stringify(state));
  let bin = '';
  for (const b of bytes) bin += String.fromCharCode(b);
  return `#p=${btoa(bin).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '')}`;
}

// The state a hash holds, or null when it holds none (or one that cannot be read).
export function decodeState(hash) {
  const m = /^#p=([A-Za-z0-9_-]+)$/.exec(hash ?? '');
  if (!m) return null;
  try {
    const bin = atob(m[1].replace(/-/g, '+').replace(/_/g, '/'));
    const state = JSON.parse(new TextDecoder().decode(Uint8Array.from(bin, (c) => c.charCodeAt(0))));
    return state && typeof state === 'object' ? state : null;
  } catch {
    return null;
  }
}
