// `render`'s output rules and `dump` and `render` on files no compile could
// have written: larger than any, shaped as none, or a longest route whose
// every cell points at one longest text. Each is refused before it costs
// memory, or drawn and printed in proportion to the route.
#include "tools/render_command.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/testing/faulty_file_system.h"
#include "base/testing/temporary_folder.h"
#include "compiler/compile_fixture.h"
#include "compiler/output_bounds.h"
#include "output/scenario_files.h"
#include "tools/command_line.h"
#include "tools/dump_command.h"
#include "tools/tool_test_support.h"
#include "tools/wording.h"

namespace scenario {
namespace {

/// Bytes in a gibibyte and a mebibyte.
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

/// Makes file `percorso` `dimensione` bytes long without writing a byte:
/// a sparse file of zeros.
void file_rado(const std::string& percorso, std::uint64_t dimensione) {
  const int fd = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << percorso;
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(dimensione)), 0) << percorso;
  ::close(fd);
}

/// One run of `dump` or `render` through a file system that logs each step.
struct Passata {
  Esecuzione e;
  std::vector<std::string> letti;  ///< the files it read
  double secondi = 0;
};

Passata esegui(const std::string& comando, const std::vector<std::string>& operandi) {
  RealFileSystem reale;
  FaultyFileSystem fs(reale);
  RigaComando riga;
  riga.comando = comando;
  riga.operandi = operandi;
  std::ostringstream out, err;
  Passata p;
  const auto inizio = std::chrono::steady_clock::now();
  p.e.stato =
      comando == "dump" ? comando_dump(riga, fs, out, err) : comando_render(riga, fs, out, err);
  p.secondi = std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
  p.e.out = out.str();
  p.e.err = err.str();
  for (const Operation& op : fs.log()) {
    if (op.step == Step::kRead) p.letti.push_back(op.path);
  }
  return p;
}

TEST(FileImpossibili, LargerThanTheCompilerWritesIsRefusedBeforeReading) {
  struct Caso {
    const char* nome;
    TipoFile tipo;
  };
  const Caso casi[] = {
      {"R_1.sim", TipoFile::parametri},
      {"R_1.dat", TipoFile::celle},
      {"R_linea.dat", TipoFile::linea},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    CartellaTemporanea cartella;
    // The other two files of the scenario, small and well formed, so that
    // render reaches the large one whichever it is.
    cartella.scrivi("R_1.sim", serializza_parametri(Parametri{}));
    cartella.scrivi("R_1.dat",
                    std::string(static_cast<std::size_t>(celle_minime()) * kDimensioneCella, '\0'));
    file_rado(cartella.file(caso.nome), 3 * kGiB);
    const std::string atteso = cartella.file(caso.nome) + ": 3221225472 bytes, larger than any ";
    const std::string massimo =
        "(" + std::to_string(dimensione_massima(caso.tipo)) + " bytes at most)";
    for (const Passata& p : {esegui("dump", {cartella.file(caso.nome)}),
                             esegui("render", {cartella.percorso(), "R", "1"})}) {
      EXPECT_EQ(p.e.stato, 2);
      EXPECT_NE(p.e.err.find(atteso), std::string::npos) << p.e.err;
      EXPECT_NE(p.e.err.find(massimo), std::string::npos) << p.e.err;
      for (const std::string& letto : p.letti) EXPECT_NE(letto, cartella.file(caso.nome));
      EXPECT_LT(p.secondi, 1.0);
    }
    EXPECT_FALSE(cartella.esiste("R_1.svg"));
  }
}

TEST(FileImpossibili, ShapesNoCompileWritesAreRefusedWithTheByte) {
  const auto elemento = [](std::uint16_t tag, std::size_t valore) {
    std::string b(2 + valore, '\0');
    b[0] = static_cast<char>(tag);
    return b;
  };
  const auto colonna = [&](std::size_t righe, std::size_t riga_intera) {
    std::string b;
    for (std::size_t r = 0; r < righe; ++r) {
      b += r == riga_intera ? elemento(2, 2) : elemento(0, 0);
    }
    return b;
  };
  constexpr std::size_t kMinime = kRigheLineaMinime;
  struct Caso {
    const char* nome;
    std::string bytes;
    std::string atteso;  ///< after "FILE: "
  };
  const Caso casi[] = {
      // Zeros: every element empty, too few metres for any route.
      {"R_linea.dat", std::string(4000, '\0'),
       "byte 4000: the geometry covers 1000 metres; the shortest route's covers 7001"},
      {"R_linea.dat", colonna(kMinime, 5) + colonna(kMinime, kMinime),
       "byte 10: metre 5, coordinate 0: an integer, which only metres 0 and 1 hold"},
      {"R_linea.dat", colonna(kMinime, kMinime) + colonna(kMinime, kMinime - 1),
       "byte " + std::to_string(4 * kMinime - 2) +
           ": metre 7000, coordinate 1: an integer, which only metres 0 and 1 hold"},
      {"R_1.dat", std::string(15 * 140, '\0'), "byte 2100: 140 cells; the shortest route has 141"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.atteso);
    CartellaTemporanea cartella;
    cartella.scrivi("R_1.sim", serializza_parametri(Parametri{}));
    cartella.scrivi("R_1.dat",
                    std::string(static_cast<std::size_t>(celle_minime()) * kDimensioneCella, '\0'));
    cartella.scrivi(caso.nome, caso.bytes);
    for (const Passata& p : {esegui("dump", {cartella.file(caso.nome)}),
                             esegui("render", {cartella.percorso(), "R", "1"})}) {
      EXPECT_EQ(p.e.stato, 2);
      EXPECT_NE(p.e.err.find(cartella.file(caso.nome) + ": " + caso.atteso), std::string::npos)
          << p.e.err;
    }
  }
}

