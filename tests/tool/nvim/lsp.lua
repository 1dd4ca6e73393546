-- Neovim's own LSP client drives `kvnode lsp` on a node definition, as an
-- author's editor does: diagnostics, completion, definition, references,
-- rename and a code action, each answer checked. Run headless (ctest does):
--   KVNODE=kvnode DOC=tests/data/tool/lsp/session.xml nvim --headless -u NONE -i NONE -n -c 'luafile lsp.lua'
-- DOC is copied first, so that nothing is written beside it. Exits 0 when
-- every check holds, 1 with what failed on standard error.
local failures = {}
local function check(ok, what)
  if not ok then
    table.insert(failures, what)
  end
end
local function finish()
  for _, f in ipairs(failures) do
    io.stderr:write('FAIL: ' .. f .. '\n')
  end
  io.stderr:write(#failures == 0 and 'all checks passed\n' or '')
  vim.cmd(#failures == 0 and 'qall!' or 'cquit 1')
end

local ok, err = pcall(function()
  local doc = vim.fn.tempname() .. '.xml'
  vim.fn.writefile(vim.fn.readfile(os.getenv('DOC'), 'b'), doc, 'b')
  vim.cmd('edit ' .. vim.fn.fnameescape(doc))
  local buf = vim.api.nvim_get_current_buf()
  local client = vim.lsp.start_client({
    cmd = { os.getenv('KVNODE'), 'lsp' },
    root_dir = vim.fn.fnamemodify(doc, ':h'),
    flags = { debounce_text_changes = 0 },
  })
  assert(client, 'the server did not start')
  vim.lsp.buf_attach_client(buf, client)
  local uri = vim.uri_from_bufnr(buf)
  local function request(method, params)
    params.textDocument = { uri = uri }
    local answers = vim.lsp.buf_request_sync(buf, method, params, 10000)
    local answer = answers and answers[client]
    check(answer ~= nil and answer.err == nil, method .. ' answered: ' .. vim.inspect(answer))
    return answer and answer.result
  end
  local function line(n) -- from 0
    return vim.api.nvim_buf_get_lines(buf, n, n + 1, false)[1]
  end

  -- the findings of check, placed by the client from UTF-16 units to bytes
  -- (the plate's line holds a Chinese show name before them)
  check(vim.wait(10000, function() return #vim.diagnostic.get(buf) >= 3 end), 'three diagnostics arrive')
  local codes = {}
  for _, d in ipairs(vim.diagnostic.get(buf)) do
    local code = d.code or (d.user_data and d.user_data.lsp and d.user_data.lsp.code)
    codes[code] = d
  end
  check(codes['misspelt-attribute'] and codes['misspelt-attribute'].severity == vim.diagnostic.severity.ERROR,
    'misspelt-attribute is an error')
  check(codes['empty-size'] and codes['empty-size'].severity == vim.diagnostic.severity.WARN, 'empty-size is a warning')
  local planes = codes['plate-planes']
  check(planes and planes.lnum == 10 and planes.col == line(10):find('Face,Top', 1, true) - 1
    and planes.end_col == line(10):find('" varitem', 1, true) - 1,
    'plate-planes stands at the value, in bytes: ' .. vim.inspect(planes))

  -- hover: a table's value and its meaning
  local hover = request('textDocument/hover', { position = { line = 10, character = 64 } })
  check(hover and hover.contents.value:find('Q345', 1, true), 'hover on material tells Q345: ' .. vim.inspect(hover))

  -- definition of a name in a comma-separated list
  local def = request('textDocument/definition', { position = { line = 10, character = 143 } })
  def = def and (def[1] or def)
  check(def and def.range and def.range.start.line == 5 and def.range.start.character == 38,
    'Top is defined on line 6: ' .. vim.inspect(def))

  -- references of a plane, its declaration included
  local refs = request('textDocument/references',
    { position = { line = 4, character = 40 }, context = { includeDeclaration = true } })
  check(refs and #refs == 4, 'Face is named four times: ' .. vim.inspect(refs))

  -- completion in a list, after a comma typed in the buffer
  vim.api.nvim_buf_set_text(buf, 10, 145 + 2, 10, 145 + 2, { ',' })
  local items = request('textDocument/completion', { position = { line = 10, character = 146 } })
  items = items and (items.items or items) or {}
  local labels = {}
  for _, item in ipairs(items) do
    labels[item.label] = true
  end
  check(labels.Face and labels.Top and labels.Side and not labels.Column,
    'the planes are offered, not the member: ' .. vim.inspect(vim.tbl_keys(labels)))
  vim.api.nvim_buf_set_text(buf, 10, 147, 10, 148, { '' })

  -- rename a variable item: its name, "varitem" and the @Item_ of expressions
  local edit = request('textDocument/rename', { position = { line = 7, character = 41 }, newName = 'Board' })
  check(edit and edit.changes and #edit.changes[uri] == 4, 'rename makes four edits: ' .. vim.inspect(edit))
  if edit then
    vim.lsp.util.apply_workspace_edit(edit, 'utf-16')
  end
  check(line(10):find('lenexpr="@Board_Thick"', 1, true) and line(10):find('varitem="Board"', 1, true)
    and line(7):find('name="Board"', 1, true), 'the buffer is renamed: ' .. line(10))

  -- the code action that mends the misspelt attribute
  local actions = request('textDocument/codeAction', {
    range = { start = { line = 10, character = 80 }, ['end'] = { line = 10, character = 80 } },
    context = { diagnostics = {} },
  }) or {}
  local fix
  for _, a in ipairs(actions) do
    if a.kind == 'quickfix' and a.title:find('lenexp', 1, true) then
      fix = a
    end
  end
  check(fix and fix.isPreferred, 'a safe fix is offered: ' .. vim.inspect(actions))
  if fix then
    vim.lsp.util.apply_workspace_edit(fix.edit, 'utf-16')
  end
  check(line(10):find(' lenexp="@Board_Thick"', 1, true), 'the fix is applied: ' .. line(10))
  check(vim.wait(10000, function() return codes['misspelt-attribute'] and not vim.tbl_filter(function(d)
    return (d.code or (d.user_data and d.user_data.lsp.code)) == 'misspelt-attribute'
  end, vim.diagnostic.get(buf))[1] end), 'the finding goes once the fix is typed')

  vim.lsp.stop_client(client)
end)
check(ok, tostring(err))
finish()
