// Every code the compiler records or shows: a short English meaning, a
// short name for diagnostics, and an explanation with an example.
#ifndef SCENARIO_COMPILER_ERROR_CODES_H_
#define SCENARIO_COMPILER_ERROR_CODES_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

/// Where an explanation's example goes to raise its code.
enum class LuogoEsempio : std::uint8_t {
  script_linea,        ///< the whole line script (the train script empty)
  corpo_linea,         ///< the body of a line script of 20000 m
  corpo_treno,         ///< the train script, on a line of 20000 m
  senza_script_linea,  ///< no line script at all
  solo_testo,          ///< described only: too long to write out
};

/// The explanation of one code: what it means, what causes it, how to fix
/// it, and a script fragment that raises it.
struct SpiegazioneCodice {
  std::int32_t codice;
  std::string_view nome;         ///< short kebab-case name, e.g. "signal-cell-taken"
  std::string_view significato;  ///< one line, as `significato_codice` gives it
  std::string_view causa;        ///< what the compile found, and when
  std::string_view rimedio;      ///< how to fix the script
  LuogoEsempio luogo;
  std::string_view esempio;  ///< the fragment, lines joined by '\n'
};

/// Every code the compiler records or shows, in ascending order.
std::span<const SpiegazioneCodice> spiegazioni_codici();

/// The explanation of `codice`, or null for a code the compiler never sets.
const SpiegazioneCodice* spiegazione_codice(std::int32_t codice);

/// The explanation whose short name is `nome` (any case), or null.
const SpiegazioneCodice* spiegazione_per_nome(std::string_view nome);

/// The short name of `codice` ("" for a code the compiler never sets).
std::string_view nome_codice(std::int32_t codice);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_ERROR_CODES_H_
