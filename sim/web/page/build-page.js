// Makes the page: vantor.html with the module's loader, the module itself (base64), the canvas
// replay and the page's script put in place of their markers, one file that works opened from
// the disk.
//   node build-page.js OUT.html vantor.html vantor-web.js vantor-web.wasm paint_canvas.js settings_bytes.js page.js
'use strict';
const fs = require('fs');

const [out, template, loader, wasm, paintCanvas, settingsBytes, page] = process.argv.slice(2);
if (!page) {
  console.error('usage: node build-page.js OUT.html vantor.html vantor-web.js vantor-web.wasm paint_canvas.js settings_bytes.js page.js');
  process.exit(2);
}
const read = (path) => fs.readFileSync(path, 'utf8');
// Inside a <script>, "</script" would end it early: should a script ever hold one, it is written
// as "<\/script", which means the same.
const scriptSafe = (text) => text.replace(/<\/script/gi, '<\\/script');
const parts = {
  '/*@MODULE_LOADER@*/': scriptSafe(read(loader)),
  '/*@PAINT_CANVAS@*/': scriptSafe(read(paintCanvas)),
  '/*@SETTINGS_BYTES@*/': scriptSafe(read(settingsBytes)),
  '@MODULE_WASM_BASE64@': fs.readFileSync(wasm).toString('base64'),
  '/*@PAGE@*/': scriptSafe(read(page)),
};
let html = read(template);
for (const [marker, content] of Object.entries(parts)) {
  const at = html.indexOf(marker);
  if (at < 0) throw new Error(`${template} has no ${marker}`);
  html = html.slice(0, at) + content + html.slice(at + marker.length);
}
fs.writeFileSync(out, html);
