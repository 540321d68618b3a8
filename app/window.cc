#include "app/window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>

namespace scenario {

namespace {

/// Caption of the message box: the program's name.
constexpr const char* kNomeProgramma = "genera_scenario";

/// Client area of the waiting window, in pixels.
constexpr int kLarghezzaFinestra = 280;
constexpr int kAltezzaFinestra = 179;

/// Box of the "Attendere" label inside the client area, in pixels.
constexpr int kEtichettaX = 64;
constexpr int kEtichettaY = 64;
constexpr int kEtichettaLarghezza = 177;
constexpr int kEtichettaAltezza = 53;
/// 24 points at 96 dots per inch.
constexpr int kDimensioneEtichetta = 32;

constexpr Fl_Align kAllineamentoEtichetta = FL_ALIGN_LEFT | FL_ALIGN_INSIDE;

/// Text, margins and button of the message box.
constexpr int kDimensioneMessaggio = 14;
constexpr int kMargine = 20;
constexpr int kLarghezzaPulsante = 80;
constexpr int kAltezzaPulsante = 28;

/// The "Attendere" window and the message box, drawn with FLTK.
class FinestraFltk : public InterfacciaFinestra {
 public:
  void mostra_attesa() override;
  void mostra_messaggio(const std::string& testo) override;
  void chiudi() override;
  unsigned long finestra_x() const override;
  EtichettaAttesa etichetta() const override;

 private:
  void crea_finestra();

  std::unique_ptr<Fl_Window> finestra_;
  Fl_Box* etichetta_ = nullptr;  ///< owned by `finestra_`
};

void FinestraFltk::crea_finestra() {
  // No position given: the window system places it.
  finestra_ = std::make_unique<Fl_Window>(kLarghezzaFinestra, kAltezzaFinestra, "B");
  etichetta_ =
      new Fl_Box(kEtichettaX, kEtichettaY, kEtichettaLarghezza, kEtichettaAltezza, "Attendere");
  etichetta_->labelfont(FL_HELVETICA_BOLD);
  etichetta_->labelsize(kDimensioneEtichetta);
  etichetta_->align(kAllineamentoEtichetta);
  finestra_->end();
  // A sizable frame; without a resizable child the label keeps its place.
  finestra_->size_range(1, 1);
}

void FinestraFltk::mostra_attesa() {
  if (!finestra_) crea_finestra();
  finestra_->show();
  finestra_->wait_for_expose();
  Fl::flush();
  // Wait until the server has drawn it: the work that follows paints nothing.
  XSync(fl_display, False);
}

void FinestraFltk::mostra_messaggio(const std::string& testo) {
  fl_font(FL_HELVETICA, kDimensioneMessaggio);
  int larghezza_testo = 0;
  int altezza_testo = 0;
  fl_measure(testo.c_str(), larghezza_testo, altezza_testo, 0);
  const int larghezza = std::max(larghezza_testo, kLarghezzaPulsante) + 2 * kMargine;
  const int altezza = altezza_testo + kAltezzaPulsante + 3 * kMargine;

  Fl_Double_Window box(larghezza, altezza, kNomeProgramma);
  Fl_Box testo_box(kMargine, kMargine, larghezza - 2 * kMargine, altezza_testo);
  testo_box.copy_label(testo.c_str());
  testo_box.labelfont(FL_HELVETICA);
  testo_box.labelsize(kDimensioneMessaggio);
  testo_box.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  Fl_Return_Button ok((larghezza - kLarghezzaPulsante) / 2, altezza - kMargine - kAltezzaPulsante,
                      kLarghezzaPulsante, kAltezzaPulsante, "OK");
  ok.callback([](Fl_Widget* pulsante, void*) { pulsante->window()->hide(); });
  box.end();
  box.set_modal();
  box.position((Fl::w() - larghezza) / 2, (Fl::h() - altezza) / 2);
  box.show();
  // Closing the box through its frame hides it as the button does.
  while (box.shown()) Fl::wait();
}

void FinestraFltk::chiudi() {
  if (finestra_) finestra_->hide();
  Fl::flush();
}

unsigned long FinestraFltk::finestra_x() const {
  return finestra_ && finestra_->shown() ? fl_xid(finestra_.get()) : 0;
}

EtichettaAttesa FinestraFltk::etichetta() const {
  EtichettaAttesa e;
  if (!etichetta_) return e;
  e.testo = etichetta_->label() ? etichetta_->label() : "";
  e.x = etichetta_->x();
  e.y = etichetta_->y();
  e.larghezza = etichetta_->w();
  e.altezza = etichetta_->h();
  e.dimensione = etichetta_->labelsize();
  e.grassetto = etichetta_->labelfont() == FL_HELVETICA_BOLD;
  e.a_sinistra = etichetta_->align() == kAllineamentoEtichetta;
  return e;
}

}  // namespace

std::unique_ptr<InterfacciaFinestra> apri_finestra() {
  // Test the display first: FLTK's own open ends the program when it fails.
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  if (fl_display) {
    // Already handed to FLTK by an earlier call: keep that connection.
    XCloseDisplay(display);
  } else {
    fl_open_display(display);
  }
  return std::make_unique<FinestraFltk>();
}

}  // namespace scenario

scenario::Interfaccia* scenario_apri_finestra() {
  return scenario::apri_finestra().release();
}
