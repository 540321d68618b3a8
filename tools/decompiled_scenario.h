// A scenario as records of its two scripts, each field as the script holds
// it: what the decompiler recovers from the binary files and what the
// script writer lays out.
#ifndef SCENARIO_TOOLS_DECOMPILED_SCENARIO_H_
#define SCENARIO_TOOLS_DECOMPILED_SCENARIO_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace scenario {

/// One "progressiva chilometrica" record: its three values in script order.
struct RecordProgressiva {
  std::int32_t inizio = 0;
  std::int32_t fine = 0;
  std::int32_t posizione = 0;
};

/// The general section of the line script.
struct GeneraleLinea {
  std::int32_t lunghezza = 0;
  /// "uno", "due" and "tre", in that order.
  std::array<RecordProgressiva, 3> progressive{};
  /// "sfondo uno", "due" and "tre", in that order.
  std::array<std::int32_t, 3> sfondi{};
  std::int32_t ripetizione_inizio = 0;
  std::int32_t ripetizione_fine = 0;
  /// The digit of the "ripetizione segnali" keyword: 4 or 9.
  int ripetizione_codici = 4;
};

/// "curvaSC": a curve turning the metres after `inizio` for `lunghezza`
/// metres.
struct RecordCurva {
  std::int32_t inizio = 0;
  std::int32_t lunghezza = 0;
  bool sinistra = false;
  int classe = 1;  ///< 1 to 6
};

/// A profile record ("pendenza", "velocita", "aderenza"): the value that
/// holds from the position on.
struct RecordProfilo {
  std::int32_t posizione = 0;
  std::int32_t valore = 0;
};

/// "montagna".
struct RecordMontagna {
  std::int32_t inizio = 0;
  std::int32_t fine = 0;
  std::int32_t tipo = 0;
  /// A section of no length that only makes the next one keep its own type
  /// (a section closer than 150 m to the one read before it is type 3).
  bool separatore = false;
};

/// "indicatori_vmax": the nine values in script order.
struct RecordIndicatori {
  std::int32_t posizione = 0;
  std::int32_t vas = 0, vbs = 0, vcs = 0, strisces = 0;
  std::int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;
};

/// "cartello_indicatore".
struct RecordCartello {
  std::int32_t posizione = 0;
  std::string testo;  ///< Windows-1252, as stored
};

/// "stazione": the seventeen fields in script order.
struct RecordStazione {
  std::int32_t posizione = 0;
  std::int32_t tipo = 0;
  std::int32_t lunghezza = 0;
  std::int32_t opzione = 0, flag4 = 0, flag3 = 0;
  std::int32_t valore1 = 0, valore2 = 0, flag1 = 0;
  std::int32_t valore3 = 0, valore4 = 0, valore5 = 0;
  std::int32_t flag2 = 0;
  std::int32_t ore = 0, minuti = 0, secondi = 0;
  std::string nome;  ///< Windows-1252, as stored
};

/// "rallentamento".
struct RecordRallentamento {
  std::int32_t x = 0, v = 0, l = 0, f_tt = 0, f_ta = 0, d_v = 0;
};

/// "segnale": the eleven values in script order.
struct RecordSegnale {
  std::int32_t posizione = 0;
  std::int32_t sx = 0, s1 = 0, s2 = 0, s3 = 0, rapp = 0;
  std::int32_t dx = 0, d1 = 0, d2 = 0, d3 = 0, tempo = 0;
};

/// "abbattimento".
struct RecordAbbattimento {
  std::int32_t posizione = 0;
  std::int32_t valore = 0;
};

/// The records of both scripts, each list in the order it is written.
struct ScenarioDecompilato {
  /// False when there is no line file: no curves, compiled with --no-line.
  bool con_linea = true;

  GeneraleLinea generale;
  std::vector<RecordCurva> curve;
  std::vector<RecordProfilo> pendenze;
  std::vector<RecordMontagna> montagne;
  std::vector<RecordIndicatori> indicatori;
  std::vector<RecordCartello> cartelli;

  std::int32_t vetture = 0;
  std::int32_t massa_frenata = 0;
  std::int32_t sabbia = 0;
  std::array<std::int32_t, 3> orologio{};  ///< hours, minutes, seconds
  std::vector<RecordProfilo> aderenze;
  std::vector<RecordProfilo> velocita;
  std::vector<RecordStazione> stazioni;
  std::vector<RecordRallentamento> rallentamenti;
  std::vector<RecordSegnale> segnali;
  std::vector<RecordAbbattimento> abbattimenti;
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DECOMPILED_SCENARIO_H_
