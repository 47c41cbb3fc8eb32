// The page's frame time, as figures (no pass or fail): vantor.html opened from the disk in
// headless Chromium without a GPU (--disable-gpu), a 1280x720 window and picture, and a
// scripted 20 s drive through the DevTools protocol: into the car, V round to first person,
// full throttle down the start straight and into its bend, Vantor's menu open for 5 s. Leaving
// out the first 60 frames, prints the 99th percentile of the time between animation frames and
// of the page's work in one (its inputs, the frames due played in the module, the picture
// recorded and replayed on the canvas), with the load average, and the shipped file's size.
//   node page_frame_time.js vantor.html [chromium]
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { Browser, Keys } = require('../tests/web_page/cdp.js');

const WarmUpFrames = 60;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function percentile(values, share) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted.length === 0 ? 0 : sorted[Math.min(sorted.length - 1, Math.floor(share * sorted.length))];
}

async function tap(page, key, heldMs = 80) {
  await page.key('keyDown', key);
  await sleep(heldMs);
  await page.key('keyUp', key);
  await sleep(heldMs);
}

async function main() {
  const [pagePath, chromium] = process.argv.slice(2);
  if (!pagePath) {
    console.error('usage: node page_frame_time.js vantor.html [chromium]');
    process.exit(2);
  }
  const bytes = fs.readFileSync(pagePath);
  console.log(`page: ${bytes.length} bytes, ${zlib.gzipSync(bytes, { level: 9 }).length} gzipped`);
  console.log(`load average before: ${fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ')}`);
  const browser = await Browser.launch({ width: 1280, height: 720, chromium, extraArgs: ['--disable-gpu'] });
  try {
    const page = await browser.newPage(`file://${path.resolve(pagePath)}`);
    await page.evaluate('vantorPage.ready');
    await page.evaluate('(() => { localStorage.clear(); vantorPage.settings.reset(); vantorPage.drive.apply(); })()');
    const size = await page.evaluate('[document.getElementById("view").width, document.getElementById("view").height]');
    await page.evaluate('vantorPage.drive.timings = []');
    const started = Date.now();
    await page.click('#view');
    await tap(page, Keys.F);
    await tap(page, Keys.V);
    await tap(page, Keys.V);  // from the middle view: the far one, then first person
    await page.key('keyDown', Keys.W);
    await sleep(6000);
    await page.key('keyDown', Keys.D);  // into the bend
    await sleep(1500);
    await page.key('keyUp', Keys.D);
    await tap(page, Keys.F6);
    await sleep(5000);
    await tap(page, Keys.F6);
    await sleep(Math.max(0, 20000 - (Date.now() - started)));
    await page.key('keyUp', Keys.W);
    const timings = await page.evaluate('vantorPage.drive.timings');
    const status = await page.evaluate('document.getElementById("view").getAttribute("aria-label")');
    const measured = timings.slice(WarmUpFrames);
    const gaps = measured.slice(1).map(([at], i) => at - measured[i][0]);
    const work = measured.map(([, ms]) => ms);
    console.log(`picture ${size[0]}x${size[1]}; ${timings.length} animation frames in ${((Date.now() - started) / 1000).toFixed(1)} s; ` +
                `at the end: ${status.trim().replace(/\n/g, '; ')}`);
    console.log(`time between animation frames: median ${percentile(gaps, 0.5).toFixed(2)} ms, ` +
                `99th percentile ${percentile(gaps, 0.99).toFixed(2)} ms`);
    console.log(`the page's work in an animation frame: median ${percentile(work, 0.5).toFixed(2)} ms, ` +
                `99th percentile ${percentile(work, 0.99).toFixed(2)} ms`);
    console.log(`load average after: ${fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ')}`);
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(error.stack || error);
  process.exit(1);
});
