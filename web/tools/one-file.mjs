// Writes the page as one HTML file that a browser opens from a local folder (file://),
// where it loads neither module scripts nor files beside the page: the styles, uPlot,
// the single-file engine (a classic script), the data files (base64) and the page's
// modules, each wrapped in a function of its own, all inside index.html.
//   node one-file.mjs PAGE_DIR ENGINE_JS OUT_HTML
import fs from 'node:fs';
import path from 'node:path';

const [pageDir, engineJs, out] = process.argv.slice(2);
const read = (name) => fs.readFileSync(path.join(pageDir, name), 'utf8');
// In the order they import each other.
const MODULES = ['fuels.mjs', 'engine.mjs', 'problem.mjs', 'hash.mjs', 'plots.mjs', 'report.mjs', 'app.mjs'];
const ASSETS = ['GPROP.DAT', 'FUELS.DAT', 'ERROR.TXT'];

// A module as a function of the modules before it that returns its exports.
function wrap(name, source) {
  const exported = [];
  let body = source.replace(/^import\s*\{([^}]*)\}\s*from\s*'\.\/([\w.-]+)';$/gm, (_, names, from) => {
    if (!MODULES.includes(from)) throw new Error(`${name}: imports ${from}, not a page module`);
    const fields = names.split(',').map((n) => n.trim()).filter(Boolean).map((n) => n.replace(/^(\w+)\s+as\s+(\w+)$/, '$1: $2'));
    return `const { ${fields.join(', ')} } = modules['${from}'];`;
  });
  body = body.replace(/^export\s+(async\s+function|function|const|let|class)\s+(\w+)/gm, (_, kind, id) => {
    exported.push(id);
    return `${kind} ${id}`;
  });
  if (/^\s*(import|export)\b/m.test(body)) throw new Error(`${name}: an import or export the one-file page cannot take`);
  body = body.replace(/import\.meta\.url/g, 'location.href');
  return `modules['${name}'] = (() => {\n${body}\nreturn { ${exported.join(', ')} };\n})();\n`;
}

const assets = Object.fromEntries(ASSETS.map((a) => [a, fs.readFileSync(path.join(pageDir, a)).toString('base64')]));
const script = (code) => `<script>\n${code.replace(/<\/script/gi, '<\\/script')}\n</script>`;
const engine = fs.readFileSync(engineJs, 'utf8');
let html = read('index.html');
html = html.replace('<link rel="stylesheet" href="uPlot.min.css">', `<style>\n${read('uPlot.min.css')}\n</style>`);
html = html.replace('<link rel="stylesheet" href="style.css">', `<style>\n${read('style.css')}\n</style>`);
html = html.replace('<script src="uPlot.iife.min.js"></script>', () => script(read('uPlot.iife.min.js')));
html = html.replace('<script type="module" src="app.mjs"></script>', () => [
  script(engine),
  script(`globalThis.SUITE_ASSETS = ${JSON.stringify(assets)};`),
  script(`(() => {\nconst modules = {};\n${MODULES.map((m) => wrap(m, read(m))).join('\n')}\n})();`),
].join('\n'));
if (/(href|src)="(?!#|data:)[^"]*"/.test(html)) throw new Error('the one-file page still refers to a file');
fs.writeFileSync(out, html);
