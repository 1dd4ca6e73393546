// The extension's activation against a stub of the editor's API: which
// documents start the server, and with what command line. VS Code itself
// does not run here; `vscode` and the language client are stubs that record.
const test = require('node:test');
const assert = require('node:assert');
const Module = require('node:module');
const path = require('node:path');

function load(documents, settings = {}) {
  const started = [];
  const listeners = [];
  const vscode = {
    Position: class { constructor(line, character) { Object.assign(this, { line, character }); } },
    Range: class { constructor(start, end) { Object.assign(this, { start, end }); } },
    workspace: {
      textDocuments: documents,
      onDidOpenTextDocument: (listener) => { listeners.push(listener); return { dispose() {} }; },
      getConfiguration: (section) => {
        assert.strictEqual(section, 'kvnode');
        return { get: (key, fallback) => (key in settings ? settings[key] : fallback) };
      },
    },
  };
  class LanguageClient {
    constructor(id, name, serverOptions, clientOptions) {
      Object.assign(this, { id, serverOptions, clientOptions, running: false });
      started.push(this);
    }
    start() { this.running = true; return Promise.resolve(); }
    stop() { this.running = false; return Promise.resolve(); }
  }
  const realLoad = Module._load;
  Module._load = function (request, ...rest) {
    if (request === 'vscode') return vscode;
    if (request === 'vscode-languageclient/node') return { LanguageClient };
    return realLoad.call(this, request, ...rest);
  };
  const file = path.join(__dirname, '..', 'out', 'extension.js');
  delete require.cache[require.resolve(file)];
  try {
    const extension = require(file);
    extension.activate({ subscriptions: [] });
    return { extension, started, open: (d) => listeners.forEach((l) => l(d)) };
  } finally {
    Module._load = realLoad;
  }
}

function doc(text, languageId = 'xml') {
  return {
    languageId,
    uri: { scheme: 'file' },
    positionAt: (offset) => ({ offset }),
    getText: (range) => (range ? text.slice(0, range.end.offset) : text),
  };
}

const node = doc('<?xml version="1.0" encoding="GBK"?>\n<!-- a <CPlateDesc> in a comment -->\n<CNodeAttDef classtype="8_0" Version="1"/>');
const nodeType = doc('\uFEFF<CNodeTypeDesc classtype="8_6" name="N"/>');
const other = doc('<?xml version="1.0"?>\n<project><!-- <CNodeAttDef> --></project>');

test('a node definition open at activation starts kvnode lsp', () => {
  const { started } = load([other, node]);
  assert.strictEqual(started.length, 1);
  assert.deepStrictEqual(started[0].serverOptions, { command: 'kvnode', args: ['lsp'] });
  assert.ok(started[0].running);
});

test('other XML starts nothing until a node definition opens, and then one server', () => {
  const { started, open } = load([other, doc('<CNodeAttDef/>', 'plaintext')]);
  assert.strictEqual(started.length, 0);
  open(nodeType);
  open(node);
  assert.strictEqual(started.length, 1);
});

test('the settings give the program and the configuration file', () => {
  const { started } = load([node], { path: '/opt/kvnode/bin/kvnode', config: 'ci/kvnode.toml' });
  assert.deepStrictEqual(started[0].serverOptions,
    { command: '/opt/kvnode/bin/kvnode', args: ['lsp', '--config', 'ci/kvnode.toml'] });
});

test('the server hears of node definitions only', async () => {
  const { started } = load([node]);
  const middleware = started[0].clientOptions.middleware;
  const sent = [];
  await middleware.didOpen(other, (d) => { sent.push(d); return Promise.resolve(); });
  await middleware.didOpen(node, (d) => { sent.push(d); return Promise.resolve(); });
  assert.deepStrictEqual(sent, [node]);
  assert.strictEqual(middleware.provideHover(other, {}, {}, () => 'asked'), undefined);
  assert.strictEqual(middleware.provideHover(node, {}, {}, () => 'asked'), 'asked');
});

test('deactivation stops the server', async () => {
  const { extension, started } = load([node]);
  await extension.deactivate();
  assert.ok(!started[0].running);
});
