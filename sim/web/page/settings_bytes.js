// Vantor.ini's bytes and the box that shows them: lines split as the plugin splits them (at LF,
// a CR before it dropped), each line's end kept apart so that the box can show it and typing can
// choose it, and the bytes kept as they are until the person types. Runs in the page and, for
// its test, in node.
'use strict';

const LoneCarriageReturn = '\u240D';  // shown for a CR that ends no line (it is part of the line)
const LineEnds = Object.freeze({ crlf: '\r\n', lf: '\n' });

const textEncoder = new TextEncoder();
const strictDecoder = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });
const lenientDecoder = new TextDecoder('utf-8', { ignoreBOM: true });

function base64ToBytes(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

function bytesToBase64(bytes) {
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(binary);
}

// The file as the box shows it: its rows (a byte-order mark kept, bytes that are not UTF-8 as
// U+FFFD, a lone CR as a visible sign), each line's end ('crlf', 'lf', or '' for a last line
// without one), the number of lines the plugin reads, whether all of it is UTF-8, and the
// line ends it uses ('crlf', 'lf' or 'mixed'). After a last line end the box has an empty row.
function describeFile(bytes) {
  const rows = [], ends = [];
  let utf8 = true, start = 0;
  const addLine = (end, next) => {
    const line = bytes.subarray(start, end);
    let text;
    try {
      text = strictDecoder.decode(line);
    } catch {
      utf8 = false;
      text = lenientDecoder.decode(line);
    }
    rows.push(text.replaceAll('\r', LoneCarriageReturn));
    start = next;
  };
  for (let i = 0; i < bytes.length; ++i) {
    if (bytes[i] !== 0x0A) continue;
    const crlf = i > start && bytes[i - 1] === 0x0D;
    ends.push(crlf ? 'crlf' : 'lf');
    addLine(crlf ? i - 1 : i, i + 1);
  }
  if (start < bytes.length) {
    ends.push('');
    addLine(bytes.length, bytes.length);
  }
  const lines = rows.length;
  if (lines === 0 || ends[lines - 1] !== '') rows.push('');
  const kinds = new Set(ends.filter((end) => end !== ''));
  const kind = kinds.size > 1 ? 'mixed' : kinds.has('lf') ? 'lf' : 'crlf';
  return { rows, ends, lines, utf8, kind };
}

// The bytes of the box's rows, as UTF-8 with the line end chosen between them.
function encodeRows(rows, lineEnd) {
  return textEncoder.encode(rows.join(LineEnds[lineEnd]).replaceAll(LoneCarriageReturn, '\r'));
}

if (typeof module !== 'undefined') module.exports = { base64ToBytes, bytesToBase64, describeFile, encodeRows };
