// Makes the page: vantor.html with the module's loader, the module itself (base64), the canvas
// replay, the page's script and the drive it plays put in place of their markers, one file that
// works opened from the disk.
//   node build-page.js OUT.html vantor.html vantor-web.js vantor-web.wasm paint_canvas.js page.js drive.toml
'use strict';
const fs = require('fs');

const [out, template, loader, wasm, paintCanvas, page, drive] = process.argv.slice(2);
if (!drive) {
  console.error('usage: node build-page.js OUT.html vantor.html vantor-web.js vantor-web.wasm paint_canvas.js page.js drive.toml');
  process.exit(2);
}
const read = (path) => fs.readFileSync(path, 'utf8');
// Inside a <script>, "</script" would end it early; the module's loader never holds one, but a
// scenario or a script might, so it is written as "<\/script", which means the same.
const scriptSafe = (text) => text.replace(/<\/script/gi, '<\\/script');
const parts = {
  '/*@MODULE_LOADER@*/': scriptSafe(read(loader)),
  '/*@PAINT_CANVAS@*/': scriptSafe(read(paintCanvas)),
  '@MODULE_WASM_BASE64@': fs.readFileSync(wasm).toString('base64'),
  "/*@DRIVE_SCENARIO@*/''": scriptSafe(JSON.stringify(read(drive))),
  '/*@PAGE@*/': scriptSafe(read(page)),
};
let html = read(template);
for (const [marker, content] of Object.entries(parts)) {
  const at = html.indexOf(marker);
  if (at < 0) throw new Error(`${template} has no ${marker}`);
  html = html.slice(0, at) + content + html.slice(at + marker.length);
}
fs.writeFileSync(out, html);