TEST(FileImpossibili, ZerosOfARouteLengthAreALineFileTheCompilerWrites) {
  // A compile that stops in the general section, after the route length,
  // writes the geometry with every element empty: 4 bytes a metre.
  CartellaTemporanea cartella;
  cartella.scrivi("R_linea.dat", std::string(4 * (1000 + kRigheLineaMinime), '\0'));
  const Passata p = esegui("dump", {cartella.file("R_linea.dat")});
  EXPECT_EQ(p.e.stato, 0) << p.e.err;
  EXPECT_NE(p.e.out.find("metres 0 to 8000, 0 integer, 0 double and 16002 empty elements"),
            std::string::npos)
      << p.e.out.substr(0, 200);
}

TEST(FileImpossibili, EveryCellPointingAtOneLongestTextStaysSmall) {
  // The longest route, every cell a sign board showing entry 80, whose
  // text is as long as a record takes.
  CartellaTemporanea cartella;
  Parametri p;
  p[voce::treno].fine = kLunghezzaMassima;
  p[voce::ultimo_cartello].nome = std::string(kTestoMassimo, 'x');
  std::vector<Cella> celle(static_cast<std::size_t>(celle_massime()));
  for (Cella& c : celle) {
    c.tipo = tipo_cella::cartello;
    c.dato1 = voce::ultimo_cartello;
  }
  cartella.scrivi("R_1.sim", serializza_parametri(p));
  cartella.scrivi("R_1.dat", serializza_celle(celle));

  // Time bounds loose enough for an unoptimised build on a busy machine:
  // drawing every text in full took many seconds and gigabytes.
  constexpr double kSecondi = 5;
  const Passata render = esegui("render", {cartella.percorso(), "R", "1"});
  ASSERT_EQ(render.e.stato, 0) << render.e.err;
  EXPECT_LT(render.secondi, kSecondi);
  const std::string svg = cartella.leggi("R_1.svg");
  EXPECT_LT(svg.size(), kMiB);
  EXPECT_NE(svg.find(std::string(kCaratteriMostrati, 'x') + "\xe2\x80\xa6 (65535 characters)"),
            std::string::npos);

  const Passata dump = esegui("dump", {cartella.file("R_1.dat")});
  EXPECT_NE(dump.e.stato, 2) << dump.e.err;
  EXPECT_LT(dump.secondi, kSecondi);
  EXPECT_LT(dump.e.out.size(), 8 * kMiB);
  EXPECT_EQ(dump.e.out.find(std::string(kCaratteriMostrati + 1, 'x')), std::string::npos);
}

/// The example scenario's scripts and the files compiled from them, in a
/// folder of their own.
class RenderUscita : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* nome : {"Val_Piccola_linea.txt", "Val_Piccola_2231-.txt"}) {
      std::filesystem::copy_file(cartella_esempio() + "/" + nome, cartella_.file(nome));
    }
    const Esecuzione e = strumento({"compile", dir(), kPercorsoEsempio, kTrenoEsempio});
    ASSERT_EQ(e.stato, 0) << e.err;
  }
  std::string dir() const { return cartella_.percorso(); }
  Esecuzione render(std::vector<std::string> opzioni) const {
    opzioni.insert(opzioni.begin(), "render");
    opzioni.push_back(dir());
    opzioni.push_back(kPercorsoEsempio);
    opzioni.push_back(kTrenoEsempio);
    return strumento(opzioni);
  }
  CartellaTemporanea cartella_;
};

