-- Drives the language server from Neovim's own client, as an author would:
-- opens a broken train script, waits for its problems, hovers a field,
-- asks for the keywords at the start of a line and for the outline, fixes
-- the line and waits for the problem to go, then ends the session.
--
-- Run as: nvim --headless -u NONE -i NONE -n -c 'luafile lsp_neovim.lua'
-- with LSP_SERVER (the server's command line, a JSON array), LSP_SCRIPT (the train script),
-- LSP_RIGA and LSP_ROTTO / LSP_GIUSTO (0-based line of the broken field,
-- its broken and its right text), LSP_GIRI (how many times to break and fix
-- the line, for timing) and LSP_RISULTATO (where to write what was seen, one
-- JSON object per line).
local uv = vim.loop

local righe = {}
local function annota(tipo, dati)
  dati.tipo = tipo
  table.insert(righe, vim.fn.json_encode(dati))
end

local function ms(da, a)
  return (a - da) / 1e6
end

local function sessione()
  local riga = tonumber(os.getenv('LSP_RIGA'))
  local rotto, giusto = os.getenv('LSP_ROTTO'), os.getenv('LSP_GIUSTO')
  local giri = tonumber(os.getenv('LSP_GIRI') or '1')

  vim.cmd('edit ' .. vim.fn.fnameescape(os.getenv('LSP_SCRIPT')))
  local buffer = vim.api.nvim_get_current_buf()
  local uri = vim.uri_from_bufnr(buffer)

  -- When each publication for the script arrived.
  local pubblicato = nil
  local stato_uscita = nil
  local id = vim.lsp.start_client({
    name = 'scenario_tool',
    cmd = vim.fn.json_decode(os.getenv('LSP_SERVER')),
    root_dir = vim.fn.fnamemodify(os.getenv('LSP_SCRIPT'), ':h'),
    flags = { debounce_text_changes = 0 },
    handlers = {
      ['textDocument/publishDiagnostics'] = function(err, result, ctx, config)
        if result.uri == uri then
          pubblicato = uv.hrtime()
        end
        return vim.lsp.diagnostic.on_publish_diagnostics(err, result, ctx, config)
      end,
    },
    on_exit = function(codice)
      stato_uscita = codice
    end,
  })
  assert(id, 'the server did not start')
  vim.lsp.buf_attach_client(buffer, id)
  local client = vim.lsp.get_client_by_id(id)
  -- When the client hands each change to the server.
  local inviato = nil
  local notifica = client.notify
  client.notify = function(metodo, parametri)
    if metodo == 'textDocument/didChange' then
      inviato = uv.hrtime()
    end
    return notifica(metodo, parametri)
  end

  assert(vim.wait(10000, function()
    return #vim.diagnostic.get(buffer) > 0
  end, 1), 'no problems published for the broken script')
  for _, d in ipairs(vim.diagnostic.get(buffer)) do
    annota('problema', {
      riga = d.lnum,
      colonna = d.col,
      colonna_fine = d.end_col,
      gravita = d.severity,
      codice = d.code,
      messaggio = d.message,
    })
  end

  local colonna = string.find(vim.api.nvim_buf_get_lines(buffer, riga, riga + 1, true)[1], rotto, 1, true)
  local risposte = vim.lsp.buf_request_sync(buffer, 'textDocument/hover', {
    textDocument = { uri = uri },
    position = { line = riga, character = colonna },
  }, 5000)
  local hover = risposte and risposte[id] and risposte[id].result
  annota('hover', { testo = hover and hover.contents.value or '' })

  risposte = vim.lsp.buf_request_sync(buffer, 'textDocument/completion', {
    textDocument = { uri = uri },
    position = { line = riga, character = 0 },
  }, 5000)
  local completamento = risposte and risposte[id] and risposte[id].result or {}
  for _, voce in ipairs(completamento.items or completamento) do
    if voce.label == 'stazione' then
      annota('parola', { etichetta = voce.label, dettaglio = voce.detail or '' })
    end
  end

  risposte = vim.lsp.buf_request_sync(buffer, 'textDocument/documentSymbol', {
    textDocument = { uri = uri },
  }, 5000)
  local simboli = risposte and risposte[id] and risposte[id].result or {}
  if simboli[1] then
    annota('simbolo', { nome = simboli[1].name, dettaglio = simboli[1].detail or '', riga = simboli[1].range.start.line })
  end

  -- Fix the line (then break and fix it again, for more timings): each
  -- change is timed from the edit, and from the didChange notification to
  -- the publication that answers it.
  -- The errors alone: the script's warning stays through every edit.
  local function errori()
    return #vim.diagnostic.get(buffer, { severity = vim.diagnostic.severity.ERROR })
  end
  local passi = { { rotto, giusto } }
  for _ = 2, giri do
    table.insert(passi, { giusto, rotto })
    table.insert(passi, { rotto, giusto })
  end
  for _, passo in ipairs(passi) do
    local testo = vim.api.nvim_buf_get_lines(buffer, riga, riga + 1, true)[1]
    local nuovo = testo:gsub(vim.pesc(passo[1]), passo[2], 1)
    local attesi = passo[2] == giusto and 0 or 1
    pubblicato, inviato = nil, nil
    local modifica = uv.hrtime()
    vim.api.nvim_buf_set_lines(buffer, riga, riga + 1, true, { nuovo })
    assert(vim.wait(5000, function()
      return pubblicato ~= nil and inviato ~= nil and errori() == attesi
    end, 1), 'the change was not answered')
    annota('modifica', {
      errori = errori(),
      da_modifica_ms = ms(modifica, uv.hrtime()),
      da_invio_ms = ms(inviato, pubblicato),
    })
  end

  vim.lsp.stop_client(id)
  vim.wait(5000, function()
    return stato_uscita ~= nil
  end, 1)
  annota('uscita', { stato = stato_uscita or -1 })
end

local ok, errore = pcall(sessione)
if not ok then
  annota('errore', { messaggio = tostring(errore) })
end
vim.fn.writefile(righe, os.getenv('LSP_RISULTATO'))
vim.cmd('qall!')
