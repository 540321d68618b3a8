#include "tools/memory_compile.h"

#include <gtest/gtest.h>

#include <string>

#include "base/testing/text_lines.h"
#include "scripts/builtin_scripts.h"

namespace scenario {
namespace {

// Comparing while writing must agree with comparing the kept files: any
// byte changed, added or missing, in any of the three files, is told.
TEST(CompilaEConfronta, TellsEveryDifferenceWithoutKeepingTheFiles) {
  const std::string linea = testo_crlf(kScriptLinea), treno = testo_crlf(kScriptTreno);
  const BytesScenario file =
      compila_in_memoria(kNomePercorso, kNumeroTreno, linea, treno, true).file;
  struct Caso {
    const char* nome;
    void (*modifica)(BytesScenario&);
    bool identici;
  };
  const Caso casi[] = {
      {"the same files", [](BytesScenario&) {}, true},
      {"a line file byte changed", [](BytesScenario& f) { f.linea[1000000] ^= 1; }, false},
      {"a longer parameter file", [](BytesScenario& f) { f.parametri += '\0'; }, false},
      {"a shorter cell file", [](BytesScenario& f) { f.celle.pop_back(); }, false},
      {"without a line file, compiled without one", [](BytesScenario& f) { f.con_linea = false; },
       true},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BytesScenario attesi = file;
    caso.modifica(attesi);
    bool identici = !caso.identici;
    const CompilazioneInMemoria c =
        compila_e_confronta(kNomePercorso, kNumeroTreno, linea, treno, attesi, &identici);
    EXPECT_EQ(identici, caso.identici);
    EXPECT_TRUE(c.pulita());
    EXPECT_TRUE(c.file.linea.empty() && c.file.celle.empty());
  }
}

}  // namespace
}  // namespace scenario