TEST_F(RenderUscita, RefusesTargetsThatAreNotRegularFilesOrAreTheScenariosOwn) {
  ASSERT_EQ(::mkfifo(cartella_.file("fifo.svg").c_str(), 0644), 0);
  std::filesystem::create_directory(cartella_.file("folder.svg"));
  cartella_.scrivi("altro", "other");
  std::filesystem::create_symlink(cartella_.file("altro"), cartella_.file("link.svg"));
  std::filesystem::create_directory(cartella_.file("sub"));
  std::filesystem::create_hard_link(cartella_.file("Val_Piccola_2231.sim"),
                                    cartella_.file("hard.svg"));
  const struct {
    std::string out;
    std::string messaggio;
  } casi[] = {
      {"/dev/null", "/dev/null does not end in \".svg\""},
      {cartella_.file("fifo.svg"), "fifo.svg: it is a FIFO, not a regular file"},
      {cartella_.file("folder.svg"), "folder.svg: it is a folder, not a regular file"},
      {cartella_.file("link.svg"), "link.svg: it is a symbolic link, not a regular file"},
      {cartella_.file("page.txt"), "page.txt does not end in \".svg\" (--force"},
      {cartella_.file("Val_Piccola_linea.txt"), "Val_Piccola_linea.txt, one of the scenario's"},
      {cartella_.file("Val_Piccola_2231-.txt"), "Val_Piccola_2231-.txt, one of the scenario's"},
      {cartella_.file("Val_Piccola_linea.dat"), "Val_Piccola_linea.dat, one of the scenario's"},
      {cartella_.file("Val_Piccola_2231.dat"), "Val_Piccola_2231.dat, one of the scenario's"},
      {cartella_.file("sub/../Val_Piccola_2231.sim"), "Val_Piccola_2231.sim, one of the"},
      {cartella_.file("hard.svg"), "(the output " + cartella_.file("hard.svg") + " is that file)"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.out);
    const std::string prima_sim = cartella_.leggi("Val_Piccola_2231.sim");
    const Esecuzione e = render({"--out", caso.out});
    EXPECT_EQ(e.stato, 2);
    EXPECT_NE(e.err.find(caso.messaggio), std::string::npos) << e.err;
    EXPECT_TRUE(e.out.empty());
    EXPECT_EQ(cartella_.leggi("Val_Piccola_2231.sim"), prima_sim);
  }
  // What stood there is still there, as it was.
  struct stat st;
  ASSERT_EQ(::lstat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_TRUE(std::filesystem::is_fifo(cartella_.file("fifo.svg")));
  EXPECT_TRUE(std::filesystem::is_symlink(cartella_.file("link.svg")));
  EXPECT_EQ(cartella_.leggi("altro"), "other");
  EXPECT_FALSE(cartella_.esiste("page.txt"));
}

TEST_F(RenderUscita, DashIsStandardOutputAndForceTakesAnyName) {
  const Esecuzione standard = render({"--out", "-"});
  EXPECT_EQ(standard.stato, 0) << standard.err;
  EXPECT_EQ(standard.out.rfind("<?xml", 0), 0u);
  EXPECT_NE(standard.out.find("</svg>"), std::string::npos);
  EXPECT_FALSE(cartella_.esiste("-"));

  const Esecuzione forzato = render({"--force", "--out", cartella_.file("page.txt")});
  EXPECT_EQ(forzato.stato, 0) << forzato.err;
  EXPECT_EQ(cartella_.leggi("page.txt"), standard.out);
  // --force does not open the scenario's own files.
  EXPECT_EQ(render({"--force", "--out", cartella_.file("Val_Piccola_2231.sim")}).stato, 2);
}

TEST(LetturaFallita, DumpRenderAndDecompileGiveTheSystemsReason) {
  CartellaTemporanea cartella;
  std::filesystem::create_directory(cartella.file("R_1.sim"));
  ASSERT_EQ(::mkfifo(cartella.file("R_2.sim").c_str(), 0644), 0);
  const struct {
    std::string file;
    const char* treno;
    const char* motivo;
  } casi[] = {
      {cartella.file("R_0.sim"), "0", "No such file or directory"},
      {cartella.file("R_1.sim"), "1", "it is a folder, not a regular file"},
      {cartella.file("R_2.sim"), "2", "it is a FIFO, not a regular file"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.file);
    // A FIFO is never opened for a writer that will not come: these return.
    const std::string atteso = "cannot read " + caso.file + ": " + caso.motivo + "\n";
    const Esecuzione dump = strumento({"dump", caso.file});
    EXPECT_EQ(dump.stato, 2);
    EXPECT_EQ(dump.err, "scenario_tool dump: " + atteso);
    const Esecuzione render = strumento({"render", cartella.percorso(), "R", caso.treno});
    EXPECT_EQ(render.stato, 2);
    EXPECT_EQ(render.err, "scenario_tool render: " + atteso);
    const Esecuzione decompile = strumento({"decompile", cartella.percorso(), "R", caso.treno});
    EXPECT_EQ(decompile.stato, 2);
    EXPECT_EQ(decompile.err, "scenario_tool decompile: " + atteso);
  }
}

}  // namespace
}  // namespace scenario
