// The report as the program wrote it, with each message id linked to its paragraph of
// ERROR.TXT, and ERROR.TXT itself as paragraphs that the links reach.
const ID = /\b(G[EP]\d\d|F\d{4})\b/g;

// ERROR.TXT's paragraphs; one that starts with a message id gets the anchor msg-<id>.
export function renderErrorText(el, text) {
  el.replaceChildren();
  const paragraphs = text.replace(/\r/g, '').split(/\n(?=\S)/);
  const seen = new Set();
  for (const para of paragraphs) {
    const p = document.createElement('p');
    p.textContent = para;
    const m = /^(G[EP]\d\d|F\d{4})  /.exec(para);
    if (m && !seen.has(m[1])) { p.id = `msg-${m[1]}`; seen.add(m[1]); }
    el.append(p);
  }
  return seen;
}

// The text into el, ids with a paragraph in `known` as links to it.
export function renderLinked(el, text, known, onLink) {
  el.replaceChildren();
  let at = 0;
  for (const m of text.matchAll(ID)) {
    if (!known.has(m[1])) continue;
    el.append(text.slice(at, m.index));
    const a = document.createElement('a');
    a.href = `#msg-${m[1]}`;
    a.className = 'msg';
    a.textContent = m[1];
    a.addEventListener('click', (e) => { e.preventDefault(); onLink(m[1]); });
    el.append(a);
    at = m.index + m[0].length;
  }
  el.append(text.slice(at));
}
