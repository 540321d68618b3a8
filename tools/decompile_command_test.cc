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

/// The files of the built-in scenario, compiled once.
const BytesScenario& incorporato() {
  static const BytesScenario file =
      compila_in_memoria(kNomePercorso, kNumeroTreno, testo(kScriptLinea), testo(kScriptTreno),
                         true)
          .file;
  return file;
}

/// Byte `offset` of `bytes` as an unsigned value.
unsigned char& byte(std::string& bytes, std::size_t offset) {
  return reinterpret_cast<unsigned char&>(bytes.at(offset));
}

/// Offset of field byte `campo` of cell `c` in a cell file.
std::size_t in_cella(std::size_t c, std::size_t campo) {
  return c * 15 + campo;
}

/// The files a compile of two small scripts writes, codes or not.
BytesScenario compilati(const std::string& linea, const std::string& treno) {
  return compila_in_memoria(kNomePercorso, kNumeroTreno, linea, treno, true).file;
}

const std::string kLineaPiccola =
    "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\ncurvad3, 200, 300\r\n"
    "cartello_indicatore, 500, A\r\n";

// Inputs no clean compile produces: each is reported as not reproducible,
// naming the file and its first differing byte, and nothing is written.
TEST(DecompileNotReproducible, ReportedWithTheFirstDifferenceAndExitOne) {
  struct Caso {
    const char* nome;
    BytesScenario file;
    const char* nel_report;  ///< a piece of what the report must say
  };
  std::vector<Caso> casi;
  auto modificato = [](void (*modifica)(BytesScenario&)) {
    BytesScenario f = incorporato();
    modifica(f);
    return f;
  };
  casi.push_back({"a cell given an element code no record writes",
                  modificato([](BytesScenario& f) { byte(f.celle, in_cella(1349, 0)) = 9; }),
                  "cell 1349 holds element code 9 that no record gives"});
  casi.push_back({"an approach mark edited by hand",
                  modificato([](BytesScenario& f) { byte(f.celle, in_cella(1347, 10)) = 99; }),
                  "_47716.dat: first difference at byte 20215, cell 1347 (67300 m), field "
                  "avvicinamento: 99 in the file, 31 recompiled"});
  casi.push_back({"a gradient in the last cells, which no record writes",
                  modificato([](BytesScenario& f) { byte(f.celle, in_cella(2200, 13)) = 100; }),
                  "cell 2200: no record writes the gradient of the last two cells"});
  casi.push_back({"a station 250 m long", modificato([](BytesScenario& f) {
                    // Entry 1's inizio, after entry 0 (34 bytes) and its tipo.
                    byte(f.parametri, 34 + 1) = static_cast<unsigned char>(66475 & 0xFF);
                  }),
                  "records error 9"});
  casi.push_back({"the parameter file of another route", modificato([](BytesScenario& f) {
                    const std::size_t at = f.parametri.find(kNomePercorso);
                    f.parametri[at] = 'X';
                  }),
                  "entry 85 names the route \"Xembrastina_Dervo\""});
  casi.push_back({"a line coordinate one bit off",
                  modificato([](BytesScenario& f) { byte(f.linea, 8 + (5000 - 2) * 10 + 2) ^= 1; }),
                  "metre 5000 is neither a straight step nor a turn"});
  casi.push_back(
      {"files written after a board on an occupied cell (code 6)",
       compilati(kLineaPiccola + "cartello_indicatore, 510, B\r\n[fine]\r\n", "[generale]\r\n"),
       "does not hold two doubles"});
  casi.push_back({"files written with a chainage off the 50 m grid (code 2)",
                  compilati("[generale]\r\nlunghezza percorso, 3000\r\n"
                            "progressiva chilometrica uno, 25, 100, 0\r\n[curve]\r\n[fine]\r\n",
                            "[generale]\r\n"),
                  "the same bytes, but only with error 2 recorded"});
  for (Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    Cartella c(kNomePercorso, kNumeroTreno, caso.file);
    const Esito e = decompila(c, false, true);
    EXPECT_EQ(e.stato, 1) << e.err;
    EXPECT_NE(e.err.find(caso.nel_report), std::string::npos) << e.err;
    EXPECT_NE(e.err.find("no scripts written"), std::string::npos) << e.err;
    EXPECT_FALSE(nlohmann::json::parse(e.out)["round_trip"]["identical"].get<bool>());
    EXPECT_TRUE(c.script_linea().empty());

    // --force writes them all the same, saying so in their header.
    const Esito forzato = decompila(c, true);
    EXPECT_EQ(forzato.stato, 1) << forzato.err;
    EXPECT_NE(c.script_linea().find("does NOT give the same bytes"), std::string::npos);
  }
}

