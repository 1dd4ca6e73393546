// Starts `kvnode lsp` for the XML files whose root is a node definition, and
// keeps it from every other XML file (the XML extension's business).
import * as vscode from 'vscode';
import { LanguageClient, LanguageClientOptions, ServerOptions } from 'vscode-languageclient/node';
import { isNodeDefinition } from './nodeDefinition';

let client: LanguageClient | undefined;

// the first 64 KiB are enough to find the root past a long comment
function isNodeDocument(document: vscode.TextDocument): boolean {
  if (document.languageId !== 'xml') {
    return false;
  }
  const end = document.positionAt(64 * 1024);
  return isNodeDefinition(document.getText(new vscode.Range(new vscode.Position(0, 0), end)));
}

export function serverOptions(settings: vscode.WorkspaceConfiguration): ServerOptions {
  const args = ['lsp'];
  const config = settings.get<string>('config', '');
  if (config) {
    args.push('--config', config);
  }
  return { command: settings.get<string>('path', 'kvnode'), args };
}

function start(document: vscode.TextDocument): void {
  if (client || !isNodeDocument(document)) {
    return;
  }
  const nodeDocuments = (d: vscode.TextDocument) => isNodeDocument(d);
  const clientOptions: LanguageClientOptions = {
    documentSelector: [{ scheme: 'file', language: 'xml' }, { scheme: 'untitled', language: 'xml' }],
    middleware: {
      // the server hears of node definitions only; what it was not told of it answers nothing about
      didOpen: (d, next) => (nodeDocuments(d) ? next(d) : Promise.resolve()),
      provideCompletionItem: (d, p, c, t, next) => (nodeDocuments(d) ? next(d, p, c, t) : undefined),
      provideHover: (d, p, t, next) => (nodeDocuments(d) ? next(d, p, t) : undefined),
      provideDefinition: (d, p, t, next) => (nodeDocuments(d) ? next(d, p, t) : undefined),
      provideReferences: (d, p, o, t, next) => (nodeDocuments(d) ? next(d, p, o, t) : undefined),
      provideRenameEdits: (d, p, n, t, next) => (nodeDocuments(d) ? next(d, p, n, t) : undefined),
      provideDocumentSymbols: (d, t, next) => (nodeDocuments(d) ? next(d, t) : undefined),
      provideDocumentFormattingEdits: (d, o, t, next) => (nodeDocuments(d) ? next(d, o, t) : undefined),
      provideCodeActions: (d, r, c, t, next) => (nodeDocuments(d) ? next(d, r, c, t) : undefined),
    },
  };
  client = new LanguageClient('kvnode', 'kvnode', serverOptions(vscode.workspace.getConfiguration('kvnode')), clientOptions);
  void client.start();
}

export function activate(context: vscode.ExtensionContext): void {
  vscode.workspace.textDocuments.forEach(start);
  context.subscriptions.push(vscode.workspace.onDidOpenTextDocument(start));
}

export function deactivate(): Thenable<void> | undefined {
  const stopping = client?.stop();
  client = undefined;
  return stopping;
}
