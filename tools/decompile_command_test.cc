#include "tools/decompile_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "base/memory_file_system.h"
#include "base/testing/text_lines.h"
#include "scripts/builtin_scripts.h"
#include "tools/memory_compile.h"

namespace scenario {
namespace {

constexpr const char* kCartella = "/d";

/// The lines of a built-in script as one CR LF text.
template <std::size_t N>
std::string testo(const std::array<std::string_view, N>& righe) {
  std::string t;
  for (std::string_view r : righe) (t += r) += "\r\n";
  return t;
}

/// A folder in memory holding the binary files of a compile.
struct Cartella {
  MemoryFileSystem fs;
  std::string percorso, treno;

  Cartella(const std::string& p, const std::string& t, const BytesScenario& file)
      : percorso(p), treno(t) {
    if (file.con_linea) fs.files()[percorso_in(kCartella, nome_file_linea(p))] = file.linea;
    fs.files()[percorso_in(kCartella, nome_file_parametri(p, t))] = file.parametri;
    fs.files()[percorso_in(kCartella, nome_file_celle(p, t))] = file.celle;
  }
  std::string script_linea() {
    return fs.files()[percorso_in(kCartella, nome_script_linea(percorso))];
  }
  std::string script_treno() {
    return fs.files()[percorso_in(kCartella, nome_script_treno(percorso, treno))];
  }
};

/// What one decompile printed and returned.
struct Esito {
  int stato = -1;
  std::string out, err;
};

Esito decompila(Cartella& c, bool force = false, bool json = false) {
  std::ostringstream out, err;
  Esito e;
  e.stato = decompila_scenario({kCartella, c.percorso, c.treno, "", force, json}, c.fs, out, err);
  e.out = out.str();
  e.err = err.str();
  return e;
}

/// The lines of a script after its header (the comment lines before
/// "[generale]").
std::vector<std::string> corpo(const std::string& script) {
  std::vector<std::string> righe = righe_crlf(script);
  std::size_t i = 0;
  while (i < righe.size() && righe[i] != "[generale]") ++i;
  return std::vector<std::string>(righe.begin() + static_cast<std::ptrdiff_t>(i), righe.end());
}

TEST(DecompileBuiltin, GivesBackTheBuiltInScriptsAndTheSameBytes) {
  const std::string linea = testo(kScriptLinea), treno = testo(kScriptTreno);
  const CompilazioneInMemoria originale =
      compila_in_memoria(kNomePercorso, kNumeroTreno, linea, treno, true);
  ASSERT_TRUE(originale.pulita());
  Cartella c(kNomePercorso, kNumeroTreno, originale.file);

  const Esito e = decompila(c, false, true);
  ASSERT_EQ(e.stato, 0) << e.err;
  const nlohmann::json j = nlohmann::json::parse(e.out);
  EXPECT_TRUE(j["round_trip"]["identical"].get<bool>());
  EXPECT_EQ(j["records"]["curva"], 40);
  EXPECT_EQ(j["records"]["stazione"], 10);
  EXPECT_EQ(j["records"]["abbattimento"], 0);

  // Every record comes back as the built-in script wrote it.
  EXPECT_EQ(corpo(c.script_linea()), righe_crlf(linea));
  EXPECT_EQ(corpo(c.script_treno()), righe_crlf(treno));
  const CompilazioneInMemoria ricompilata =
      compila_in_memoria(kNomePercorso, kNumeroTreno, c.script_linea(), c.script_treno(), true);
  EXPECT_TRUE(ricompilata.pulita());
  EXPECT_TRUE(ricompilata.file.linea == originale.file.linea);
  EXPECT_TRUE(ricompilata.file.parametri == originale.file.parametri);
  EXPECT_TRUE(ricompilata.file.celle == originale.file.celle);
}

}  // namespace
}  // namespace scenario
