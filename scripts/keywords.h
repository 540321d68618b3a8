// The record keywords of the line and train scripts, each table in the
// fixed order in which the readers test a keyword field.
#ifndef SCENARIO_SCRIPTS_KEYWORDS_H_
#define SCENARIO_SCRIPTS_KEYWORDS_H_

#include <array>
#include <string_view>
#include <utility>

namespace scenario {

/// True when `campo` contains `testo`; folds ASCII case unless `esatto`.
bool contiene(std::string_view campo, std::string_view testo, bool esatto = false);

/// One keyword test: the field must contain `testo` and, when not empty,
/// `altro` as well.
struct ParolaChiave {
  std::string_view testo;
  std::string_view altro;
  bool esatto;  ///< exact-case test

  /// True when `campo` passes this test.
  bool corrisponde(std::string_view campo) const {
    return contiene(campo, testo, esatto) && (altro.empty() || contiene(campo, altro, esatto));
  }
};

/// Records of the general section of the line script.
enum class RecordGenerale {
  lunghezza,
  progressiva_tre,
  progressiva_due,
  progressiva_uno,
  sfondo_uno,
  sfondo_due,
  sfondo_tre,
  ripetizione
};

/// Records of the body of the line script.
enum class RecordLinea { pendenza, curva, montagna, indicatori_v_max, cartello };

/// Records of the train script.
enum class RecordTreno {
  massa_frenata,
  vetture,
  velocita,
  aderenza,
  orologio,
  sabbia,
  segnale,
  rallentamento,
  abbattimento,
  stazione
};

template <typename Record>
struct VoceTabella {
  Record record;
  ParolaChiave parola;
};

/// General section tests, in test order.
inline constexpr std::array<VoceTabella<RecordGenerale>, 8> kTabellaGenerale = {{
    {RecordGenerale::lunghezza, {"percorso", "lunghezza", false}},
    {RecordGenerale::progressiva_tre, {"tre", "progressiva", true}},
    {RecordGenerale::progressiva_due, {"due", "progressiva", true}},
    {RecordGenerale::progressiva_uno, {"uno", "progressiva", true}},
    {RecordGenerale::sfondo_uno, {"sfondo", "uno", true}},
    {RecordGenerale::sfondo_due, {"sfondo", "due", true}},
    {RecordGenerale::sfondo_tre, {"sfondo", "tre", true}},
    {RecordGenerale::ripetizione, {"segnali", "ripetizione", true}},
}};

/// Line script body tests, in test order. The curve test applies only when
/// the line geometry is being built.
inline constexpr std::array<VoceTabella<RecordLinea>, 5> kTabellaLinea = {{
    {RecordLinea::pendenza, {"pendenza", "", false}},
    {RecordLinea::curva, {"curva", "", false}},
    {RecordLinea::montagna, {"montagna", "", false}},
    {RecordLinea::indicatori_v_max, {"indicatori_v", "", false}},
    {RecordLinea::cartello, {"indicat", "cartello", false}},
}};

/// Train script tests, in test order.
inline constexpr std::array<VoceTabella<RecordTreno>, 10> kTabellaTreno = {{
    {RecordTreno::massa_frenata, {"frenata", "massa", false}},
    {RecordTreno::vetture, {"vetture", "", false}},
    {RecordTreno::velocita, {"velocit", "", false}},
    {RecordTreno::aderenza, {"aderenza", "", false}},
    {RecordTreno::orologio, {"orologio", "", false}},
    {RecordTreno::sabbia, {"sabbia", "", false}},
    {RecordTreno::segnale, {"segnale", "", false}},
    {RecordTreno::rallentamento, {"rallentamento", "", false}},
    {RecordTreno::abbattimento, {"abbattimento", "", false}},
    {RecordTreno::stazione, {"stazione", "", false}},
}};

/// Text that opens the general section of both scripts (any case).
inline constexpr std::string_view kGenerale = "[generale]";

/// Class digits of a curve keyword and the turn per metre of each, in the
/// order they are looked for.
inline constexpr std::array<std::pair<char, double>, 6> kClassiCurva = {{
    {'1', 0.0001},
    {'2', 0.0002},
    {'3', 0.0004},
    {'4', 0.001},
    {'5', 0.002},
    {'6', 0.003},
}};

}  // namespace scenario

#endif  // SCENARIO_SCRIPTS_KEYWORDS_H_
