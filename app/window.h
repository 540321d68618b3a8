// The program's window on an X display, and what tests can inspect of it.
// It is built into a module of its own, libscenario_finestra.so, that
// genera_scenario loads only when there is a display: a run without one never
// maps the toolkit and X libraries.
#ifndef SCENARIO_APP_WINDOW_H_
#define SCENARIO_APP_WINDOW_H_

#include <memory>
#include <string>

#include "app/user_interface.h"

namespace scenario {

/// The label of the waiting window, as the toolkit holds it.
struct EtichettaAttesa {
  std::string testo;
  int x = 0;
  int y = 0;
  int larghezza = 0;
  int altezza = 0;
  int dimensione = 0;  ///< character height in pixels
  bool grassetto = false;
  bool a_sinistra = false;  ///< left-aligned inside its box
};

/// The window and the message box on a display.
class InterfacciaFinestra : public Interfaccia {
 public:
  /// X id of the waiting window; 0 while it is not shown.
  virtual unsigned long finestra_x() const = 0;
  /// The waiting window's label.
  virtual EtichettaAttesa etichetta() const = 0;
};

/// Opens the window interface on the display named by DISPLAY; nullptr when
/// no display can be opened.
std::unique_ptr<InterfacciaFinestra> apri_finestra();

/// File name of the window module, looked for in the program's folder.
constexpr const char* kModuloFinestra = "libscenario_finestra.so";
/// Name of the module's entry, scenario_apri_finestra.
constexpr const char* kEntrataFinestra = "scenario_apri_finestra";

}  // namespace scenario

/// The module's one exported entry: apri_finestra() as a raw pointer that the
/// caller owns, or nullptr when no display can be opened.
extern "C" __attribute__((visibility("default"))) scenario::Interfaccia* scenario_apri_finestra();

#endif  // SCENARIO_APP_WINDOW_H_
