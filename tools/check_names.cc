#include "tools/check_names.h"

#include <array>
#include <string_view>

#include "compiler/error_codes.h"

namespace scenario {

std::string nome_breve_codice(std::int32_t c) {
  switch (c) {
    case codice::lunghezza_eccessiva:
      return "route-too-long";
    case codice::progressiva_non_multipla:
      return "chainage-not-multiple";
    case codice::ripetizione_inizio:
      return "cab-start-not-multiple";
    case codice::ripetizione_fine:
      return "cab-end-not-multiple";
    case codice::ripetizione_codici:
      return "cab-codes-missing";
    case codice::cartello_occupato:
      return "board-cell-taken";
    case codice::abbattimento_occupato:
      return "code-cell-taken";
    case codice::stazione_posizione:
      return "station-position-not-multiple";
    case codice::stazione_lunghezza:
      return "station-length-not-multiple";
    case codice::tabella_piena:
      return "table-full";
    case codice::segnale_prima_avviso:
      return "no-code-before-signal";
    case codice::codici_prima_inizio:
      return "no-code-before-slowdown";
    case codice::codici_rallentamento:
      return "no-code-in-slowdown";
    case codice::fuori_celle:
      return "outside-cells";
    case codice::segnale_occupato:
      return "signal-cell-taken";
    case codice::avviso_occupato:
      return "warning-board-cell-taken";
    case codice::inizio_occupato:
      return "slowdown-start-cell-taken";
    case codice::fine_occupato:
      return "slowdown-end-cell-taken";
    case codice::prima_avviso_occupato:
      return "before-board-cell-taken";
    case codice::indicatori_occupato:
      return "speed-boards-cell-taken";
    case codice::stazioni_vicine:
      return "stations-too-close";
    case codice::stazione_troppo_presto:
      return "station-too-early";
    case codice::lettura_fallita:
      return "unreadable-record";
    case codice::script_linea_mancante:
      return "line-script-missing";
    case codice::generale_mancante:
      return "no-generale";
    case codice::curva_non_valida:
      return "bad-curve";
    case codice::marcatore_cella_1:
      return "cell-1-first-value";
    case codice::codice_cella_1:
      return "cell-1-check-code";
    default:
      return "";
  }
}

namespace {

constexpr std::array<std::string_view, 17> kCampiStazione = {
    "the position",   "the station type", "the length",     "the 4th value", "the 5th value",
    "the 6th value",  "the 7th value",    "the 8th value",  "the 9th value", "the 10th value",
    "the 11th value", "the 12th value",   "the 13th value", "the hours",     "the minutes",
    "the seconds",    "the station name"};
constexpr std::array<std::string_view, 11> kCampiSegnale = {
    "the position", "sx", "s1", "s2", "s3", "rapp", "dx", "d1", "d2", "d3", "the time"};
constexpr std::array<std::string_view, 9> kCampiIndicatori = {
    "the position", "vas", "vbs", "vcs", "strisces", "vad", "vbd", "vcd", "strisced"};
constexpr std::array<std::string_view, 6> kCampiRallentamento = {
    "the position", "the speed", "the length", "f_tt", "f_ta", "d_v"};

template <std::size_t N>
std::string da_tabella(const std::array<std::string_view, N>& t, std::size_t i) {
  return i < N ? std::string(t[i]) : std::string();
}

}  // namespace

std::string nome_campo(TipoRecord tipo, std::size_t i) {
  switch (tipo) {
    case TipoRecord::lunghezza:
      return da_tabella(std::array<std::string_view, 1>{"the route length"}, i);
    case TipoRecord::progressiva_tre:
    case TipoRecord::progressiva_due:
    case TipoRecord::progressiva_uno:
      return da_tabella(
          std::array<std::string_view, 3>{"the first value", "the second value", "the third value"},
          i);
    case TipoRecord::sfondo_uno:
    case TipoRecord::sfondo_due:
    case TipoRecord::sfondo_tre:
      return da_tabella(std::array<std::string_view, 1>{"the background setting"}, i);
    case TipoRecord::ripetizione:
      return da_tabella(std::array<std::string_view, 2>{"the start", "the end"}, i);
    case TipoRecord::pendenza:
      return da_tabella(std::array<std::string_view, 2>{"the position", "the gradient"}, i);
    case TipoRecord::curva:
      return da_tabella(std::array<std::string_view, 2>{"the start", "the length"}, i);
    case TipoRecord::montagna:
      return da_tabella(std::array<std::string_view, 3>{"the start", "the end", "the type"}, i);
    case TipoRecord::indicatori_v_max:
      return da_tabella(kCampiIndicatori, i);
    case TipoRecord::cartello:
      return da_tabella(std::array<std::string_view, 2>{"the position", "the board text"}, i);
    case TipoRecord::massa_frenata:
      return da_tabella(std::array<std::string_view, 1>{"the braked-mass percentage"}, i);
    case TipoRecord::vetture:
      return da_tabella(std::array<std::string_view, 1>{"the number of cars"}, i);
    case TipoRecord::velocita:
      return da_tabella(std::array<std::string_view, 2>{"the position", "the speed"}, i);
    case TipoRecord::aderenza:
      return da_tabella(std::array<std::string_view, 2>{"the position", "the adhesion"}, i);
    case TipoRecord::orologio:
      return da_tabella(std::array<std::string_view, 3>{"the hours", "the minutes", "the seconds"},
                        i);
    case TipoRecord::sabbia:
      return da_tabella(std::array<std::string_view, 1>{"the sand supply"}, i);
    case TipoRecord::segnale:
      return da_tabella(kCampiSegnale, i);
    case TipoRecord::rallentamento:
      return da_tabella(kCampiRallentamento, i);
    case TipoRecord::abbattimento:
      return da_tabella(std::array<std::string_view, 2>{"the position", "the value"}, i);
    case TipoRecord::stazione:
      return da_tabella(kCampiStazione, i);
  }
  return "";
}

std::string parola_tipica(TipoRecord tipo) {
  switch (tipo) {
    case TipoRecord::lunghezza:
      return "lunghezza percorso";
    case TipoRecord::progressiva_tre:
      return "progressiva chilometrica tre";
    case TipoRecord::progressiva_due:
      return "progressiva chilometrica due";
    case TipoRecord::progressiva_uno:
      return "progressiva chilometrica uno";
    case TipoRecord::sfondo_uno:
      return "sfondo uno";
    case TipoRecord::sfondo_due:
      return "sfondo due";
    case TipoRecord::sfondo_tre:
      return "sfondo tre";
    case TipoRecord::ripetizione:
      return "ripetizione segnali 4 codici";
    case TipoRecord::pendenza:
      return "pendenza";
    case TipoRecord::curva:
      return "curvas4";
    case TipoRecord::montagna:
      return "montagna";
    case TipoRecord::indicatori_v_max:
      return "indicatori_vmax";
    case TipoRecord::cartello:
      return "cartello_indicatore";
    case TipoRecord::massa_frenata:
      return "percentuale massa frenata";
    case TipoRecord::vetture:
      return "numero vetture";
    case TipoRecord::velocita:
      return "velocita";
    case TipoRecord::aderenza:
      return "aderenza";
    case TipoRecord::orologio:
      return "orologio";
    case TipoRecord::sabbia:
      return "sabbia";
    case TipoRecord::segnale:
      return "segnale";
    case TipoRecord::rallentamento:
      return "rallentamento";
    case TipoRecord::abbattimento:
      return "abbattimento";
    case TipoRecord::stazione:
      return "stazione";
  }
  return "";
}

}  // namespace scenario
