#include "output/parameter_file.h"

namespace scenario {

std::string serializza_parametri(const Parametri& parametri) {
  std::size_t totale = 0;
  for (const Parametro& p : parametri) totale += kDimensioneParametro + lunghezza_testo(p.nome);
  std::string bytes(totale, '\0');
  ByteWriter out(bytes.data());
  for (const Parametro& p : parametri) {
    for (const Campo<Parametro>& campo : kCampiParametro) scrivi_campo(out, campo, p);
  }
  return bytes;
}

bool decodifica_parametri(std::string_view bytes, Parametri* parametri, ErroreDecodifica* err) {
  if (bytes.empty()) return fallisci(err, 0, "empty parameter file");
  ByteReader in(bytes);
  for (std::size_t e = 0; e < parametri->size(); ++e) {
    Parametro& p = (*parametri)[e];
    p = Parametro{};
    if (e > 0 && in.at_end()) {
      return fallisci(err, in.offset(),
                      "the file ends after " + std::to_string(e) + " of the 87 entries");
    }
    for (const Campo<Parametro>& campo : kCampiParametro) {
      if (!leggi_campo(in, campo, &p, "entry", e, err)) return false;
    }
  }
  if (!in.at_end()) {
    return fallisci(err, in.offset(),
                    std::to_string(in.left()) + (in.left() == 1 ? " byte" : " bytes") +
                        " after the 87th entry");
  }
  return true;
}

}  // namespace scenario
