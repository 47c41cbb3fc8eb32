// A small client of Chromium's DevTools protocol over --remote-debugging-pipe, for the page's
// browser test and benchmark: Debian's chromium and node, no npm packages. Messages are JSON,
// each ended by a NUL byte, written to the browser's fd 3 and read from its fd 4.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

class Browser {
  // options: { width, height, extraArgs }
  static async launch(options = {}) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vantor-chromium-'));
    const args = [
      '--headless', '--remote-debugging-pipe', `--user-data-dir=${profile}`, '--no-first-run',
      '--no-default-browser-check', '--disable-extensions', '--disable-background-networking', '--mute-audio',
      `--window-size=${options.width || 1280},${options.height || 720}`, ...(options.extraArgs || []),
    ];
    // As root (a CI machine), Chromium refuses to start with its sandbox.
    if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
    const child = spawn(options.chromium || 'chromium', args, { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const browser = new Browser(child, profile);
    await browser.send('Browser.getVersion');
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.stderr = '';
    this.exited = false;
    let buffered = Buffer.alloc(0);
    child.stdio[4].on('data', (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      for (let end = buffered.indexOf(0); end >= 0; end = buffered.indexOf(0)) {
        const message = JSON.parse(buffered.subarray(0, end).toString('utf8'));
        buffered = buffered.subarray(end + 1);
        this.receive(message);
      }
    });
    child.stderr.on('data', (chunk) => { this.stderr = (this.stderr + chunk).slice(-4000); });
    child.on('exit', () => {
      this.exited = true;
      for (const { reject, method } of this.pending.values()) reject(new Error(`chromium ended during ${method}:\n${this.stderr}`));
      this.pending.clear();
    });
  }

  receive(message) {
    if (message.id !== undefined) {
      const waiting = this.pending.get(message.id);
      if (!waiting) return;
      this.pending.delete(message.id);
      if (message.error) waiting.reject(new Error(`${waiting.method}: ${message.error.message}`));
      else waiting.resolve(message.result);
      return;
    }
    for (const listener of this.listeners.slice()) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    if (this.exited) return Promise.reject(new Error(`chromium has ended:\n${this.stderr}`));
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    this.child.stdio[3].write(JSON.stringify(message) + '\0');
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject, method }));
  }

  // The first event `method` for which `accept(params)` holds, within timeoutMs.
  waitFor(method, accept = () => true, timeoutMs = 30000) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.listeners = this.listeners.filter((l) => l !== listener);
        reject(new Error(`no ${method} within ${timeoutMs} ms`));
      }, timeoutMs);
      const listener = (message) => {
        if (message.method !== method || !accept(message.params)) return;
        clearTimeout(timer);
        this.listeners = this.listeners.filter((l) => l !== listener);
        resolve(message.params);
      };
      this.listeners.push(listener);
    });
  }

  async newPage(url) {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    if (url) await page.navigate(url);
    return page;
  }

  async close() {
    if (!this.exited) {
      const ended = new Promise((resolve) => this.child.once('exit', resolve));
      this.send('Browser.close').catch(() => {});
      await Promise.race([ended, new Promise((resolve) => setTimeout(resolve, 5000))]);
      if (!this.exited) this.child.kill('SIGKILL');
    }
    fs.rmSync(this.profile, { recursive: true, force: true });
  }
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.errors = [];
    browser.listeners.push((message) => {
      if (message.sessionId !== sessionId) return;
      if (message.method === 'Runtime.exceptionThrown')
        this.errors.push(message.params.exceptionDetails.exception?.description || message.params.exceptionDetails.text);
    });
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  async navigate(url) {
    const loaded = this.browser.waitFor('Page.loadEventFired', () => true);
    await this.send('Page.navigate', { url });
    await loaded;
  }

  // The value of a JavaScript expression in the page, promises awaited.
  async evaluate(expression) {
    const { result, exceptionDetails } = await this.send('Runtime.evaluate', {
      expression, awaitPromise: true, returnByValue: true, userGesture: true,
    });
    if (exceptionDetails) throw new Error(`in the page: ${exceptionDetails.exception?.description || exceptionDetails.text}`);
    return result.value;
  }

  // Polls until the expression is truthy.
  async until(expression, timeoutMs = 20000, what = expression) {
    const end = Date.now() + timeoutMs;
    for (;;) {
      const value = await this.evaluate(expression);
      if (value) return value;
      if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }

  async centreOf(selector) {
    const box = await this.evaluate(`(() => { const r = document.querySelector(${JSON.stringify(selector)}).getBoundingClientRect();
      return { x: r.x + r.width / 2, y: r.y + r.height / 2 }; })()`);
    return box;
  }

  // A real click, as a person's mouse makes it.
  async click(selector) {
    const { x, y } = await this.centreOf(selector);
    await this.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y });
    await this.send('Input.dispatchMouseEvent', { type: 'mousePressed', x, y, button: 'left', clickCount: 1 });
    await this.send('Input.dispatchMouseEvent', { type: 'mouseReleased', x, y, button: 'left', clickCount: 1 });
  }

  // A key going down or up, with what a keyboard gives the page for it.
  key(type, key) {
    return this.send('Input.dispatchKeyEvent', {
      type, key: key.key, code: key.code, windowsVirtualKeyCode: key.keyCode, nativeVirtualKeyCode: key.keyCode,
    });
  }

  async screenshot(file, clip = undefined) {
    const params = { format: 'png' };
    if (clip) params.clip = { ...clip, scale: 1 };
    const { data } = await this.send('Page.captureScreenshot', params);
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
  }
}

// Keys as a keyboard gives them to a page, for Page.key.
const Keys = Object.freeze({
  A: { key: 'a', code: 'KeyA', keyCode: 0x41 },
  D: { key: 'd', code: 'KeyD', keyCode: 0x44 },
  F: { key: 'f', code: 'KeyF', keyCode: 0x46 },
  S: { key: 's', code: 'KeyS', keyCode: 0x53 },
  V: { key: 'v', code: 'KeyV', keyCode: 0x56 },
  W: { key: 'w', code: 'KeyW', keyCode: 0x57 },
  F6: { key: 'F6', code: 'F6', keyCode: 0x75 },
  Down: { key: 'ArrowDown', code: 'ArrowDown', keyCode: 0x28 },
  Left: { key: 'ArrowLeft', code: 'ArrowLeft', keyCode: 0x25 },
  Enter: { key: 'Enter', code: 'Enter', keyCode: 0x0D },
  Escape: { key: 'Escape', code: 'Escape', keyCode: 0x1B },
});

module.exports = { Browser, Page, Keys };
