#include "app/window.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "base/testing/temporary_folder.h"

// After GoogleTest: Xlib defines a macro `None` that would hide a GoogleTest type.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace scenario {
namespace {

/// A second connection to the display, to see the window as the server
/// holds it; null when no display can be opened.
class Osservatore {
 public:
  Osservatore() : display_(XOpenDisplay(nullptr)) {}
  ~Osservatore() {
    if (display_) XCloseDisplay(display_);
  }
  Display* display() const { return display_; }

 private:
  Display* display_;
};

TEST(Finestra, AttesaAsTheServerShowsIt) {
  Osservatore osservatore;
  if (!osservatore.display()) GTEST_SKIP() << "no X display";
  std::unique_ptr<InterfacciaFinestra> finestra = apri_finestra();
  ASSERT_NE(finestra, nullptr);
  EXPECT_EQ(finestra->finestra_x(), 0u);
  finestra->mostra_attesa();
  const Window id = finestra->finestra_x();
  ASSERT_NE(id, 0u);

  XWindowAttributes attributi;
  ASSERT_NE(XGetWindowAttributes(osservatore.display(), id, &attributi), 0);
  EXPECT_EQ(attributi.width, 280);
  EXPECT_EQ(attributi.height, 179);
  EXPECT_EQ(attributi.map_state, IsViewable);
  char* titolo = nullptr;
  ASSERT_NE(XFetchName(osservatore.display(), id, &titolo), 0);
  EXPECT_STREQ(titolo, "B");
  XFree(titolo);

  const EtichettaAttesa e = finestra->etichetta();
  EXPECT_EQ(e.testo, "Attendere");
  EXPECT_EQ(e.x, 64);
  EXPECT_EQ(e.y, 64);
  EXPECT_EQ(e.larghezza, 177);
  EXPECT_EQ(e.altezza, 53);
  EXPECT_EQ(e.dimensione, 32);
  EXPECT_TRUE(e.grassetto);
  EXPECT_TRUE(e.a_sinistra);

  // Painted before mostra_attesa returned: the label's box holds text pixels
  // that differ from the window's background.
  XImage* immagine = XGetImage(osservatore.display(), id, 0, 0, 280, 179, AllPlanes, ZPixmap);
  ASSERT_NE(immagine, nullptr);
  const unsigned long sfondo = XGetPixel(immagine, 5, 5);
  int inchiostro = 0;
  for (int y = 64; y < 64 + 53; ++y) {
    for (int x = 64; x < 64 + 177; ++x) inchiostro += XGetPixel(immagine, x, y) != sfondo;
  }
  int fuori = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 280; ++x) fuori += XGetPixel(immagine, x, y) != sfondo;
  }
  XDestroyImage(immagine);
  EXPECT_GT(inchiostro, 100);
  EXPECT_EQ(fuori, 0);

  finestra->chiudi();
  EXPECT_EQ(finestra->finestra_x(), 0u);
}

/// What the test saw of the message box while it was open.
struct VistaMessaggio {
  bool vista = false;
  std::string titolo;
  std::vector<std::string> etichette;  ///< labels of the box's widgets
  std::vector<std::string> pulsanti;   ///< labels of its buttons
  int tentativi = 0;
};

/// Looks at the modal box once it is up, then presses its button.
void premi_ok(void* dati) {
  auto* vista = static_cast<VistaMessaggio*>(dati);
  Fl_Window* box = Fl::modal();
  if (!box || !box->shown()) {
    // Not up yet; give up after a few seconds rather than hang the suite.
    if (++vista->tentativi < 100) {
      Fl::repeat_timeout(0.05, premi_ok, dati);
    } else {
      for (Fl_Window* w = Fl::first_window(); w; w = Fl::first_window()) w->hide();
    }
    return;
  }
  vista->vista = true;
  vista->titolo = box->label() ? box->label() : "";
  Fl_Button* ok = nullptr;
  for (int i = 0; i < box->children(); ++i) {
    Fl_Widget* w = box->child(i);
    vista->etichette.push_back(w->label() ? w->label() : "");
    if (auto* b = dynamic_cast<Fl_Button*>(w)) {
      vista->pulsanti.push_back(b->label() ? b->label() : "");
      ok = b;
    }
  }
  if (ok) {
    ok->do_callback();
  } else {
    box->hide();
  }
}