// Truncated and malformed files are reported as dump reports them: the
// file, the byte offset and what is wrong there.
TEST(DecompileMalformed, NamesTheByteOffsetAndExitsTwo) {
  struct Caso {
    const char* nome;
    void (*modifica)(BytesScenario&);
    const char* nel_report;
  };
  const Caso casi[] = {
      {"parameter file cut short",
       [](BytesScenario& f) { f.parametri.resize(f.parametri.size() - 3); },
       "_47716.sim: byte 4147: truncated entry 86: field orario needs 4 bytes, 1 left"},
      {"cell file with a partial cell", [](BytesScenario& f) { f.celle += "1234567"; },
       "_47716.dat: byte 33015: truncated cell 2201: 7 of its 15 bytes"},
      {"line file with an unknown tag", [](BytesScenario& f) { byte(f.linea, 0) = 7; },
       "_linea.dat: byte 0: "},
      {"no cell file", [](BytesScenario& f) { f.celle.clear(); }, "_47716.dat: byte 0: empty"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BytesScenario f = incorporato();
    caso.modifica(f);
    Cartella c(kNomePercorso, kNumeroTreno, f);
    const Esito e = decompila(c);
    EXPECT_EQ(e.stato, 2);
    EXPECT_NE(e.err.find(caso.nel_report), std::string::npos) << e.err;
  }
  MemoryFileSystem vuota;
  std::ostringstream out, err;
  EXPECT_EQ(decompila_scenario({kCartella, "R", "T", "", false, false}, vuota, out, err), 2);
  EXPECT_NE(err.str().find("cannot read /d/R_T.sim"), std::string::npos) << err.str();
}

TEST(DecompileWrite, ExistingScriptsNeedForce) {
  Cartella c(kNomePercorso, kNumeroTreno, incorporato());
  ASSERT_EQ(decompila(c).stato, 0);
  const std::string primo = c.script_treno();
  c.fs.files()[percorso_in(kCartella, nome_script_treno(kNomePercorso, kNumeroTreno))] = "mine";
  const Esito e = decompila(c);
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.err.find("_47716-.txt exists already (--force replaces it)"), std::string::npos)
      << e.err;
  EXPECT_EQ(c.script_treno(), "mine");
  EXPECT_EQ(decompila(c, true).stato, 0);
  EXPECT_EQ(c.script_treno(), primo);
}

TEST(DecompileWrite, WithoutLineFileTheScriptsCompileWithNoLine) {
  BytesScenario f = compila_in_memoria(kNomePercorso, kNumeroTreno, testo(kScriptLinea),
                                       testo(kScriptTreno), false)
                        .file;
  ASSERT_FALSE(f.con_linea);
  Cartella c(kNomePercorso, kNumeroTreno, f);
  const Esito e = decompila(c);
  ASSERT_EQ(e.stato, 0) << e.err;
  EXPECT_NE(e.err.find("(compile them with --no-line)"), std::string::npos) << e.err;
  EXPECT_NE(c.script_linea().find("compile them with --no-line"), std::string::npos);
  EXPECT_EQ(c.script_linea().find("curva"), std::string::npos);
  const CompilazioneInMemoria r =
      compila_in_memoria(kNomePercorso, kNumeroTreno, c.script_linea(), c.script_treno(), false);
  EXPECT_TRUE(r.pulita());
  EXPECT_TRUE(r.file.parametri == f.parametri && r.file.celle == f.celle);
}

}  // namespace
}  // namespace scenario
