#include "app/user_interface.h"

namespace scenario {

// Placeholder until the window lands: always the text stand-in.
std::unique_ptr<Interfaccia> apri_interfaccia() {
  return std::make_unique<InterfacciaTestuale>();
}

}  // namespace scenario
