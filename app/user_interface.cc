#include "app/user_interface.h"

#include <cstdio>
#include <cstdlib>

#include "app/error_codes.h"

namespace scenario {

void InterfacciaTestuale::mostra_attesa() {
  std::fputs("Attendere\n", stderr);
}

void InterfacciaTestuale::mostra_messaggio(const std::string& testo) {
  std::fprintf(stderr, "%s\n", testo.c_str());
}

void errore(const std::string& a, Interfaccia& interfaccia) {
  interfaccia.mostra_messaggio(testo_errore(a));
  interfaccia.chiudi();
  std::fflush(stderr);
  std::exit(1);
}

}  // namespace scenario
