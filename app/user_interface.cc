#include "app/user_interface.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "app/window.h"
#include "base/file_names.h"
#include "compiler/error_codes.h"

namespace scenario {

namespace {

/// The window from the module in the program's folder; nullptr when DISPLAY
/// names no display, the module cannot be loaded or no server answers.
Interfaccia* carica_finestra() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return nullptr;
  const std::string modulo = percorso_in(cartella_programma(), kModuloFinestra);
  // Never closed: the window's code must stay mapped while the window lives,
  // up to the exit.
  void* libreria = dlopen(modulo.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!libreria) return nullptr;
  auto* entrata =
      reinterpret_cast<decltype(&scenario_apri_finestra)>(dlsym(libreria, kEntrataFinestra));
  return entrata ? entrata() : nullptr;
}

}  // namespace

std::unique_ptr<Interfaccia> apri_interfaccia() {
  if (Interfaccia* finestra = carica_finestra()) return std::unique_ptr<Interfaccia>(finestra);
  return std::make_unique<InterfacciaTestuale>();
}

void InterfacciaTestuale::mostra_attesa() {
  std::fputs("Attendere\n", stderr);
}

void InterfacciaTestuale::mostra_messaggio(const std::string& testo) {
  std::fprintf(stderr, "%s\n", testo.c_str());
}

std::string testo_errore(const std::string& a) {
  return " Errore n. " + a;
}

void errore(const std::string& a, Interfaccia& interfaccia) {
  interfaccia.mostra_messaggio(testo_errore(a));
  interfaccia.chiudi();
  std::fflush(stderr);
  std::exit(1);
}

}  // namespace scenario
