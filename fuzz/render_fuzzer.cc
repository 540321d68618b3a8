// Fuzzes the drawing of a compiled scenario. The input is the three files
// of one scenario: a 4-byte little-endian size of the parameter file, a
// 4-byte size of the cell file, the two files, and then the line file (none
// when nothing is left). They are put in a file system held in memory and
// drawn by `render` as the tool runs it, which refuses what the compiler
// cannot write; whatever of them decodes is also drawn directly, without
// those checks. A drawing must be a whole SVG page and stay in proportion
// to the route, however long the texts of the parameter file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "base/memory_file_system.h"
#include "tools/command_line.h"
#include "tools/render.h"
#include "tools/render_command.h"

namespace {

using namespace scenario;

/// The most bytes a page may take: a route's marks and lines, not its texts.
constexpr std::size_t kPaginaMassima = 4 << 20;

[[noreturn]] void difetto(const std::string& cosa) {
  std::fprintf(stderr, "render_fuzzer: %s\n", cosa.c_str());
  std::abort();
}

/// Takes a 4-byte little-endian size from the front of `*resto`; 0 when
/// fewer bytes are left.
std::size_t dimensione(std::string_view* resto) {
  if (resto->size() < 4) {
    *resto = {};
    return 0;
  }
  std::uint32_t n = 0;
  for (int b = 3; b >= 0; --b) n = n << 8 | static_cast<std::uint8_t>((*resto)[b]);
  resto->remove_prefix(4);
  return n;
}

/// Takes up to `n` bytes from the front of `*resto`.
std::string_view prendi(std::string_view* resto, std::size_t n) {
  const std::string_view parte = resto->substr(0, n);
  resto->remove_prefix(parte.size());
  return parte;
}

void verifica_pagina(const std::string& svg, const char* come) {
  if (svg.rfind("<?xml ", 0) != 0 || svg.find("</svg>") == std::string::npos) {
    difetto(std::string("the page drawn ") + come + " is not a whole SVG document");
  }
  if (svg.size() > kPaginaMassima) {
    difetto(std::string("the page drawn ") + come + " takes " + std::to_string(svg.size()) +
            " bytes");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view resto(reinterpret_cast<const char*>(data), size);
  const std::size_t n_sim = dimensione(&resto);
  const std::size_t n_dat = dimensione(&resto);
  const std::string_view sim = prendi(&resto, n_sim);
  const std::string_view dat = prendi(&resto, n_dat);
  const std::string_view linea = resto;

  // As the tool runs it.
  MemoryFileSystem fs;
  fs.files()["s/R_1.sim"] = std::string(sim);
  fs.files()["s/R_1.dat"] = std::string(dat);
  if (!linea.empty()) fs.files()["s/R_linea.dat"] = std::string(linea);
  RigaComando riga;
  riga.comando = "render";
  riga.operandi = {"s", "R", "1"};
  std::ostringstream out, err;
  const int stato = comando_render(riga, fs, out, err);
  if (stato == 0) {
    verifica_pagina(fs.files()["s/R_1.svg"], "by render");
  } else if (stato != 2 || err.str().empty()) {
    difetto("render failed with status " + std::to_string(stato) + " and no message");
  }

  // Directly, whatever decodes.
  ScenarioDecodificato s;
  s.nome_percorso = "R";
  s.numero_treno = "1";
  s.con_linea = !linea.empty();
  ErroreDecodifica e;
  if (!decodifica_parametri(sim, &s.parametri, &e) || !decodifica_celle(dat, &s.celle, &e) ||
      (s.con_linea && !decodifica_linea(linea, &s.linea, &e))) {
    return 0;
  }
  verifica_pagina(disegna_scenario(s), "directly");
  return 0;
}
