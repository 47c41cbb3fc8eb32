// The page: Vantor.ini kept as bytes (opened, typed, saved by the plugin's menu), each line's
// verdict from the plugin's own reader in the module, and the drive drawn on the canvas from the
// renderer's command list. Everything runs in this page; the module is the one node runs.
'use strict';

const StorageKey = 'vantor.ini';  // base64 of the bytes last applied or saved
const FrameTimeMs = 16;
// After the page was hidden the backlog is dropped, not played at once.
const MaxFramesPerAnimationFrame = 30;
const PageState = Object.freeze({ Idle: 0, Running: 1, Ended: 2, Failed: 3 });
const ReportSeparator = '\f';
const LoneCarriageReturn = '\u240D';  // shown for a CR that ends no line (it is part of the line)
const LineEnds = Object.freeze({ crlf: '\r\n', lf: '\n' });

const $ = (id) => document.getElementById(id);
const encoder = new TextEncoder();
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

// The file as the box shows it: one row a line as the plugin splits them (at LF, a CR before it
// dropped), each line's end, and whether every line is UTF-8.
function describeFile(bytes) {
  const rows = [], ends = [];
  let utf8 = true, start = 0;
  const addLine = (end, endLength) => {
    const line = bytes.subarray(start, end);
    let text;
    try {
      text = strictDecoder.decode(line);
    } catch {
      utf8 = false;
      text = lenientDecoder.decode(line);
    }
    rows.push(text.replaceAll('\r', LoneCarriageReturn));
    start = end + endLength;
  };
  for (let i = 0; i < bytes.length; ++i) {
    if (bytes[i] !== 0x0A) continue;
    const crlf = i > start && bytes[i - 1] === 0x0D;
    ends.push(crlf ? 'crlf' : 'lf');
    addLine(crlf ? i - 1 : i, crlf ? 2 : 1);
  }
  if (start < bytes.length) {
    ends.push('');
    addLine(bytes.length, 0);
  }
  const lines = rows.length;
  if (lines === 0 || ends[lines - 1] !== '') rows.push('');  // the row after a last line end
  const kinds = new Set(ends.filter((end) => end !== ''));
  const kind = kinds.size > 1 ? 'mixed' : kinds.has('lf') ? 'lf' : 'crlf';
  return { rows, ends, lines, utf8, kind };
}

function encodeRows(rows, lineEnd) {
  return encoder.encode(rows.join(LineEnds[lineEnd]).replaceAll(LoneCarriageReturn, '\r'));
}