TEST(Finestra, MessaggioIsModalWithOneOkButtonAndReturnsWhenClosed) {
  Osservatore osservatore;
  if (!osservatore.display()) GTEST_SKIP() << "no X display";
  std::unique_ptr<InterfacciaFinestra> finestra = apri_finestra();
  ASSERT_NE(finestra, nullptr);
  finestra->mostra_attesa();

  VistaMessaggio vista;
  Fl::add_timeout(0.05, premi_ok, &vista);
  finestra->mostra_messaggio(" Errore n. 1251");
  EXPECT_TRUE(vista.vista);
  EXPECT_EQ(vista.titolo, "genera_scenario");
  EXPECT_EQ(vista.pulsanti, std::vector<std::string>{"OK"});
  // The text and the button, and nothing else: no icon.
  EXPECT_EQ(vista.etichette, (std::vector<std::string>{" Errore n. 1251", "OK"}));
  finestra->chiudi();
}

struct SenzaDisplay {
  const char* nome;
  const char* display;  ///< value of DISPLAY; null to unset it
};

class FinestraSenzaDisplay : public testing::TestWithParam<SenzaDisplay> {};

TEST_P(FinestraSenzaDisplay, FallsBackToStandardError) {
  EXPECT_EXIT(
      {
        if (GetParam().display) {
          setenv("DISPLAY", GetParam().display, 1);
        } else {
          unsetenv("DISPLAY");
        }
        EXPECT_EQ(apri_finestra(), nullptr);
        std::unique_ptr<Interfaccia> interfaccia = apri_interfaccia();
        interfaccia->mostra_attesa();
        interfaccia->chiudi();
        std::exit(dynamic_cast<InterfacciaTestuale*>(interfaccia.get()) ? 0 : 3);
      },
      testing::ExitedWithCode(0), "^Attendere\n$");
}

INSTANTIATE_TEST_SUITE_P(Cases, FinestraSenzaDisplay,
                         testing::Values(SenzaDisplay{"Unset", nullptr},
                                         SenzaDisplay{"NoServer", ":9999"}),
                         [](const testing::TestParamInfo<SenzaDisplay>& info) {
                           return std::string(info.param.nome);
                         });

TEST(Errore, ShowsTheCodeAndEndsWithStatusOne) {
  InterfacciaTestuale testuale;
  EXPECT_EXIT(errore("1251", testuale), testing::ExitedWithCode(1), "^ Errore n\\. 1251\n$");
}

