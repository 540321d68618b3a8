#include "tools/compile_command.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "base/folder_lock.h"
#include "base/program_guard.h"
#include "base/testing/faulty_file_system.h"
#include "compiler/compile_fixture.h"
#include "scripts/builtin_scripts.h"
#include "tools/json_output.h"
#include "tools/tool_test_support.h"

namespace scenario {
namespace {

/// Checks that `out` is one line of JSON holding the same as `atteso`,
/// keys in the same order.
void stessa_json(const std::string& out, const std::string& atteso) {
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
  EXPECT_EQ(Json::parse(out), Json::parse(atteso)) << out;
}

/// The three binary files of a scenario, by name.
std::vector<std::string> file_binari(const std::string& percorso, const std::string& treno) {
  return {nome_file_linea(percorso), nome_file_parametri(percorso, treno),
          nome_file_celle(percorso, treno)};
}

TEST(CompileBuiltin, SameBytesAsGeneraScenarioAndScriptsUntouched) {
  CartellaTemporanea autore, uscita, generatore;
  const Esecuzione scripts =
      programma(SCENARIO_TOOL_PATH, {"scripts", autore.percorso()}, autore.percorso());
  ASSERT_EQ(scripts.stato, 0) << scripts.err;
  const std::string linea = autore.leggi(nome_script_linea(kNomePercorso));
  const std::string treno = autore.leggi(nome_script_treno(kNomePercorso, kNumeroTreno));
  ASSERT_FALSE(linea.empty());
  ASSERT_FALSE(treno.empty());

  const Esecuzione compile = programma(
      SCENARIO_TOOL_PATH,
      {"compile", "--out", uscita.percorso(), autore.percorso(), kNomePercorso, kNumeroTreno},
      autore.percorso());
  ASSERT_EQ(compile.stato, 0) << compile.err;
  EXPECT_NE(compile.err.find("route 103000 m, 2201 cells, 10 stations, 12 signals, 1 slowdown, "
                             "56 sign boards, 10 speed board pairs"),
            std::string::npos)
      << compile.err;

  // The built-in program writes next to itself: run a copy of it.
  const std::string copia = generatore.file("genera_scenario");
  std::filesystem::copy_file(GENERA_SCENARIO_PATH, copia);
  const Esecuzione genera = programma(copia, {}, generatore.percorso());
  ASSERT_EQ(genera.stato, 0) << genera.err;

  for (const std::string& nome : file_binari(kNomePercorso, kNumeroTreno)) {
    const std::string atteso = generatore.leggi(nome);
    ASSERT_FALSE(atteso.empty()) << nome;
    EXPECT_TRUE(uscita.leggi(nome) == atteso) << nome << " differs";
    EXPECT_FALSE(autore.esiste(nome)) << nome << " written beside the scripts";
  }
  EXPECT_EQ(autore.leggi(nome_script_linea(kNomePercorso)), linea);
  EXPECT_EQ(autore.leggi(nome_script_treno(kNomePercorso, kNumeroTreno)), treno);
}

TEST(CompileExample, HandWrittenScenarioCompilesClean) {
  CartellaTemporanea uscita;
  const std::string cartella = cartella_esempio();
  const std::string linea = contenuto(cartella + "/Val_Piccola_linea.txt");
  ASSERT_FALSE(linea.empty());
  const Esecuzione e = strumento(
      {"compile", "--json", "--out", uscita.percorso(), cartella, kPercorsoEsempio, kTrenoEsempio});
  EXPECT_EQ(e.stato, 0) << e.err;
  EXPECT_NE(e.err.find("route 12000 m, 381 cells, 2 stations, 1 signal, 1 slowdown, 2 sign "
                       "boards, 1 speed board pair"),
            std::string::npos)
      << e.err;
  stessa_json(e.out,
              "{\"codice_errore\": 0, \"posizione_errore\": 0, \"written\": "
              "[\"Val_Piccola_2231.dat\", \"Val_Piccola_2231.sim\", \"Val_Piccola_linea.dat\"], "
              "\"fatal\": null, \"file\": null, \"line\": null, \"diagnostics\": []}\n");
  for (const std::string& nome : file_binari(kPercorsoEsempio, kTrenoEsempio)) {
    EXPECT_TRUE(uscita.esiste(nome)) << nome;
  }
  EXPECT_EQ(contenuto(cartella + "/Val_Piccola_linea.txt"), linea);
}

TEST(CompileExample, NoLineWritesNoLineFile) {
  CartellaTemporanea uscita;
  const Esecuzione e = strumento({"compile", "--no-line", "--out", uscita.percorso(),
                                  cartella_esempio(), kPercorsoEsempio, kTrenoEsempio});
  EXPECT_EQ(e.stato, 0) << e.err;
  EXPECT_FALSE(uscita.esiste(nome_file_linea(kPercorsoEsempio)));
  EXPECT_TRUE(uscita.esiste(nome_file_celle(kPercorsoEsempio, kTrenoEsempio)));
}

/// One faulty scenario and what the compile must say about it.
struct CasoErrore {
  const char* nome;
  const char* linea;
  const char* treno;
  const char* diagnosi;  ///< expected line of standard error, "DIR" for the folder
  const char* json;      ///< expected JSON report with --partial, without "diagnostics"
  bool file_scritti;     ///< files written with --partial
};

class CompileErrore : public testing::TestWithParam<CasoErrore> {};

/// `testo` with every "DIR" replaced by `cartella`.
std::string con_cartella(std::string testo, const std::string& cartella) {
  for (std::size_t p = testo.find("DIR"); p != std::string::npos; p = testo.find("DIR", p)) {
    testo.replace(p, 3, cartella);
    p += cartella.size();
  }
  return testo;
}

TEST_P(CompileErrore, ReportsCodeFileLineAndPosition) {
  const CasoErrore& caso = GetParam();
  for (const bool parziale : {false, true}) {
    SCOPED_TRACE(parziale ? "--partial" : "without --partial");
    CartellaTemporanea autore;
    const std::string nome_linea = nome_script_linea(kPercorsoProva);
    const std::string nome_treno = nome_script_treno(kPercorsoProva, kTrenoProva);
    autore.scrivi(nome_linea, caso.linea);
    autore.scrivi(nome_treno, caso.treno);

    std::vector<std::string> argomenti = {"compile", "--json", autore.percorso(), kPercorsoProva,
                                          kTrenoProva};
    if (parziale) argomenti.push_back("--partial");
    const Esecuzione e = strumento(argomenti);
    EXPECT_EQ(e.stato, 1) << e.err;
    EXPECT_NE(e.err.find(con_cartella(caso.diagnosi, autore.percorso()) + "\n"), std::string::npos)
        << e.err;
    // Today's keys, and the check's diagnostics beside them.
    Json rapporto = Json::parse(e.out);
    ASSERT_FALSE(rapporto["diagnostics"].empty()) << e.out;
    rapporto.erase("diagnostics");
    Json atteso = Json::parse(con_cartella(caso.json, autore.percorso()));
    if (!parziale) atteso["written"] = Json::array();
    EXPECT_EQ(rapporto, atteso) << e.out;
    // Without --partial an error leaves the output folder as it was.
    for (const std::string& nome : file_binari(kPercorsoProva, kTrenoProva)) {
      EXPECT_EQ(autore.esiste(nome), parziale && caso.file_scritti) << nome;
    }
    // The author's scripts are left as they were.
    EXPECT_EQ(autore.leggi(nome_linea), caso.linea);
    EXPECT_EQ(autore.leggi(nome_treno), caso.treno);
  }
}

constexpr const char* kTrenoVuoto = "[generale]\n[fine]\n";

INSTANTIATE_TEST_SUITE_P(
    Famiglie, CompileErrore,
    testing::Values(
        CasoErrore{"BoardOnOccupiedCell",
                   "[generale]\nlunghezza percorso, 5000\n[curve]\n"
                   "cartello_indicatore, 350, (uno)\ncartello_indicatore, 350, (due)\n[fine]\n",
                   kTrenoVuoto,
                   "DIR/Prova_linea.txt:5:22: error: indicator board at 350 m falls in cell 8, "
                   "which already holds an indicator board [6]",
                   "{\"codice_errore\": 6, \"posizione_errore\": 350, \"written\": "
                   "[\"Prova_1.dat\", \"Prova_1.sim\", \"Prova_linea.dat\"], \"fatal\": null, "
                   "\"file\": \"DIR/Prova_linea.txt\", \"line\": 5}",
                   true},
        CasoErrore{"StationOffTheGrid", "[generale]\nlunghezza percorso, 70000\n[curve]\n[fine]\n",
                   "[generale]\nstazione, 66620, 4, 500, 1, 0, 0, 4,1,0, 2,1,1, 1, 14,25, 0, "
                   "NOVARA\n[fine]\n",
                   "DIR/Prova_1-.txt:2:11: error: station position 66620 m is not a multiple of "
                   "50 m [8]",
                   "{\"codice_errore\": 8, \"posizione_errore\": 66620, \"written\": "
                   "[\"Prova_1.dat\", \"Prova_1.sim\", \"Prova_linea.dat\"], \"fatal\": null, "
                   "\"file\": \"DIR/Prova_1-.txt\", \"line\": 2}",
                   true},
        // Signals in cells 14 to 16 leave no room for the nearest code group
        // before the slowdown starting in cell 21.
        CasoErrore{"PostPassNoRoomBeforeSlowdown",
                   "[generale]\nlunghezza percorso, 5000\n[curve]\n[fine]\n",
                   "[generale]\nsegnale, 650, 1, 5, 1, 0, 0, 0, 0,0,0, 0\n"
                   "segnale, 700, 1, 5, 1, 0, 0, 0, 0,0,0, 0\n"
                   "segnale, 750, 1, 5, 1, 0, 0, 0, 0,0,0, 0\n"
                   "rallentamento, 1000, 50, 200, 0, 0, 0\n[fine]\n",
                   "DIR/Prova_1-.txt:5:16: error: no free cell for the code 250 to 350 m before "
                   "the start of this slowdown [12]",
                   "{\"codice_errore\": 12, \"posizione_errore\": 1050, \"written\": "
                   "[\"Prova_1.dat\", \"Prova_1.sim\", \"Prova_linea.dat\"], \"fatal\": null, "
                   "\"file\": null, \"line\": null}",
                   true},
        // A signal at 0 puts a first value into cell 1.
        CasoErrore{"SignalInCellOne", "[generale]\nlunghezza percorso, 5000\n[curve]\n[fine]\n",
                   "[generale]\nsegnale, 0, 1, 5, 1, 0, 0, 0, 0,0,0, 0\n[fine]\n",
                   "DIR/Prova_1-.txt:2:1: error: cell 1 must keep its first data word free for "
                   "the route's marker, but this record puts a signal there [1250]",
                   "{\"codice_errore\": 0, \"posizione_errore\": 0, \"written\": [], "
                   "\"fatal\": 1250, \"file\": null, \"line\": null}",
                   false}),
    [](const testing::TestParamInfo<CasoErrore>& info) { return std::string(info.param.nome); });

TEST(CompileErrore, MissingScriptIsStatusTwoAndWritesNothing) {
  const std::string linea = script_linea(5000);
  for (const bool manca_linea : {true, false}) {
    SCOPED_TRACE(manca_linea ? "line script" : "train script");
    CartellaTemporanea autore;
    const std::string assente = manca_linea ? nome_script_linea(kPercorsoProva)
                                            : nome_script_treno(kPercorsoProva, kTrenoProva);
    if (!manca_linea) autore.scrivi(nome_script_linea(kPercorsoProva), linea);
    if (manca_linea) autore.scrivi(nome_script_treno(kPercorsoProva, kTrenoProva), kTrenoVuoto);
    const Esecuzione e =
        strumento({"compile", "--json", autore.percorso(), kPercorsoProva, kTrenoProva});
    EXPECT_EQ(e.stato, 2) << e.err;
    EXPECT_EQ(e.err, "scenario_tool compile: cannot read " + autore.file(assente) +
                         ": No such file or directory\n");
    EXPECT_TRUE(e.out.empty()) << e.out;
    for (const std::string& nome : file_binari(kPercorsoProva, kTrenoProva)) {
      EXPECT_FALSE(autore.esiste(nome)) << nome;
    }
  }
}

TEST(CompileErrore, OldFilesStayWhenAnErrorIsFound) {
  CartellaTemporanea autore;
  autore.scrivi(nome_script_linea(kPercorsoProva), script_linea(5000));
  autore.scrivi(nome_script_treno(kPercorsoProva, kTrenoProva), kTrenoVuoto);
  ASSERT_EQ(strumento({"compile", autore.percorso(), kPercorsoProva, kTrenoProva}).stato, 0);
  const std::string celle = nome_file_celle(kPercorsoProva, kTrenoProva);
  const std::string prima = autore.leggi(celle);
  autore.scrivi(nome_script_treno(kPercorsoProva, kTrenoProva),
                "[generale]\nsegnale, 0, 1, 5, 1, 0, 0, 0, 0,0,0, 0\n[fine]\n");
  EXPECT_EQ(strumento({"compile", autore.percorso(), kPercorsoProva, kTrenoProva}).stato, 1);
  EXPECT_EQ(autore.leggi(celle), prima);
}

TEST(CompileDiagnosi, JsonEscapesTheFolderName) {
  StatoCompilazione stato;
  stato.nome_percorso = "R";
  stato.numero_treno = "T";
  stato.codice_errore = 6;
  Diagnosi d;
  d.codice = 6;
  d.sorgente = Sorgente::script_linea;
  d.riga = 3;
  stato.diagnosi.push_back(d);
  RisultatoCompilazione r;
  const std::string rapporto = rapporto_json(stato, r, "a\"b\\c\td", {});
  stessa_json(rapporto + "\n",
              "{\"codice_errore\": 6, \"posizione_errore\": 0, \"written\": [], \"fatal\": null, "
              "\"file\": \"a\\\"b\\\\c\\td/R_linea.txt\", \"line\": 3, \"diagnostics\": []}");
  EXPECT_NE(rapporto.find("\"a\\\"b\\\\c\\td/R_linea.txt\""), std::string::npos) << rapporto;
  // A folder given with a trailing "/" is taken without it.
  EXPECT_EQ(riga_diagnosi(d, cartella_indicata("dir/"), "R", "T"),
            "dir/R_linea.txt:3: error 6: indicator board on a cell that is not free");
}

TEST(CompileDiagnosi, FolderWithTrailingSeparatorIsNotDoubled) {
  CartellaTemporanea autore;
  autore.scrivi(nome_script_linea(kPercorsoProva),
                "[generale]\nlunghezza percorso, 5000\n[curve]\n"
                "cartello_indicatore, 350, (uno)\ncartello_indicatore, 350, (due)\n[fine]\n");
  autore.scrivi(nome_script_treno(kPercorsoProva, kTrenoProva), script_treno());
  const Esecuzione e =
      strumento({"compile", "--json", autore.percorso() + "/", kPercorsoProva, kTrenoProva});
  EXPECT_EQ(e.stato, 1);
  const std::string file = autore.percorso() + "/" + nome_script_linea(kPercorsoProva);
  EXPECT_NE(e.err.find(file + ":5:22: error: "), std::string::npos) << e.err;
  EXPECT_EQ(Json::parse(e.out)["file"], file);
  EXPECT_EQ(Json::parse(e.out)["diagnostics"][0]["file"], file);
}

/// A file step that fails and a piece of the message that must name it.
struct CasoPasso {
  Step passo;
  const char* percorso;  ///< a piece of the path it fails on
  const char* messaggio;
};

TEST(CompileFileSystem, FailingStepsAreStatusTwoAndLeaveNoScratchFolder) {
  const CasoPasso casi[] = {
      {Step::kMakeFolders, "", "cannot create output folder "},
      {Step::kMakeScratchFolder, "", "cannot make a temporary folder: scenario_tool_"},
      {Step::kRead, "_linea.txt", "cannot read "},
      {Step::kCreate, "_linea.txt", "cannot create "},
  };
  for (const CasoPasso& caso : casi) {
    SCOPED_TRACE(StepName(caso.passo));
    CartellaTemporanea uscita;
    RealFileSystem reale;
    FaultyFileSystem fs(reale);
    fs.Fail(caso.passo, 1, caso.percorso);
    std::ostringstream out, err;
    EXPECT_EQ(esegui_comando({"compile", "--out", uscita.percorso(), cartella_esempio(),
                              kPercorsoEsempio, kTrenoEsempio},
                             fs, out, err),
              2);
    EXPECT_NE(err.str().find(caso.messaggio), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(FaultyFileSystem::kReason), std::string::npos) << err.str();
    // A scratch folder that was made is removed again.
    std::size_t fatte = 0, tolte = 0;
    for (const Operation& op : fs.log()) {
      fatte += op.step == Step::kMakeScratchFolder && !op.failed;
      tolte += op.step == Step::kRemoveFolder;
    }
    EXPECT_EQ(fatte, tolte);
    EXPECT_TRUE(uscita.voci().empty());
  }
}

TEST(CompileFileSystem, OutOfMemoryRemovesTheScratchFolderAndTheTemporaries) {
  CartellaTemporanea uscita;
  RealFileSystem reale;
  FaultyFileSystem fs(reale);
  fs.ThrowOutOfMemory(Step::kWrite, 1, "_linea.dat");
  std::ostringstream out, err;
  ::testing::internal::CaptureStderr();
  const int stato = RunGuardingMemory("scenario_tool", [&] {
    return esegui_comando({"compile", "--out", uscita.percorso(), cartella_esempio(),
                           kPercorsoEsempio, kTrenoEsempio},
                          fs, out, err);
  });
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "scenario_tool: out of memory\n");
  EXPECT_EQ(stato, 2);
  std::size_t fatte = 0, tolte = 0;
  for (const Operation& op : fs.log()) {
    fatte += op.step == Step::kMakeScratchFolder && !op.failed;
    tolte += op.step == Step::kRemoveFolder;
  }
  EXPECT_EQ(fatte, 1u);
  EXPECT_EQ(tolte, 1u);
  EXPECT_TRUE(uscita.voci().empty());
}

TEST(CompileFileSystem, AFileSizeLimitIsAWriteErrorNotADeath) {
  CartellaTemporanea uscita;
  const std::string comando = "ulimit -f 64; exec '" + std::string(SCENARIO_TOOL_PATH) +
                              "' compile --out '" + uscita.percorso() + "' '" + cartella_esempio() +
                              "' " + kPercorsoEsempio + " " + kTrenoEsempio + " 2>'" +
                              uscita.percorso() + "/.err'";
  const int stato = std::system(("sh -c \"" + comando + "\"").c_str());
  ASSERT_TRUE(WIFEXITED(stato)) << "killed by a signal";
  EXPECT_EQ(WEXITSTATUS(stato), 2);
  const std::string detto = uscita.leggi(".err");
  EXPECT_NE(detto.find("File too large"), std::string::npos) << detto;
  std::filesystem::remove(uscita.file(".err"));
  // The line file (about 380 kB) is over the limit: nothing is left
  // of it, nor of any temporary.
  for (const std::string& nome : uscita.voci()) {
    EXPECT_EQ(nome.find(".tmp"), std::string::npos) << nome;
    EXPECT_NE(nome, nome_file_linea(kPercorsoEsempio));
  }
}

/// A wrong command line and a piece of the message that must explain it.
struct CasoUso {
  std::vector<std::string> argomenti;
  const char* messaggio;
};

TEST(CompileUso, WrongUsageIsStatusTwoWithAReason) {
  CartellaTemporanea cartella;
  const std::string dir = cartella.percorso();
  const CasoUso casi[] = {
      {{"compile"}, "expected DIR ROUTE TRAIN, got 0"},
      {{"compile", dir, "R"}, "expected DIR ROUTE TRAIN, got 2"},
      {{"compile", dir, "a/b", "1"}, "ROUTE 'a/b' contains '/'"},
      {{"compile", dir, "R", ""}, "TRAIN is empty"},
      {{"compile", dir, "R\t", "1"}, "ROUTE contains the byte 0x09 at position 2"},
      {{"compile", dir, "Citt\xc3\xa0", "1"}, "only printable ASCII"},
      {{"compile", "--fast", dir, "R", "1"}, "unknown option '--fast'"},
      {{"compile", dir, "R", "1", "--out"}, "option '--out' needs a value"},
      {{"compile", "--json=yes", dir, "R", "1"}, "option '--json' takes no value"},
      {{"compile", dir + "/absent", "R", "1"}, "is not a folder"},
  };
  for (const CasoUso& caso : casi) {
    const Esecuzione e = strumento(caso.argomenti);
    EXPECT_EQ(e.stato, 2) << caso.messaggio;
    EXPECT_NE(e.err.find(caso.messaggio), std::string::npos) << e.err;
    EXPECT_TRUE(e.out.empty());
  }
}

TEST(CompileUso, UnwritableOutputIsStatusTwo) {
  CartellaTemporanea cartella;
  cartella.scrivi("file", "x");
  const Esecuzione e = strumento({"compile", "--out", cartella.file("file"), cartella_esempio(),
                                  kPercorsoEsempio, kTrenoEsempio});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.err.find("cannot create output folder"), std::string::npos) << e.err;
}

