// The page: Vantor.ini kept as bytes (opened, typed, saved by the plugin's menu), each line's
// verdict from the plugin's own reader in the module, and the drive drawn on the canvas from the
// renderer's command list. Everything runs in this page; the module is the one node runs.
'use strict';

const StorageKey = 'vantor.ini';  // base64 of the bytes last applied or saved
const PageState = Object.freeze({ Idle: 0, Running: 1, Ended: 2, Failed: 3 });
const ReportSeparator = '\f';

const $ = (id) => document.getElementById(id);
const encoder = new TextEncoder();  // the decoders are settings_bytes.js's

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
  driveStart(settings) {
    this.put(1, settings);
    this.m._vantor_drive_start(1);
    return this.m._vantor_state() === PageState.Running ? '' : this.outputText();
  }
  driveKey(virtualKey, down) { this.m._vantor_drive_key(virtualKey, down ? 1 : 0); }
  driveControls(mouseX, mouseY, motion, enterOrLeave) {
    this.m._vantor_drive_controls(mouseX, mouseY, motion.throttle, motion.brake, motion.steer, enterOrLeave ? 1 : 0);
  }
  driveStatus() { return this.m.UTF8ToString(this.m._vantor_drive_status()); }
  framesDue(nowMs, restart) { return this.m._vantor_drive_frames_due(nowMs, restart ? 1 : 0); }
  driveStep(frames, width, height, framesPerSecond, mouseFree) {
    this.m._vantor_drive_step(frames, width, height, framesPerSecond, mouseFree ? 1 : 0);
  }
  // The drive as a scenario: { toml, settings, settingsName }, settings null when it is one file.
  recording() {
    const oneFile = this.m._vantor_drive_recording() === 1;
    const toml = this.output();
    if (oneFile) return { toml, settings: null };
    this.m._vantor_drive_recorded_settings();
    return { toml, settings: this.output(), settingsName: this.m.UTF8ToString(this.m._vantor_drive_recorded_settings_name()) };
  }
  state() { return this.m._vantor_state(); }
  stop() { this.m._vantor_stop(); }
  frame() { return this.m._vantor_frame(); }
  // After a menu save: { bytes, heightsFlattened }; null when nothing was saved.
  savedSettings() {
    const saved = this.m._vantor_settings_saved();
    return saved === 0 ? null : { bytes: this.output(), heightsFlattened: saved === 2 };
  }
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
    // The verdict beside a line is cut to the column; the caret's line is told whole below.
    for (const event of ['keyup', 'click', 'select', 'focus']) this.box.addEventListener(event, () => this.tellCaretLine());
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
    this.say('');
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
    this.tellCaretLine();
  }

  tellCaretLine() {
    const row = this.box.value.slice(0, this.box.selectionStart).split('\n').length - 1;
    const verdict = this.report?.verdicts[row];
    $('line-verdict').textContent = verdict ? `Line ${row + 1}: ${verdict.verdict}` : '';
    $('line-verdict').className = verdict?.marked ? 'marked' : '';
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

// The keys the plugin reads, as the game has them, by KeyboardEvent.code: their virtual-key codes.
const PluginKeys = Object.freeze({
  KeyV: 0x56, F6: 0x75, ArrowUp: 0x26, ArrowDown: 0x28, ArrowLeft: 0x25, ArrowRight: 0x27, Enter: 0x0D,
  NumpadEnter: 0x0D, Numpad0: 0x60, Numpad1: 0x61, Numpad2: 0x62, Numpad3: 0x63, Numpad4: 0x64, Numpad5: 0x65,
  Numpad6: 0x66, Numpad7: 0x67, Numpad8: 0x68, Numpad9: 0x69,
});
// The driver's keys (held from frame to frame); F gets in or out.
const DriverKeys = Object.freeze({ KeyW: 'forward', KeyS: 'backward', KeyA: 'left', KeyD: 'right' });

// A person's keys and mouse on the view, gathered between two frame starts. The plugin's keys
// are kept as every transition in the order it came, so that a tap shorter than a frame still
// reaches the plugin, down then up, at the next frame start.
class DriveInput {
  constructor(canvas) {
    this.canvas = canvas;
    this.held = { forward: false, backward: false, left: false, right: false };
    this.down = new Set();  // plugin keys down, by code
    this.edges = [];
    this.mouseX = 0;
    this.mouseY = 0;
    this.enterOrLeave = false;
    this.dragging = false;
    canvas.addEventListener('keydown', (event) => this.key(event, true));
    canvas.addEventListener('keyup', (event) => this.key(event, false));
    canvas.addEventListener('blur', () => this.releaseAll());
    canvas.addEventListener('mousedown', (event) => {
      canvas.focus();
      this.dragging = event.button === 0;
      if (document.pointerLockElement !== canvas && canvas.requestPointerLock) {
        // Without pointer lock (a browser that refuses it) dragging looks around instead.
        try { canvas.requestPointerLock()?.catch?.(() => {}); } catch { /* dragging still works */ }
      }
    });
    window.addEventListener('mouseup', () => { this.dragging = false; });
    canvas.addEventListener('mousemove', (event) => {
      if (!this.mouseCaptured() && !this.dragging) return;
      this.mouseX += event.movementX;
      this.mouseY += event.movementY;
    });
  }

  mouseCaptured() { return document.pointerLockElement === this.canvas; }

  key(event, down) {
    const code = event.code;
    if (code in PluginKeys) {
      if (down === this.down.has(code)) {  // a key's repeats, or an up without its down
        event.preventDefault();
        return;
      }
      if (down) this.down.add(code);
      else this.down.delete(code);
      this.edges.push([PluginKeys[code], down]);
    } else if (code in DriverKeys) {
      this.held[DriverKeys[code]] = down;
    } else if (code === 'KeyF') {
      if (down && !event.repeat) this.enterOrLeave = true;
    } else {
      return;  // the browser's
    }
    event.preventDefault();
  }

  // Focus gone: no key stays down that the page would never see come up.
  releaseAll() {
    for (const code of this.down) this.edges.push([PluginKeys[code], false]);
    this.down.clear();
    for (const name of Object.keys(this.held)) this.held[name] = false;
    this.dragging = false;
  }

  // Hands what was gathered to the module for the next frame start, and starts gathering anew.
  take(vantor) {
    for (const [virtualKey, down] of this.edges) vantor.driveKey(virtualKey, down);
    const { forward, backward, left, right } = this.held;
    const motion = { throttle: forward ? 1 : 0, brake: backward ? 1 : 0, steer: (right ? 1 : 0) - (left ? 1 : 0) };
    vantor.driveControls(this.mouseX, this.mouseY, motion, this.enterOrLeave);
    this.edges = [];
    this.mouseX = this.mouseY = 0;
    this.enterOrLeave = false;
  }
}

// The live drive on the canvas, paced to real time by the module's own rule: every frame due
// is played, only the last one drawn.
class Drive {
  constructor(vantor, settings) {
    this.vantor = vantor;
    this.settings = settings;
    this.canvas = $('view');
    this.context = this.canvas.getContext('2d');
    this.input = new DriveInput(this.canvas);
    this.status = $('status');
    this.paused = false;
    this.restartPacer = true;
    this.drawnAt = [];  // when the pictures of the last second were drawn
    $('apply').addEventListener('click', () => this.apply());
    $('save-drive').addEventListener('click', () => this.saveDrive());
    document.addEventListener('visibilitychange', () => { this.restartPacer = true; });
    requestAnimationFrame((now) => this.animate(now));
  }

  apply() {
    this.settings.store();
    this.start();
    this.settings.say('Applied: the plugin restarted with this Vantor.ini and the drive is back at the start, ' +
                      'as a restart of the game would be.', 'news');
    this.canvas.focus();
  }

  start() {
    this.restartPacer = true;
    const failure = this.vantor.driveStart(this.settings.bytes);
    this.status.textContent = failure ? `The drive could not start: ${failure}`
                                      : 'Click the view to drive: the keys are below.';
  }

  // Ends the drive: the plugin unloaded, as when the game closes; Apply starts it again.
  stop() {
    this.vantor.stop();
    this.status.textContent = 'The drive has ended: Apply starts it again.';
  }

  saveDrive() {
    const { toml, settings, settingsName } = this.vantor.recording();
    downloadBytes(toml, 'vantor-drive.toml');
    if (!settings) {
      this.settings.say('Saved the drive since the last Apply as vantor-drive.toml: ' +
                        'vantor-sim vantor-drive.toml plays it again.', 'news');
      return;
    }
    downloadBytes(settings, settingsName);
    this.settings.say(`The starting Vantor.ini is not UTF-8, so the drive cannot be one file: ${settingsName} ` +
                      'holds its bytes; keep it beside vantor-drive.toml.', 'warn');
  }

  animate(now) {
    requestAnimationFrame((next) => this.animate(next));
    const workStart = performance.now();
    this.step(now);
    // For the benchmark: when each animation frame began and how long the page worked in it.
    if (this.timings) this.timings.push([now, performance.now() - workStart]);
  }

  step(now) {
    if (this.paused || this.vantor.state() !== PageState.Running) return;
    const due = this.vantor.framesDue(now, this.restartPacer);
    this.restartPacer = false;
    if (due <= 0) return;
    while (this.drawnAt.length > 0 && this.drawnAt[0] <= now - 1000) this.drawnAt.shift();
    this.drawnAt.push(now);
    const { width, height } = this.canvas;
    this.input.take(this.vantor);
    this.vantor.driveStep(due, width, height, this.drawnAt.length, !this.input.mouseCaptured());
    paintOnCanvas(this.context, this.vantor.paintList(), width, height);
    this.canvas.setAttribute('aria-label', this.vantor.driveStatus());
    const saved = this.vantor.savedSettings();
    if (saved) {
      this.settings.show(saved.bytes);
      this.settings.store();
      let text = `The menu saved Vantor.ini (frame ${this.vantor.frame()}): the box shows the saved file. ` +
                 'Download it for the game folder.';
      if (saved.heightsFlattened)
        text += ' Note: every Height_ line in it is the same, while the file you applied had heights per vehicle ' +
                "class: the menu's Height row sets all 22 classes at once. Keep per-class heights in the box " +
                'and leave that row alone.';
      this.settings.say(text, saved.heightsFlattened ? 'warn' : 'news');
    }
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
vantorPage.ready.catch((error) => {
  $('status').textContent = `This browser cannot run the page (WebAssembly and a current canvas are needed): ${error}`;
});
