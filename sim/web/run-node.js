// Runs the web module's scenario player in node, as vantor-host.exe runs under Wine:
//   node run-node.js --scenario FILE.toml --trace FILE
// The machine's file system is mounted in the module and the player starts in the working
// folder, so the plugin reads and saves Vantor.ini there. The exit status is the player's.
'use strict';
const fs = require('fs');
const path = require('path');
const VantorModule = require('./vantor-web.js');

const HostRoot = '/host';

// node's fetch cannot read a file path: the module is handed its binary.
VantorModule({ wasmBinary: fs.readFileSync(path.join(__dirname, 'vantor-web.wasm')) }).then((module) => {
  module.FS.mkdir(HostRoot);
  module.FS.mount(module.FS.filesystems.NODEFS, { root: '/' }, HostRoot);
  module.FS.chdir(HostRoot + process.cwd());
  const args = process.argv.slice(2).map((arg) => (path.isAbsolute(arg) ? HostRoot + arg : arg));
  module.callMain(args);
});
