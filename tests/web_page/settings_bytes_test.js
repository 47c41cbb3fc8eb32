// The page's handling of Vantor.ini's bytes (sim/web/page/settings_bytes.js), in node: the box's
// rows are the plugin's lines, each line's end is kept apart, and the bytes survive the box.
// Ends with "N passed, N failed"; exits 1 when a case failed.
'use strict';
const assert = require('assert');
const path = require('path');
const { describeFile, encodeRows, base64ToBytes, bytesToBase64 } =
  require(path.join(__dirname, '../../sim/web/page/settings_bytes.js'));

const bytes = (text) => Buffer.from(text, 'latin1');
const cases = [];
const test = (name, body) => cases.push({ name, body });

test("rows are the plugin's lines: split at LF, a CR before it dropped, a last line without an end counted", () => {
  const file = describeFile(bytes('FOV=90\r\nHeight_1=0.5\nCornerLean=1'));
  assert.deepStrictEqual(file.rows, ['FOV=90', 'Height_1=0.5', 'CornerLean=1']);
  assert.deepStrictEqual(file.ends, ['crlf', 'lf', '']);
  assert.strictEqual(file.lines, 3);
  assert.strictEqual(file.kind, 'mixed');
});

test('after a last line end the box has an empty row that is no line', () => {
  const file = describeFile(bytes('FOV=90\r\n\r\n'));
  assert.deepStrictEqual(file.rows, ['FOV=90', '', '']);
  assert.deepStrictEqual(file.ends, ['crlf', 'crlf']);
  assert.strictEqual(file.lines, 2);
  assert.strictEqual(file.kind, 'crlf');
  assert.deepStrictEqual(describeFile(new Uint8Array()), { rows: [''], ends: [], lines: 0, utf8: true, kind: 'crlf' });
});

test('a CR that ends no line stays in its line, shown, and comes back as a CR', () => {
  const original = bytes('FOV=90\rHeight_1=0.5\r\n\r');
  const file = describeFile(original);
  assert.deepStrictEqual(file.rows, ['FOV=90\u240DHeight_1=0.5', '\u240D']);
  assert.strictEqual(file.lines, 2);
  assert(Buffer.from(encodeRows(file.rows, 'crlf')).equals(original));
});

test('a byte-order mark stays at the start of the first row and in the bytes', () => {
  const original = bytes('\xEF\xBB\xBF[Settings]\r\nFOV=85\r\n');
  const file = describeFile(original);
  assert.strictEqual(file.rows[0], '\uFEFF[Settings]');
  assert(file.utf8);
  assert(Buffer.from(encodeRows(file.rows, 'crlf')).equals(original));
});

test('bytes that are not UTF-8 are told, shown as U+FFFD, and only the lines around them decode', () => {
  const file = describeFile(bytes('FOV=85\xE9\nHeight_1=0.5\n'));
  assert.strictEqual(file.utf8, false);
  assert.deepStrictEqual(file.rows, ['FOV=85\uFFFD', 'Height_1=0.5', '']);
  assert.strictEqual(file.kind, 'lf');
});

test('typed rows become bytes in the line ends chosen', () => {
  const rows = ['FOV=85', 'Height_8=0.95', ''];
  assert.strictEqual(Buffer.from(encodeRows(rows, 'crlf')).toString(), 'FOV=85\r\nHeight_8=0.95\r\n');
  assert.strictEqual(Buffer.from(encodeRows(rows, 'lf')).toString(), 'FOV=85\nHeight_8=0.95\n');
  assert.strictEqual(Buffer.from(encodeRows(['caf\u00E9=1'], 'lf')).toString('hex'), '636166c3a93d31');
});

test('the stored form gives every byte back', () => {
  const all = Uint8Array.from({ length: 256 * 300 }, (_, i) => (i * 7) & 0xFF);
  assert.deepStrictEqual(base64ToBytes(bytesToBase64(all)), all);
});

let failed = 0;
for (const { name, body } of cases) {
  try {
    body();
    console.log(`ok    ${name}`);
  } catch (error) {
    ++failed;
    console.log(`FAIL  ${name}\n      ${String(error.stack || error).replace(/\n/g, '\n      ')}`);
  }
}
console.log(`${cases.length - failed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
