#include "compiler/error_codes.h"

namespace scenario {

const char* significato_codice(std::int32_t c) {
  switch (c) {
    case codice::nessuno:
      return "no error";
    case codice::lunghezza_eccessiva:
      return "route length above 1000000 m";
    case codice::progressiva_non_multipla:
      return "a chainage start or end is not a multiple of 50";
    case codice::ripetizione_inizio:
      return "cab-signalling start is not a multiple of 50";
    case codice::ripetizione_fine:
      return "cab-signalling end is not a multiple of 50";
    case codice::ripetizione_codici:
      return "cab-signalling keyword names neither 4 nor 9 codes";
    case codice::cartello_occupato:
      return "indicator board on a cell that is not free";
    case codice::abbattimento_occupato:
      return "code cell on a cell that is not free";
    case codice::stazione_posizione:
      return "station position is not a multiple of 50";
    case codice::stazione_lunghezza:
      return "station length is not a multiple of 100";
    case codice::tabella_piena:
      return "stations and indicator boards overflow the parameter table";
    case codice::segnale_prima_avviso:
      return "no room for a code cell before a signal ahead of a slowdown warning board";
    case codice::codici_prima_inizio:
      return "no room for a code cell before a slowdown start";
    case codice::codici_rallentamento:
      return "no room for a code cell inside or after a slowdown";
    case codice::fuori_celle:
      return "position outside the cell array";
    case codice::segnale_occupato:
      return "signal on a cell that is not free";
    case codice::avviso_occupato:
      return "slowdown warning board on a cell that is not free";
    case codice::inizio_occupato:
      return "slowdown start on a cell that is not free";
    case codice::fine_occupato:
      return "slowdown end on a cell that is not free";
    case codice::prima_avviso_occupato:
      return "a cell before a slowdown warning board is not free";
    case codice::indicatori_occupato:
      return "maximum-speed boards on a cell that is not free";
    case codice::stazioni_vicine:
      return "station starts less than 350 m after the previous one ends";
    case codice::stazione_troppo_presto:
      return "station ends too close to the start of the route";
    case codice::lettura_fallita:
      return "script cannot be read (missing file or bad value)";
    case codice::script_linea_mancante:
      return "line script not found";
    case codice::generale_mancante:
      return "line script has no [generale] section";
    case codice::curva_non_valida:
      return "curve without class digit, or geometry beyond 1000000 m";
    case codice::marcatore_cella_1:
      return "cell 1 or entry 85 already holds a first value";
    case codice::codice_cella_1:
      return "cell 1 or entry 85 already holds a check code";
    default:
      return "unknown code";
  }
}

}  // namespace scenario
