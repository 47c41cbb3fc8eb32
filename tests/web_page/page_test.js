// The page in a real browser, as a player uses it: Debian's headless Chromium opens vantor.html
// from the disk and this script works it through the DevTools protocol with real clicks, keys
// and a file chosen in the file picker; what the page says is checked against vantor-sim.
//
//   node page_test.js --page vantor.html --sim vantor-sim --source DIR --out DIR [--chromium PATH]
//
// Ends with "N passed, N failed"; exits 1 when a check failed.
'use strict';
const assert = require('assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { Browser, Keys } = require('./cdp.js');

function options() {
  const named = {};
  const argv = process.argv.slice(2);
  for (let i = 0; i + 1 < argv.length; i += 2) named[argv[i].replace(/^--/, '')] = argv[i + 1];
  for (const required of ['page', 'sim', 'source', 'out'])
    if (!named[required]) {
      console.error('usage: node page_test.js --page vantor.html --sim vantor-sim --source DIR --out DIR');
      process.exit(2);
    }
  return named;
}

const args = options();
const out = path.resolve(args.out);
const downloads = path.join(out, 'downloads');
fs.rmSync(out, { recursive: true, force: true });
fs.mkdirSync(downloads, { recursive: true });
const pageUrl = `file://${path.resolve(args.page)}`;

// The settings page's hand-written example, saved as its text says: a byte-order mark and CR LF.
function workedExample() {
  const settingsPage = fs.readFileSync(path.join(args.source, 'docs', 'settings.md'), 'utf8');
  const marker = settingsPage.indexOf('<!-- example: hand-written Vantor.ini -->');
  const block = settingsPage.slice(marker).match(/```ini\n([\s\S]*?)```/);
  assert(marker >= 0 && block, 'the settings page has its worked example');
  return Buffer.concat([Buffer.from([0xEF, 0xBB, 0xBF]), Buffer.from(block[1].replace(/\n/g, '\r\n'))]);
}

// vantor-sim's run of a scenario in its own folder; returns the folder.
function simulate(name, scenario, extra = []) {
  const folder = path.join(out, name);
  execFileSync(args.sim, [scenario, '--no-plot', '-o', folder, ...extra], { stdio: ['ignore', 'ignore', 'inherit'] });
  return folder;
}

const bytesOf = (expression) => `Array.from(${expression})`;
const results = [];

async function check(name, body) {
  try {
    await body();
    results.push(true);
    console.log(`ok    ${name}`);
  } catch (error) {
    results.push(false);
    console.log(`FAIL  ${name}\n      ${String(error.stack || error).replace(/\n/g, '\n      ')}`);
  }
}

async function openPage(browser) {
  const page = await browser.newPage(pageUrl);
  await page.evaluate('vantorPage.ready');
  return page;
}

async function waitForDownload(browser, name, start) {
  const done = await browser.waitFor('Browser.downloadProgress',
    (p) => p.guid === start.guid && (p.state === 'completed' || p.state === 'canceled'));
  assert.strictEqual(done.state, 'completed', `the download of ${name}`);
  const file = path.join(downloads, start.guid);
  return fs.readFileSync(fs.existsSync(file) ? file : path.join(downloads, start.suggestedFilename));
}

// The files a click downloads, in the order they began: [{ start, bytes }].
async function downloadFiles(browser, page, selector, count) {
  const files = [];
  const all = new Promise((resolve, reject) => {
    const listener = (message) => {
      if (message.method !== 'Browser.downloadWillBegin') return;
      const start = message.params;
      const index = files.length;
      files.push(null);
      waitForDownload(browser, start.suggestedFilename, start).then((bytes) => {
        files[index] = { start, bytes };
        if (files.length === count && files.every(Boolean)) resolve(files);
      }, reject);
      if (files.length === count) browser.listeners = browser.listeners.filter((l) => l !== listener);
    };
    browser.listeners.push(listener);
    setTimeout(() => reject(new Error(`${files.length} of ${count} downloads from ${selector}`)), 30000);
  });
  await page.click(selector);
  return all;
}

async function download(browser, page, selector) {
  return (await downloadFiles(browser, page, selector, 1))[0];
}

// Mean difference per channel (0..255) between the canvas replay of a scenario's frame and
// cairo's picture of it, and the share of pixels that differ by more than a quarter.
const CompareInPage = `async (toml, frame, width, height, pngBase64) => {
  const { vantor } = vantorPage;
  vantorPage.drive.paused = true;
  const failure = vantor.startScenario(toml, null);
  if (failure) throw new Error(failure);
  vantor.play(frame + 1, width, height);
  const replay = document.createElement('canvas');
  replay.width = width; replay.height = height;
  paintOnCanvas(replay.getContext('2d'), vantor.paintList(), width, height);
  const image = new Image();
  image.src = 'data:image/png;base64,' + pngBase64;
  await image.decode();
  const cairo = document.createElement('canvas');
  cairo.width = width; cairo.height = height;
  cairo.getContext('2d').drawImage(image, 0, 0);
  const a = replay.getContext('2d').getImageData(0, 0, width, height).data;
  const b = cairo.getContext('2d').getImageData(0, 0, width, height).data;
  let sum = 0, far = 0;
  for (let i = 0; i < a.length; i += 4) {
    let worst = 0;
    for (let c = 0; c < 3; ++c) { const d = Math.abs(a[i + c] - b[i + c]); sum += d; worst = Math.max(worst, d); }
    if (worst > 64) ++far;
  }
  vantorPage.drive.paused = false;
  vantorPage.drive.start();
  return { mean: sum / (width * height * 3), farShare: far / (width * height) };
}`;

// A press as the drive's window test makes it: down and up some frames apart.
const FramesHeld = 3;
// The game's vehicle views in the order V steps them.
const ViewCycle = [0, 1, 2, 4];

async function framesPass(page, count) {
  const target = (await page.evaluate('vantorPage.vantor.frame()')) + count;
  await page.until(`vantorPage.vantor.frame() >= ${target}`, 20000, `frame ${target}`);
}

async function press(page, key, held = FramesHeld) {
  await page.key('keyDown', key);
  await framesPass(page, held);
  await page.key('keyUp', key);
  await framesPass(page, held);
}

const status = (page) => page.evaluate('document.getElementById("view").getAttribute("aria-label") || ""');

// Antialiasing and glyph rasterising differ between cairo and the canvas; a wrong colour,
// gradient, path or text place differs far more.
const MeanDifferenceLimit = 3.0;
const FarPixelShareLimit = 0.01;

async function main() {
  const browser = await Browser.launch({ width: 1600, height: 1000, chromium: args.chromium });
  try {
    await browser.send('Browser.setDownloadBehavior', { behavior: 'allowAndName', downloadPath: downloads, eventsEnabled: true });
    let page = await openPage(browser);

    await check('a first visit shows the file a save of the defaults writes, every line applied', async () => {
      const bytes = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      assert.match(bytes.toString(), /^ModEnabled=1\r\nFOV=80\r\nHeight_0=0.7\r\n/);
      const marked = await page.evaluate('document.querySelectorAll("#verdicts div.marked").length');
      assert.strictEqual(marked, 0);
    });

    const example = workedExample();
    const examplePath = path.join(out, 'worked-example.ini');
    fs.writeFileSync(examplePath, example);
    await check("the settings page's worked example, opened, gets settings-read.txt's verdicts beside its lines", async () => {
      const { root } = await page.send('DOM.getDocument');
      const { nodeId } = await page.send('DOM.querySelector', { nodeId: root.nodeId, selector: '#open' });
      await page.send('DOM.setFileInputFiles', { nodeId, files: [examplePath] });
      await page.until('document.getElementById("message").textContent.startsWith("Opened")');
      const kept = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      assert(kept.equals(example), 'the page keeps the file byte for byte');

      const sim = simulate('worked-example-sim', path.join(args.source, 'scenarios/compare/start_plain.toml'),
                           ['--settings', examplePath]);
      const expected = fs.readFileSync(path.join(sim, 'settings-read.txt'), 'utf8').split('\n');
      const report = (await page.evaluate('vantorPage.settings.report.text')).split('\n');
      assert.deepStrictEqual(report.slice(1), expected.slice(1), 'the whole report past its first line');
      const rows = await page.evaluate(`Array.from(document.querySelectorAll('#verdicts div'), (row) =>
        ({ text: row.textContent, marked: row.classList.contains('marked') }))`);
      const lines = expected.filter((line) => /^[! ] line +\d+ /.test(line));
      assert.strictEqual(lines.length, 10);
      lines.forEach((line, i) => {
        const verdict = line.slice(line.lastIndexOf('"  ') + 3).trimStart();
        assert(rows[i].text.startsWith('CR LF'), `row ${i + 1} shows its CR LF: ${rows[i].text}`);
        assert(rows[i].text.endsWith(verdict), `row ${i + 1}: ${rows[i].text}\n  expected: ${verdict}`);
        assert.strictEqual(rows[i].marked, line[0] === '!', `row ${i + 1}'s mark`);
      });
      const firstRow = await page.evaluate('document.getElementById("box").value.split("\\n")[0]');
      assert.strictEqual(firstRow, '\uFEFF[Settings]', 'the byte-order mark stays in the box');
    });

    await check('typing in the box adds a line with its verdict, in the line ends chosen', async () => {
      await page.click('#box');
      await page.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', key: 'End', code: 'End', windowsVirtualKeyCode: 35, modifiers: 2 });
      await page.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'End', code: 'End', windowsVirtualKeyCode: 35, modifiers: 2 });
      await page.send('Input.insertText', { text: 'FOV=90' });
      await page.until('document.querySelectorAll("#verdicts div").length >= 11');
      const row = await page.evaluate('document.querySelectorAll("#verdicts div")[10].textContent');
      assert(row.endsWith('applied: FOV = 90'), row);
      assert.strictEqual(await page.evaluate('document.getElementById("line-verdict").textContent'),
                         'Line 11: applied: FOV = 90', 'the caret\'s line told whole');
      let bytes = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      assert(bytes.toString('latin1').endsWith('Height_22=0.5\r\nFOV=90'), 'CR LF as the file had');
      await page.evaluate(`(() => { const select = document.getElementById('line-ends');
        select.value = 'lf'; select.dispatchEvent(new Event('change')); })()`);
      bytes = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      assert(!bytes.includes(0x0D) && bytes.toString().endsWith('Height_22=0.5\nFOV=90'), 'LF chosen');
      assert((await page.evaluate('document.querySelector("#verdicts div").textContent')).startsWith('LF'));
    });

    await check('Apply restarts the drive and the browser keeps the file for the next visit', async () => {
      const applied = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      await page.click('#apply');
      await page.until('document.getElementById("message").textContent.startsWith("Applied")');
      await page.navigate(pageUrl);
      await page.evaluate('vantorPage.ready');
      const kept = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      assert(kept.equals(applied), 'the same bytes after a reload');
      assert.match(await page.evaluate('document.getElementById("message").textContent'), /kept from your last visit/);
    });

    await check('Download gives the bytes the box shows', async () => {
      const expected = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      const { start, bytes } = await download(browser, page, '#download');
      assert.strictEqual(start.suggestedFilename, 'Vantor.ini');
      assert(bytes.equals(expected));
    });

    await check('Reset forgets the kept file: the next visit starts from the defaults', async () => {
      await page.click('#reset');
      await page.until('document.getElementById("message").textContent.startsWith("Forgotten")');
      await page.navigate(pageUrl);
      await page.evaluate('vantorPage.ready');
      const bytes = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      assert.match(bytes.toString(), /^ModEnabled=1\r\nFOV=80\r\n/);
    });

    await check("the canvas replay of a frame's command list looks as cairo's picture of it", async () => {
      const scenario = path.join(args.source, 'scenarios/menu_tour.toml');
      const width = 640, height = 360;
      const sim = simulate('menu-tour-sim', scenario, ['--width', String(width), '--height', String(height)]);
      const toml = fs.readFileSync(scenario, 'utf8');
      for (const frame of [100, 131]) {  // the menu open; the feed's notice after Reset to Defaults
        const png = fs.readFileSync(path.join(sim, 'pictures', `frame-${String(frame).padStart(6, '0')}.png`));
        const difference = await page.evaluate(`(${CompareInPage})(${JSON.stringify(toml)}, ${frame}, ${width}, ${height},
          ${JSON.stringify(png.toString('base64'))})`);
        console.log(`      frame ${frame}: mean difference ${difference.mean.toFixed(2)} of 255, ` +
                    `${(difference.farShare * 100).toFixed(2)}% of pixels far apart`);
        assert(difference.mean < MeanDifferenceLimit && difference.farShare < FarPixelShareLimit, JSON.stringify(difference));
      }
    });

    const perClass = 'FOV=85\r\nHeight_1=0.55\r\nHeight_8=0.95\r\n';
    await check('a typed file with heights per class, applied, restarts the drive on foot at the circuit', async () => {
      await page.click('#box');
      await page.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', key: 'a', code: 'KeyA', windowsVirtualKeyCode: 65, modifiers: 2 });
      await page.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'a', code: 'KeyA', windowsVirtualKeyCode: 65, modifiers: 2 });
      await page.evaluate(`(() => { const select = document.getElementById('line-ends');
        select.value = 'crlf'; select.dispatchEvent(new Event('change')); })()`);
      await page.send('Input.insertText', { text: perClass.replace(/\r/g, '') });
      const bytes = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes')));
      assert.strictEqual(bytes.toString(), perClass);
      await page.click('#apply');
      await page.until('document.getElementById("message").textContent.startsWith("Applied")');
      await framesPass(page, 2);
      assert.match(await status(page), /^on foot/);
    });

    let drivePng;
    await check('keys drive: F into the car, V round to first person, where Vantor\'s camera renders; W drives', async () => {
      await page.click('#view');
      await press(page, Keys.F);
      assert.match(await status(page), /km\/h, vehicle class 1\n/);
      for (let i = 0; i < 3; ++i) await press(page, Keys.V);
      assert.match(await status(page), /camera: vantor/);
      await page.key('keyDown', Keys.W);
      await framesPass(page, 90);
      await page.key('keyUp', Keys.W);
      // Looking around: the mouse dragged across the view.
      const { x, y } = await page.centreOf('#view');
      await page.send('Input.dispatchMouseEvent', { type: 'mousePressed', x, y, button: 'left', clickCount: 1 });
      for (let step = 1; step <= 10; ++step) {
        await page.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x: x + 12 * step, y, button: 'left', buttons: 1 });
        await framesPass(page, 1);
      }
      await page.send('Input.dispatchMouseEvent', { type: 'mouseReleased', x: x + 120, y, button: 'left', clickCount: 1 });
      const speed = Number((await status(page)).match(/^(\d+) km\/h/)[1]);
      assert(speed > 20, `${speed} km/h after 1.5 s of throttle`);
      const box = await page.evaluate(`(() => { const r = document.getElementById('view').getBoundingClientRect();
        return { x: r.x, y: r.y, width: r.width, height: r.height }; })()`);
      drivePng = path.join(out, 'first-person.png');
      await page.screenshot(drivePng, box);
    });

    await check('a tap of V shorter than a frame steps the view once and Vantor stays', async () => {
      const before = Number((await status(page)).match(/view mode (\d+)/)[1]);
      // Both edges sent at once: they reach the page between two frame starts.
      await Promise.all([page.key('keyDown', Keys.V), page.key('keyUp', Keys.V)]);
      await framesPass(page, FramesHeld);
      const after = await status(page);
      assert.strictEqual(Number(after.match(/view mode (\d+)/)[1]), ViewCycle[(ViewCycle.indexOf(before) + 1) % ViewCycle.length]);
      assert.match(after, /camera: vantor/);
    });

    await check("F6 opens the menu; its Height row and Save Settings save Vantor.ini, shown in the box", async () => {
      await press(page, Keys.F6);
      for (let i = 0; i < 2; ++i) await press(page, Keys.Down);  // the Height row
      await press(page, Keys.Left);
      for (let i = 0; i < 3; ++i) await press(page, Keys.Down);  // Save Settings
      await press(page, Keys.Enter);
      await page.until('document.getElementById("message").textContent.startsWith("The menu saved")');
      await press(page, Keys.Escape);  // the mouse freed for the page's buttons
      const saved = Buffer.from(await page.evaluate(bytesOf('vantorPage.settings.bytes'))).toString();
      assert.match(saved, /^ModEnabled=1\r\nFOV=85\r\nHeight_0=0.53\r\n/);
      assert.match(await page.evaluate('document.getElementById("message").textContent'), /every Height_/);
      assert.strictEqual(await page.evaluate('document.getElementById("box").value.split("\\n")[1]'), 'FOV=85');
      const { bytes } = await download(browser, page, '#download');
      assert.strictEqual(bytes.toString(), saved);
    });

    await check('Save drive gives a scenario that vantor-sim plays to the page\'s own trace, byte for byte', async () => {
      await page.evaluate('vantorPage.drive.stop()');
      const { start, bytes } = await download(browser, page, '#save-drive');
      assert.strictEqual(start.suggestedFilename, 'vantor-drive.toml');
      const recording = path.join(out, 'vantor-drive.toml');
      fs.writeFileSync(recording, bytes);
      const toml = bytes.toString();
      const tap = toml.match(/at = (\d+), do = "key_down", key = "V" }[^\n]*\n *\{ at = \1, do = "key_up", key = "V"/);
      assert(tap, 'the tap: both edges at one frame start');
      assert.match(toml, /do = "look"/);
      const pageTrace = Buffer.from(await page.evaluate(bytesOf('vantorPage.vantor.trace()')));
      fs.writeFileSync(path.join(out, 'page-trace.txt'), pageTrace);
      const replay = simulate('drive-replay', recording);
      const simTrace = fs.readFileSync(path.join(replay, 'trace.txt'));
      assert(simTrace.equals(pageTrace), `the traces differ: ${path.join(out, 'page-trace.txt')} and ${path.join(replay, 'trace.txt')}`);
    });

    await check('a starting file that is not UTF-8: the box says so, and Save drive gives the scenario and its bytes beside it', async () => {
      const latin1 = path.join(out, 'latin1.ini');
      fs.writeFileSync(latin1, Buffer.from('FOV=85\xB0\r\nHeight_8=0.95\r\n', 'latin1'));
      const { root } = await page.send('DOM.getDocument');
      const { nodeId } = await page.send('DOM.querySelector', { nodeId: root.nodeId, selector: '#open' });
      await page.send('DOM.setFileInputFiles', { nodeId, files: [latin1] });
      await page.until('document.getElementById("message").textContent.includes("not UTF-8")');
      const first = await page.evaluate('document.querySelector("#verdicts div").textContent');
      assert(first.endsWith('applied: FOV = 85 (the text after the number, "\\xB0", is ignored)'), first);
      await page.click('#apply');
      await page.until('document.getElementById("message").textContent.startsWith("Applied")');
      await page.click('#view');
      await press(page, Keys.F);
      await press(page, Keys.Escape);
      await page.evaluate('vantorPage.drive.stop()');
      const [scenario, beside] = await downloadFiles(browser, page, '#save-drive', 2);
      assert.match(await page.evaluate('document.getElementById("message").textContent'), /cannot be one file/);
      assert(beside.bytes.equals(fs.readFileSync(latin1)), 'the starting bytes beside the scenario');
      const folder = path.join(out, 'latin1-drive');
      fs.mkdirSync(folder);
      fs.writeFileSync(path.join(folder, scenario.start.suggestedFilename), scenario.bytes);
      fs.writeFileSync(path.join(folder, beside.start.suggestedFilename), beside.bytes);
      assert.match(scenario.bytes.toString(), new RegExp(`settings_file_from = "${beside.start.suggestedFilename}"`));
      const pageTrace = Buffer.from(await page.evaluate(bytesOf('vantorPage.vantor.trace()')));
      const replay = simulate('latin1-replay', path.join(folder, scenario.start.suggestedFilename));
      assert(fs.readFileSync(path.join(replay, 'trace.txt')).equals(pageTrace), 'the replay gives the page\'s trace');
    });

    await check('the page ran without a script error', async () => {
      assert.deepStrictEqual(page.errors, []);
    });
    await page.screenshot(path.join(out, 'page.png'));
  } finally {
    await browser.close();
  }
  const failed = results.filter((passed) => !passed).length;
  console.log(`${results.length - failed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error.stack || error);
  process.exit(1);
});
