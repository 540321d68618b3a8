// What the user sees of a run: the "Attendere" window and the error box, or
// their text on standard error when no display can be opened.
#ifndef SCENARIO_APP_USER_INTERFACE_H_
#define SCENARIO_APP_USER_INTERFACE_H_

#include <memory>
#include <string>

namespace scenario {

/// The program's window, or its stand-in without a display.
class Interfaccia {
 public:
  virtual ~Interfaccia() = default;
  /// Shows the "Attendere" window and paints it once.
  virtual void mostra_attesa() = 0;
  /// Shows `testo` in a modal box with one OK button and waits for it.
  virtual void mostra_messaggio(const std::string& testo) = 0;
  /// Closes the window.
  virtual void chiudi() = 0;
};

/// Prints "Attendere" and messages on standard error.
class InterfacciaTestuale : public Interfaccia {
 public:
  void mostra_attesa() override;
  void mostra_messaggio(const std::string& testo) override;
  void chiudi() override {}
};

/// The window on the display named by DISPLAY, loaded from the window module
/// in the program's folder; the text stand-in when DISPLAY is unset or empty,
/// the module is missing or no display can be opened.
std::unique_ptr<Interfaccia> apri_interfaccia();

/// The text that `errore` shows for code text `a`: " Errore n. " then `a`.
std::string testo_errore(const std::string& a);

/// Shows " Errore n. " followed by `a` and ends the program at once with
/// exit status 1.
[[noreturn]] void errore(const std::string& a, Interfaccia& interfaccia);

}  // namespace scenario

#endif  // SCENARIO_APP_USER_INTERFACE_H_
