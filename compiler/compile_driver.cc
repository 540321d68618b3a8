#include "compiler/compile_driver.h"

#include "compiler/check_codes.h"
#include "compiler/error_codes.h"
#include "compiler/script_reader.h"
#include "compiler/signal_codes.h"
#include "output/scenario_files.h"

namespace scenario {

namespace {

/// First value of cell 1 and of entry 85 after every compile.
constexpr std::int16_t kMarcatoreCella = 5121;
constexpr std::int16_t kMarcatoreVoce = 610;

}  // namespace

std::int32_t codice_fatale(const RisultatoCompilazione& risultato, const StatoCompilazione& stato) {
  switch (risultato.esito) {
    case Esito::errore_1250:
      return codice::marcatore_cella_1;
    case Esito::errore_1251:
      return codice::codice_cella_1;
    case Esito::senza_celle:
      return stato.codice_errore;
    case Esito::scritto:
    case Esito::scrittura_fallita:
      break;
  }
  return 0;
}

RisultatoCompilazione memorizza_percorso(StatoCompilazione& stato, bool crea_linea, FileSystem& fs,
                                         const Cartelle& cartelle) {
  RisultatoCompilazione risultato;
  stato.crea_linea = crea_linea ? 1 : 0;
  stato.codice_errore = 0;
  for (Parametro& p : stato.parametri) p = Parametro{};
  // Nothing of an earlier compile on the same state may be taken for this
  // one's: the reader dimensions the arrays anew when it reads the length.
  stato.celle.clear();
  stato.tabella_linea = TabellaLinea{};
  stato.diagnosi.clear();
  stato.origine_celle.clear();
  stato.numero_stazioni = 0;
  stato.numero_cartelli = 0;

  memorizza_dati(stato, fs, cartelle.script);
  if (!stato.celle_dimensionate()) {
    risultato.esito = Esito::senza_celle;
    return risultato;
  }

  stato.sorgente_corrente = Sorgente::post_pass;
  stato.riga_corrente = 0;
  piazza_codici(stato);

  Parametro& percorso = stato.parametri[voce::percorso];
  Cella& prima = stato.celle[1];
  if (percorso.valore1 != 0 || prima.dato1 != 0) {
    risultato.esito = Esito::errore_1250;
    return risultato;
  }
  percorso.valore1 = kMarcatoreVoce;
  prima.dato1 = kMarcatoreCella;
  if (percorso.orario != 0 || prima.dato2 != 0) {
    risultato.esito = Esito::errore_1251;
    return risultato;
  }
  percorso.orario = codice_gara_st(stato);
  prima.dato2 = codice_gara_og(stato);

  const FileScenario file{stato.nome_percorso, stato.numero_treno, stato.tabella_linea,
                          stato.parametri,     stato.celle,        stato.crea_linea != 0};
  if (!scrivi_file_scenario(fs, cartelle.uscita, file, &risultato.scritti,
                            &risultato.errore_scrittura)) {
    risultato.esito = Esito::scrittura_fallita;
  }
  return risultato;
}

}  // namespace scenario