TEST(CompileUso, NamesTooLongForTheFolderStopBeforeAnythingIsWritten) {
  CartellaTemporanea uscita;
  // ROUTE_linea.txt is the longest name here: 245 + 10 bytes fit 255.
  const struct {
    std::size_t lunghezza;
    const char* messaggio;
  } casi[] = {
      {245, "_linea.txt: No such file or directory"},
      {246, "_linea.txt 256 bytes long; "},
      {251, "_linea.txt 261 bytes long; "},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.lunghezza);
    const Esecuzione e = strumento({"compile", "--out", uscita.percorso(), cartella_esempio(),
                                    std::string(caso.lunghezza, 'R'), "1"});
    EXPECT_EQ(e.stato, 2);
    EXPECT_NE(e.err.find(caso.messaggio), std::string::npos) << e.err;
    if (caso.lunghezza > 245) {
      EXPECT_NE(e.err.find(uscita.percorso() + " takes at most 255"), std::string::npos);
    }
    EXPECT_TRUE(uscita.voci().empty());
  }
}

TEST(CompileUso, TrainEndingInLineaIsRefused) {
  CartellaTemporanea uscita;
  const Esecuzione e =
      strumento({"compile", "--out", uscita.percorso(), cartella_esempio(), "R", "7_linea"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.err.find("TRAIN '7_linea' ends in \"_linea\": its cell file R_7_linea.dat would "
                       "have the name of the line file of route 'R_7'"),
            std::string::npos)
      << e.err;
  EXPECT_TRUE(uscita.voci().empty());
}

TEST(CompileLock, ASecondCompileWaitsForTheOutputFolderAndSaysSo) {
  CartellaTemporanea uscita;
  // Another process holds the output folder's lock for a while.
  int pronto[2];
  ASSERT_EQ(::pipe(pronto), 0);
  const pid_t altro = ::fork();
  if (altro == 0) {
    ::close(pronto[0]);
    FolderLock lock;
    std::string err;
    if (!lock.Acquire(uscita.percorso(), "", &err)) ::_exit(1);
    (void)!::write(pronto[1], "x", 1);
    ::usleep(1500 * 1000);
    ::_exit(0);
  }
  ::close(pronto[1]);
  char c = 0;
  ASSERT_EQ(::read(pronto[0], &c, 1), 1);
  ::close(pronto[0]);

  ::testing::internal::CaptureStderr();
  const auto inizio = std::chrono::steady_clock::now();
  const Esecuzione e = strumento(
      {"compile", "--out", uscita.percorso(), cartella_esempio(), kPercorsoEsempio, kTrenoEsempio});
  const auto atteso = std::chrono::steady_clock::now() - inizio;
  const std::string detto = ::testing::internal::GetCapturedStderr();
  int stato = 0;
  ASSERT_EQ(::waitpid(altro, &stato, 0), altro);

  EXPECT_EQ(e.stato, 0) << e.err;
  EXPECT_GE(atteso, std::chrono::milliseconds(1000)) << "the lock was not waited for";
  EXPECT_EQ(detto,
            "scenario_tool compile: waiting for another run writing " + uscita.percorso() + "\n");
  EXPECT_TRUE(uscita.esiste(nome_file_celle(kPercorsoEsempio, kTrenoEsempio)));
}

}  // namespace
}  // namespace scenario
