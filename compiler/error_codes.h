// Every code the compiler records or shows, with a short English meaning.
#ifndef SCENARIO_COMPILER_ERROR_CODES_H_
#define SCENARIO_COMPILER_ERROR_CODES_H_

#include <cstdint>
#include <string>

namespace scenario {

/// Codes recorded in `codice_errore` and the two codes shown by `errore`.
namespace codice {
constexpr std::int32_t nessuno = 0;
constexpr std::int32_t lunghezza_eccessiva = 1;
constexpr std::int32_t progressiva_non_multipla = 2;
constexpr std::int32_t ripetizione_inizio = 3;
constexpr std::int32_t ripetizione_fine = 4;
constexpr std::int32_t ripetizione_codici = 5;
constexpr std::int32_t cartello_occupato = 6;
constexpr std::int32_t abbattimento_occupato = 7;
constexpr std::int32_t stazione_posizione = 8;
constexpr std::int32_t stazione_lunghezza = 9;
constexpr std::int32_t tabella_piena = 10;
constexpr std::int32_t segnale_prima_avviso = 11;
constexpr std::int32_t codici_prima_inizio = 12;
constexpr std::int32_t codici_rallentamento = 13;
constexpr std::int32_t fuori_celle = 15;
constexpr std::int32_t segnale_occupato = 16;
constexpr std::int32_t avviso_occupato = 17;
constexpr std::int32_t inizio_occupato = 18;
constexpr std::int32_t fine_occupato = 19;
constexpr std::int32_t prima_avviso_occupato = 20;
constexpr std::int32_t indicatori_occupato = 21;
constexpr std::int32_t stazioni_vicine = 22;
constexpr std::int32_t stazione_troppo_presto = 24;
constexpr std::int32_t lettura_fallita = 25;
constexpr std::int32_t script_linea_mancante = 101;
constexpr std::int32_t generale_mancante = 102;
constexpr std::int32_t curva_non_valida = 103;
constexpr std::int32_t marcatore_cella_1 = 1250;
constexpr std::int32_t codice_cella_1 = 1251;
}  // namespace codice

/// Short English meaning of a code, for diagnostics ("unknown code" for
/// codes the compiler never sets).
const char* significato_codice(std::int32_t codice);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_ERROR_CODES_H_
