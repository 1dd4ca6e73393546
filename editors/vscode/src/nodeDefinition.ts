// Whether an XML text is a node definition: its root element, after the
// declaration, comments, instructions and a document type, is the library's
// root (CNodeAttDef) or a node type standing alone (CNodeTypeDesc).
const kRoots = ['CNodeAttDef', 'CNodeTypeDesc'];

export function isNodeDefinition(text: string): boolean {
  let at = text.charCodeAt(0) === 0xfeff ? 1 : 0;
  for (;;) {
    while (at < text.length && /\s/.test(text[at])) {
      at++;
    }
    if (text.startsWith('<?', at) || text.startsWith('<!--', at) || text.startsWith('<!', at)) {
      const close = text.startsWith('<?', at) ? '?>' : text.startsWith('<!--', at) ? '-->' : '>';
      const end = text.indexOf(close, at);
      if (end < 0) {
        return false;
      }
      at = end + close.length;
      continue;
    }
    if (text[at] !== '<') {
      return false;
    }
    const name = /^<([^\s/>]+)/.exec(text.slice(at, at + 64));
    return name !== null && kRoots.includes(name[1]);
  }
}