TEST(GeneraScenario, RunsToTheEndWithoutDisplay) {
  CartellaTemporanea folder;
  // The program writes next to itself: run a copy in the temporary folder.
  const std::filesystem::path programma =
      std::filesystem::path(folder.percorso()) / "genera_scenario";
  std::filesystem::copy_file(GENERA_SCENARIO_PATH, programma);
  const std::string errori = folder.percorso() + "/stderr.txt";
  const std::string comando =
      "env -u DISPLAY '" + programma.string() + "' 2> '" + errori + "' > /dev/null";
  const int stato = std::system(comando.c_str());
  ASSERT_TRUE(WIFEXITED(stato));
  std::ifstream in(errori, std::ios::binary);
  const std::string uscita((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(WEXITSTATUS(stato), 0) << uscita;
  EXPECT_EQ(uscita.substr(0, 10), "Attendere\n");
  EXPECT_TRUE(std::filesystem::exists(folder.percorso() + "/Zembrastina_Dervo_47716.dat"));
}

/// The whole content of the file at `percorso`; empty when it cannot be read.
std::string leggi(const std::string& percorso) {
  std::ifstream in(percorso, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(GeneraScenario, NeedsNeitherTheToolkitNorX) {
  // The dynamic loader only lists the libraries the program needs.
  CartellaTemporanea folder;
  const std::string elenco = folder.percorso() + "/librerie.txt";
  const std::string comando = std::string("LD_TRACE_LOADED_OBJECTS=1 '") + GENERA_SCENARIO_PATH +
                              "' > '" + elenco + "' 2>&1";
  const int stato = std::system(comando.c_str());
  ASSERT_TRUE(WIFEXITED(stato));
  ASSERT_EQ(WEXITSTATUS(stato), 0);
  const std::string librerie = leggi(elenco);
  EXPECT_NE(librerie.find("libc.so"), std::string::npos) << librerie;
  EXPECT_EQ(librerie.find("libfltk"), std::string::npos) << librerie;
  EXPECT_EQ(librerie.find("libX11"), std::string::npos) << librerie;
}

/// What DISPLAY holds for a run of the copied program.
enum class Schermo {
  kNessuno,      ///< unset
  kSenzaServer,  ///< a display no server answers for
  kVero,         ///< the display the tests run on
};

struct CasoProgramma {
  const char* nome;
  Schermo schermo;
  bool modulo;    ///< the window module is copied next to the program
  bool finestra;  ///< the window is expected rather than the text stand-in
};

class GeneraScenarioCopiato : public testing::TestWithParam<CasoProgramma> {};

TEST_P(GeneraScenarioCopiato, RunsToTheEndWithTheWindowOrItsStandIn) {
  const CasoProgramma& caso = GetParam();
  std::string ambiente = "env -u DISPLAY";
  if (caso.schermo == Schermo::kSenzaServer) ambiente = "env DISPLAY=:9999";
  if (caso.schermo == Schermo::kVero) {
    Osservatore osservatore;
    if (!osservatore.display()) GTEST_SKIP() << "no X display";
    ambiente = std::string("env DISPLAY='") + DisplayString(osservatore.display()) + "'";
  }

  CartellaTemporanea folder;
  const std::filesystem::path cartella(folder.percorso());
  std::filesystem::copy_file(GENERA_SCENARIO_PATH, cartella / "genera_scenario");
  if (caso.modulo) {
    std::filesystem::copy_file(SCENARIO_FINESTRA_PATH, cartella / kModuloFinestra);
  }
  const std::string errori = folder.percorso() + "/stderr.txt";
  const std::string comando = ambiente + " '" + (cartella / "genera_scenario").string() + "' 2> '" +
                              errori + "' > /dev/null";
  const int stato = std::system(comando.c_str());
  ASSERT_TRUE(WIFEXITED(stato));
  const std::string uscita = leggi(errori);
  EXPECT_EQ(WEXITSTATUS(stato), 0) << uscita;
  // The stand-in starts standard error with "Attendere"; the window leaves it
  // to the toolkit (a sanitizer run may add its own report there).
  const bool testuale = uscita.rfind("Attendere\n", 0) == 0;
  EXPECT_EQ(testuale, !caso.finestra) << uscita;
  for (const char* nome : {"Zembrastina_Dervo_linea.dat", "Zembrastina_Dervo_47716.sim",
                           "Zembrastina_Dervo_47716.dat"}) {
    EXPECT_GT(std::filesystem::file_size(cartella / nome), 0u) << nome;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GeneraScenarioCopiato,
    testing::Values(CasoProgramma{"NoDisplayModuleBeside", Schermo::kNessuno, true, false},
                    CasoProgramma{"NoServer", Schermo::kSenzaServer, true, false},
                    CasoProgramma{"DisplayWithoutModule", Schermo::kVero, false, false},
                    CasoProgramma{"Window", Schermo::kVero, true, true}),
    [](const testing::TestParamInfo<CasoProgramma>& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace scenario