function downloadBytes(bytes, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

// The module's calls, with the bytes passed through its input slots and output.
class Vantor {
  constructor(module) {
    this.m = module;
    const table = module._vantor_paint_numbers_per_op();
    this.numbersPerOp = module.HEAPU8.slice(table, table + module._vantor_paint_op_kinds());
    if (this.numbersPerOp.length !== Object.keys(PaintOp).length) throw new Error('the module paints other commands');
  }
  put(slot, bytes) {
    const at = this.m._vantor_input(slot, bytes.length);
    this.m.HEAPU8.set(bytes, at);
  }
  output() {
    const at = this.m._vantor_output();
    return this.m.HEAPU8.slice(at, at + this.m._vantor_output_size());
  }
  outputText() { return lenientDecoder.decode(this.output()); }
  font(which) {
    const at = this.m._vantor_font(which);
    return this.m.HEAPU8.slice(at, at + this.m._vantor_font_size(which));
  }
  defaultSettings() {
    this.m._vantor_default_settings();
    return this.output();
  }
  report(bytes) {
    this.put(0, bytes);
    this.m._vantor_settings_report(1);
    const [text, lines] = this.outputText().split(ReportSeparator);
    const verdicts = lines.split('\n').slice(0, -1).map((line) => ({ marked: line[0] === '!', verdict: line.slice(1) }));
    return { text, verdicts };
  }
  // settings: the bytes of Vantor.ini, or null for the scenario's own.
  startScenario(toml, settings) {
    this.put(0, encoder.encode(toml));
    if (settings) this.put(1, settings);
    this.m._vantor_play_start(settings ? 1 : 0);
    return this.m._vantor_state() === PageState.Running ? '' : this.outputText();
  }
  play(frames, width, height) { this.m._vantor_play(frames, width, height); }
  state() { return this.m._vantor_state(); }
  frame() { return this.m._vantor_frame(); }
  savedSettings() { return this.m._vantor_settings_saved() ? this.output() : null; }
  trace() {
    this.m._vantor_trace();
    return this.output();
  }
  paintList() {
    const m = this.m;
    const ops = m._vantor_paint_ops(), numbers = m._vantor_paint_numbers(), texts = m._vantor_paint_texts();
    return {
      ops: m.HEAPU8.subarray(ops, ops + m._vantor_paint_op_count()),
      numbers: m.HEAPF64.subarray(numbers >> 3, (numbers >> 3) + m._vantor_paint_number_count()),
      texts: m.HEAPU8.subarray(texts, texts + m._vantor_paint_texts_size()),
      numbersPerOp: this.numbersPerOp,
    };
  }
}

// Vantor.ini on the page: the bytes, the box that shows them, the verdicts beside it.
class SettingsPanel {
  constructor(vantor) {
    this.vantor = vantor;
    this.box = $('box');
    this.verdicts = $('verdicts');
    this.lineEnds = $('line-ends');
    this.message = $('message');
    this.bytes = new Uint8Array();
    this.box.addEventListener('input', () => this.typed());
    this.box.addEventListener('scroll', () => { this.verdicts.scrollTop = this.box.scrollTop; });
    this.lineEnds.addEventListener('change', () => this.lineEndsChosen());
    $('open').addEventListener('change', (event) => this.open(event.target.files[0]));
    $('download').addEventListener('click', () => downloadBytes(this.bytes, 'Vantor.ini'));
    $('reset').addEventListener('click', () => this.reset());
  }

  say(text, kind = '') {
    this.message.textContent = text;
    this.message.className = kind;
  }

  // New bytes from outside the box: it shows them, line ends as they are.
  show(bytes) {
    this.bytes = bytes;
    const file = describeFile(bytes);
    this.box.value = file.rows.join('\n');
    this.lineEnds.querySelector('option[value=mixed]').hidden = file.kind !== 'mixed';
    this.lineEnds.value = file.kind;
    this.refresh(file);
    if (!file.utf8)
      this.say('This file holds bytes that are not UTF-8 (shown as \uFFFD): the verdicts are of its own bytes, ' +
               'as the game reads them. Typing in the box replaces them with the text as shown.', 'warn');
  }

  typed() {
    if (this.lineEnds.value === 'mixed') this.chooseLineEnds('crlf');
    this.bytes = encodeRows(this.box.value.split('\n'), this.lineEnds.value);
    this.refresh(describeFile(this.bytes));
  }

  chooseLineEnds(lineEnd) {
    this.lineEnds.value = lineEnd;
    this.lineEnds.querySelector('option[value=mixed]').hidden = true;
  }

  lineEndsChosen() {
    if (this.lineEnds.value === 'mixed') return;
    this.chooseLineEnds(this.lineEnds.value);
    this.bytes = encodeRows(describeFile(this.bytes).rows, this.lineEnds.value);
    this.refresh(describeFile(this.bytes));
  }

  refresh(file) {
    const report = this.vantor.report(this.bytes);
    this.report = report;
    $('report').textContent = report.text;
    const rows = [];
    for (let i = 0; i < file.rows.length; ++i) {
      const row = document.createElement('div');
      if (i < file.lines) {
        const { marked, verdict } = report.verdicts[i] || { marked: false, verdict: '' };
        const end = document.createElement('span');
        end.className = 'end';
        end.textContent = file.ends[i] === 'crlf' ? 'CR LF' : file.ends[i] === 'lf' ? 'LF' : 'no end';
        row.append(end, `${marked ? '! ' : ''}${verdict}`);
        row.title = verdict;
        if (marked) row.className = 'marked';
      }
      rows.push(row);
    }
    this.verdicts.replaceChildren(...rows);
    this.verdicts.scrollTop = this.box.scrollTop;
  }

  async open(file) {
    if (!file) return;
    this.show(new Uint8Array(await file.arrayBuffer()));
    if (this.message.className !== 'warn') this.say(`Opened ${file.name}. Apply to drive with it.`);
    $('open').value = '';
  }

  reset() {
    localStorage.removeItem(StorageKey);
    this.show(this.vantor.defaultSettings());
    this.say('Forgotten: this browser keeps no Vantor.ini now. The box shows the defaults; Apply to drive with them.');
  }

  store() { localStorage.setItem(StorageKey, bytesToBase64(this.bytes)); }

  restore() {
    const kept = localStorage.getItem(StorageKey);
    if (kept === null) {
      this.show(this.vantor.defaultSettings());
      return;
    }
    this.show(base64ToBytes(kept));
    if (this.message.className !== 'warn') this.say('The Vantor.ini this browser kept from your last visit.');
  }
}

// The drive on the canvas, paced to real time: every frame due is played, the last one drawn.
class Drive {
  constructor(vantor, settings) {
    this.vantor = vantor;
    this.settings = settings;
    this.canvas = $('view');
    this.context = this.canvas.getContext('2d');
    this.status = $('status');
    this.paused = false;
    $('apply').addEventListener('click', () => this.apply());
    requestAnimationFrame((now) => this.animate(now));
  }

  apply() {
    this.settings.store();
    this.start();
    this.settings.say('Applied: the plugin restarted with this Vantor.ini, as a restart of the game would read it.', 'news');
  }

  start() {
    this.startMs = null;
    this.played = 0;
    const failure = this.vantor.startScenario(VantorDriveScenario, this.settings.bytes);
    if (failure) this.status.textContent = `The drive could not start: ${failure}`;
  }

  animate(now) {
    requestAnimationFrame((next) => this.animate(next));
    const workStart = performance.now();
    this.step(now);
    // For the benchmark: when each animation frame began and how long the page worked in it.
    if (this.timings) this.timings.push([now, performance.now() - workStart]);
  }

  step(now) {
    if (this.paused) return;
    if (this.vantor.state() === PageState.Ended) this.start();
    if (this.vantor.state() !== PageState.Running) return;
    if (this.startMs === null) this.startMs = now;
    let due = Math.floor((now - this.startMs) / FrameTimeMs) + 1 - this.played;
    if (due > MaxFramesPerAnimationFrame) {
      this.startMs += (due - 1) * FrameTimeMs;
      due = 1;
    }
    if (due <= 0) return;
    const { width, height } = this.canvas;
    this.vantor.play(due, width, height);
    this.played += due;
    paintOnCanvas(this.context, this.vantor.paintList(), width, height);
    const saved = this.vantor.savedSettings();
    if (saved) {
      this.settings.show(saved);
      this.settings.store();
      this.settings.say(`The menu saved Vantor.ini (frame ${this.vantor.frame()}): the box shows the saved file. ` +
                        'Download it to keep it, and copy it into the game folder.', 'news');
    }
    this.status.textContent = `Frame ${this.vantor.frame()}: the scripted drive.`;
    if (this.vantor.state() === PageState.Failed) this.status.textContent = `The drive failed: ${this.vantor.outputText()}`;
  }
}

async function loadFonts(vantor) {
  for (let which = 0; which < PaintFontFamilies.length; ++which) {
    const face = new FontFace(PaintFontFamilies[which], vantor.font(which));
    document.fonts.add(await face.load());
  }
}

// For the page's tests: what a person sees, reached without scraping the DOM.
const vantorPage = {};

vantorPage.ready = (async () => {
  const module = await VantorModule({ wasmBinary: base64ToBytes(VantorWasmBase64) });
  const vantor = new Vantor(module);
  await loadFonts(vantor);
  const settings = new SettingsPanel(vantor);
  settings.restore();
  const drive = new Drive(vantor, settings);
  drive.start();
  Object.assign(vantorPage, { vantor, settings, drive });
})();
