#include "scripts/record_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace scenario {

namespace {

// The codes the compile records for a field's value. They are the
// compiler's codes (its error table names each); the reference only cites
// them.
constexpr std::int32_t kLunghezzaEccessiva = 1;
constexpr std::int32_t kProgressivaNonMultipla = 2;
constexpr std::int32_t kRipetizioneInizio = 3;
constexpr std::int32_t kRipetizioneFine = 4;
constexpr std::int32_t kStazionePosizione = 8;
constexpr std::int32_t kStazioneLunghezza = 9;
constexpr std::int32_t kFuoriCelle = 15;
constexpr std::int32_t kLetturaFallita = 25;

/// The longest route, in metres.
constexpr std::int64_t kLunghezzaMassima = 1000000;

constexpr Termine T(int campo, std::int32_t per = 1) {
  return {static_cast<std::int8_t>(campo), per};
}
/// Field `k` as read.
constexpr Formula letto(int k) {
  return {{T(k)}};
}
/// The cell of the position in field `k`: round(p / 50 + `scarto`).
constexpr Formula cella(int k, std::int32_t scarto) {
  return {{T(k)}, 0, 50, scarto};
}

/// A position whose element takes the cell round(p / 50 + `scarto`).
constexpr CampoRecord posizione(std::string_view nome, int k, std::int32_t scarto,
                                std::string_view effetto) {
  return {.nome = nome,
          .titolo = "position",
          .unita = Unita::metri,
          .minimo = 0,
          .limite = Limite::celle,
          .codice_intervallo = kFuoriCelle,
          .multiplo = 50,
          .regola = Regola::cella,
          .formula = cella(k, scarto),
          .effetto = effetto};
}

/// A value of the record's parameter entry, stored as read.
constexpr CampoRecord voce(std::string_view nome, std::string_view titolo, Larghezza larghezza,
                           int k, std::string_view destinazione, std::string_view effetto = "") {
  return {.nome = nome,
          .titolo = titolo,
          .larghezza = larghezza,
          .formula = letto(k),
          .destinazione = destinazione,
          .effetto = effetto};
}

// --- Line script, general section -------------------------------------

constexpr CampoRecord kCampiLunghezza[] = {
    {.nome = "lunghezza",
     .titolo = "route length",
     .unita = Unita::metri,
     .minimo = 0,
     .massimo = kLunghezzaMassima,
     .codice_intervallo = kLunghezzaEccessiva,
     .formula = letto(0),
     .destinazione = "parameter entry 84 `fine`",
     .effetto = "Dimensions the route: the cell array gets cells 0 to round((`lunghezza` + 7000) "
                "/ 50), and the line file one point per metre up to `lunghezza` + 7000. Every "
                "position of both scripts is checked against it."},
};

constexpr CampoRecord kCampiProgressiva[] = {
    {.nome = "inizio",
     .titolo = "first value",
     .unita = Unita::metri,
     .multiplo = 50,
     .codice_multiplo = kProgressivaNonMultipla,
     .formula = letto(0),
     .destinazione = "`inizio` of the system's parameter entry",
     .effetto = "The three systems are sorted by this value once the general section is read: "
                "the greatest goes to entry 81, the next to 82, the smallest to 83 (when they add "
                "up to 0 they are sorted by `fine` instead)."},
    {.nome = "fine",
     .titolo = "second value",
     .unita = Unita::metri,
     .multiplo = 50,
     .codice_multiplo = kProgressivaNonMultipla,
     .formula = letto(1),
     .destinazione = "`fine` of the system's parameter entry",
     .effetto = "Carried to the simulator; 100 is added to it when `posizione` is 1."},
    {.nome = "posizione",
     .titolo = "third value",
     .minimo = 0,
     .massimo = 1,
     .formula = letto(2),
     .destinazione = "`posizione` of the system's parameter entry",
     .effetto = "1 adds 100 to `fine` once the systems are sorted; 0 leaves it."},
};

constexpr CampoRecord kCampiSfondoUno[] = {
    voce("sfondo", "scenery setting", Larghezza::long32, 0, "parameter entry 85 `inizio`",
         "Carried to the simulator, not interpreted by the compiler."),
};
constexpr CampoRecord kCampiSfondoDue[] = {
    voce("sfondo", "scenery setting", Larghezza::long32, 0, "parameter entry 85 `posizione`",
         "Carried to the simulator, not interpreted by the compiler."),
};
constexpr CampoRecord kCampiSfondoTre[] = {
    voce("sfondo", "scenery setting", Larghezza::long32, 0, "parameter entry 85 `fine`",
         "Carried to the simulator, not interpreted by the compiler."),
};

constexpr CampoRecord kCampiRipetizione[] = {
    {.nome = "inizio",
     .titolo = "start of the stretch",
     .unita = Unita::metri,
     .multiplo = 50,
     .codice_multiplo = kRipetizioneInizio,
     .formula = letto(0),
     .destinazione = "parameter entry 86 `inizio`"},
    {.nome = "fine",
     .titolo = "end of the stretch",
     .unita = Unita::metri,
     .multiplo = 50,
     .codice_multiplo = kRipetizioneFine,
     .formula = letto(1),
     .destinazione = "parameter entry 86 `fine`",
     .effetto = "0 means no cab signalling: the number of codes is then stored as 0."},
};

// --- Line script, body ------------------------------------------------

constexpr CampoRecord kCampiPendenza[] = {
    posizione("posizione", 0, 0,
              "The gradient holds from this cell on: the cells from the previous gradient "
              "record's cell up to the one before this get the previous gradient."),
    {.nome = "pendenza",
     .titolo = "gradient",
     .unita = Unita::per_mille,
     .minimo = -100,
     .massimo = 155,
     .formula = {{T(1)}, 100},
     .riduzione = Riduzione::bassi8,
     .destinazione = "`pendenza` of the cells up to the next gradient record",
     .effetto = "Positive uphill, negative downhill; -5 is stored as 95. Outside -100 to 155 the "
                "byte wraps around."},
};

constexpr CampoRecord kCampiCurva[] = {
    {.nome = "inizio",
     .titolo = "start of the curve",
     .unita = Unita::metri,
     .minimo = 0,
     .limite = Limite::celle,
     .codice_intervallo = kFuoriCelle,
     .regola = Regola::nessuna,
     .destinazione = "the points of the line file",
     .effetto = "The track runs straight up to this metre; the turn begins at the next point."},
    {.nome = "lunghezza",
     .titolo = "length of the curve",
     .unita = Unita::metri,
     .minimo = 0,
     .nota_intervallo = "`inizio` + `lunghezza` at most the route length + 6998 m (code 15)",
     .regola = Regola::nessuna,
     .destinazione = "the points of the line file",
     .effetto = "The points from `inizio` + 1 to `inizio` + `lunghezza` each turn by the class's "
                "turn per metre."},
};

constexpr CampoRecord kCampiMontagna[] = {
    posizione("inizio", 0, 0, "The first cell of the section."),
    {.nome = "fine",
     .titolo = "end of the section",
     .unita = Unita::metri,
     .minimo = 0,
     .limite = Limite::celle,
     .codice_intervallo = kFuoriCelle,
     .multiplo = 50,
     .regola = Regola::cella,
     .formula = cella(1, -1),
     .effetto = "The last cell of the section."},
    {.nome = "tipo",
     .titolo = "section type",
     .minimo = 0,
     .massimo = 265,
     .regola = Regola::tipo_montagna,
     .formula = letto(2),
     .destinazione = "`montagna` of the section's cells",
     .effetto = "Above 10 the section also gets a mountain marker (cell `tipo` 11) in every "
                "fourth empty cell, and the type stored is `tipo` - 10 (the built-in line uses "
                "11). A section that starts 150 m or less after the previous one ends gets type "
                "3 whatever it says."},
};

/// A speed of a maximum-speed board: field `sinistra` of the left board
/// and `destra` of the right one share the stored word `parola`.
constexpr CampoRecord velocita_cartello(std::string_view nome, std::string_view titolo,
                                        int sinistra, int destra, std::string_view parola) {
  return {.nome = nome,
          .titolo = titolo,
          .unita = Unita::km_h,
          .minimo = 0,
          .nota_intervallo = "the stored word within -32768 to 32767 (code 25)",
          .formula = {{T(destra), T(sinistra, 100)}, 0, 5},
          .riduzione = Riduzione::intero_controllato,
          .destinazione = parola};
}

/// The stripes of a maximum-speed board.
constexpr CampoRecord strisce(std::string_view nome, std::string_view titolo) {
  return {.nome = nome,
          .titolo = titolo,
          .minimo = 0,
          .massimo = 9,
          .formula = {{T(4, 10), T(8)}},
          .riduzione = Riduzione::bassi16,
          .destinazione = "`dato4` of the boards' cell"};
}

constexpr CampoRecord kCampiIndicatori[] = {
    posizione("posizione", 0, 1,
              "The boards' cell gets `tipo` 6; it must be free (code 21). Empty fields of the "
              "record read as 0."),
    velocita_cartello("vas", "left board, first speed", 1, 5, "`dato1` of the boards' cell"),
    velocita_cartello("vbs", "left board, second speed", 2, 6, "`dato2` of the boards' cell"),
    velocita_cartello("vcs", "left board, third speed", 3, 7, "`dato3` of the boards' cell"),
    strisce("strisces", "left board, stripes"),
    velocita_cartello("vad", "right board, first speed", 1, 5, "`dato1` of the boards' cell"),
    velocita_cartello("vbd", "right board, second speed", 2, 6, "`dato2` of the boards' cell"),
    velocita_cartello("vcd", "right board, third speed", 3, 7, "`dato3` of the boards' cell"),
    strisce("strisced", "right board, stripes"),
};

constexpr CampoRecord kCampiCartello[] = {
    posizione("posizione", 0, 1,
              "The board's cell gets `tipo` 14 and, in `dato1`, the parameter entry that holds "
              "the text; it must be free (code 6)."),
    {.nome = "testo",
     .titolo = "board text",
     .larghezza = Larghezza::testo,
     .nota_intervallo = "no commas (a comma ends the field)",
     .regola = Regola::testo,
     .destinazione = "`nome` of parameter entry 80, 79, ... (one per board, in file order)",
     .effetto = "The board's text for the simulator; the built-in boards write each line of the "
                "board in parentheses, as in \"(diramazioni)(per  TORINO)\"."},
};

// --- Train script -----------------------------------------------------

constexpr CampoRecord kCampiMassaFrenata[] = {
    {.nome = "percentuale",
     .titolo = "braked-mass percentage",
     .unita = Unita::per_cento,
     .minimo = 0,
     .formula = letto(0),
     .destinazione = "parameter entry 84 `inizio`"},
};

constexpr CampoRecord kCampiVetture[] = {
    {.nome = "vetture",
     .titolo = "number of cars",
     .unita = Unita::vetture,
     .minimo = 0,
     .formula = letto(0),
     .destinazione = "parameter entry 84 `posizione`"},
};

constexpr CampoRecord kCampiVelocita[] = {
    posizione("posizione", 0, 0,
              "The speed holds from this cell on: the cells from the previous speed record's "
              "cell up to the one before this get the previous speed."),
    {.nome = "velocita",
     .titolo = "line speed",
     .unita = Unita::km_h,
     .minimo = 0,
     .massimo = 1277,
     .codice_intervallo = kLetturaFallita,
     .multiplo = 5,
     .formula = {{T(1)}, 0, 5},
     .riduzione = Riduzione::byte_controllato,
     .destinazione = "`velocita` of the cells up to the next speed record",
     .effetto = "Each cell keeps the speed in units of 5 km/h."},
};

constexpr CampoRecord kCampiAderenza[] = {
    posizione("posizione", 0, 0,
              "The adhesion holds from this cell on: the cells from the previous adhesion "
              "record's cell up to the one before this get the previous value."),
    {.nome = "aderenza",
     .titolo = "adhesion",
     .minimo = 0,
     .massimo = 255,
     .formula = letto(1),
     .riduzione = Riduzione::bassi8,
     .destinazione = "`aderenza` of the cells up to the next adhesion record",
     .effetto = "The built-in train uses 100 and 70."},
};

/// A part of a time of day, stored as read in a 16-bit field.
constexpr CampoRecord parte_orologio(std::string_view nome, Unita unita, std::int64_t massimo,
                                     int k, std::string_view destinazione) {
  return {.nome = nome,
          .titolo = nome == "ore"      ? "hours"
                    : nome == "minuti" ? "minutes"
                                       : "seconds",
          .unita = unita,
          .larghezza = Larghezza::intero16,
          .minimo = 0,
          .massimo = massimo,
          .formula = letto(k),
          .destinazione = destinazione};
}

constexpr CampoRecord kCampiOrologio[] = {
    parte_orologio("ore", Unita::ore, 23, 0, "parameter entry 86 `valore3`"),
    parte_orologio("minuti", Unita::minuti, 59, 1, "parameter entry 86 `valore4`"),
    parte_orologio("secondi", Unita::secondi, 59, 2, "parameter entry 86 `valore5`"),
};

constexpr CampoRecord kCampiSabbia[] = {
    {.nome = "sabbia",
     .titolo = "sand supply",
     .larghezza = Larghezza::intero16,
     .minimo = 0,
     .formula = letto(0),
     .destinazione = "parameter entry 86 `valore1`"},
};

// Field numbers of the signal record.
constexpr int kSx = 1, kS1 = 2, kS2 = 3, kS3 = 4, kRapp = 5, kDx = 6, kD1 = 7, kD2 = 8, kD3 = 9;

/// A kind of a signal side: part of `dato4` and of the approach markers.
constexpr CampoRecord tipo_lato(std::string_view nome, std::string_view titolo,
                                std::string_view effetto) {
  return {.nome = nome,
          .titolo = titolo,
          .minimo = 0,
          .massimo = 2,
          .formula = {{T(kRapp, 10), T(kSx, 3), T(kDx)}},
          .riduzione = Riduzione::bassi16,
          .destinazione = "`dato4` of the signal's cell",
          .effetto = effetto};
}

/// An aspect value of a signal side: one digit of a data word.
constexpr CampoRecord cifra_segnale(std::string_view nome, std::string_view titolo, int sinistra,
                                    int destra, std::string_view parola) {
  return {.nome = nome,
          .titolo = titolo,
          .minimo = 0,
          .massimo = 9,
          .formula = {{T(sinistra, 10), T(destra)}},
          .riduzione = Riduzione::bassi16,
          .destinazione = parola};
}

constexpr CampoRecord kCampiSegnale[] = {
    posizione("posizione", 0, 1,
              "The signal's cell gets `tipo` 1; it must be free (code 16). The cells 100, 200, "
              "300 and 400 m before it get the approach markers 10 × (3 × `sx` + `dx`) + 1 to 4 "
              "in `avvicinamento`. Cell 1 (a signal in the first 25 m) is reserved (codes 1250, "
              "1251)."),
    tipo_lato("sx", "left side, kind",
              "Also in the approach markers; with `sx` = 2 the cell keeps `tempo`."),
    cifra_segnale("s1", "left side, first value", kS1, kD1, "`dato1` of the signal's cell"),
    cifra_segnale("s2", "left side, second value", kS2, kD2, "`dato2` of the signal's cell"),
    cifra_segnale("s3", "left side, third value", kS3, kD3, "`dato3` of the signal's cell"),
    {.nome = "rapp",
     .titolo = "value of the whole signal",
     .minimo = 0,
     .massimo = 3275,
     .formula = {{T(kRapp, 10), T(kSx, 3), T(kDx)}},
     .riduzione = Riduzione::bassi16,
     .destinazione = "`dato4` of the signal's cell",
     .effetto = "The tens and above of `dato4`."},
    tipo_lato("dx", "right side, kind", "Also in the approach markers."),
    cifra_segnale("d1", "right side, first value", kS1, kD1, "`dato1` of the signal's cell"),
    cifra_segnale("d2", "right side, second value", kS2, kD2, "`dato2` of the signal's cell"),
    cifra_segnale("d3", "right side, third value", kS3, kD3, "`dato3` of the signal's cell"),
    {.nome = "tempo",
     .titolo = "signal time",
     .minimo = 0,
     .massimo = 255,
     .regola = Regola::tempo_segnale,
     .formula = letto(10),
     .destinazione = "`tempo` of the signal's cell"},
};

constexpr CampoRecord kCampiRallentamento[] = {
    posizione("x", 0, 1,
              "The start cell gets `tipo` 3 (code 18 when taken). Beyond 1500 m the warning "
              "board 1200 m before it, cell round((`x` - 1200) / 50 + 1), gets `tipo` 4 (code 17 "
              "when taken); at 1500 m or less there is no warning board."),
    {.nome = "v",
     .titolo = "speed",
     .unita = Unita::km_h,
     .minimo = 0,
     .massimo = 32767,
     .formula = letto(1),
     .riduzione = Riduzione::bassi16,
     .destinazione = "`dato1` of the start, end and warning board cells",
     .effetto = "Below 110 km/h the compile also puts a code cell every 400 m inside the "
                "slowdown."},
    {.nome = "l",
     .titolo = "length",
     .unita = Unita::metri,
     .minimo = 0,
     .multiplo = 50,
     .nota_intervallo = "`x` + `l` inside the cell array (code 15)",
     .regola = Regola::cella,
     .formula = {{T(0), T(2)}, 0, 50, 1},
     .effetto = "The end cell gets `tipo` 2 (code 19 when taken)."},
    {.nome = "f_tt",
     .titolo = "slowdown value `f_tt`",
     .formula = letto(3),
     .riduzione = Riduzione::bassi16,
     .destinazione = "`dato3` of the start and end cells"},
    {.nome = "f_ta",
     .titolo = "switch for the cells before the warning board",
     .regola = Regola::nessuna,
     .effetto = "Non-zero: the four cells before the warning board get `tipo` 5 with `dato1` 1 "
                "(nearest) to 4 (code 20 when one is taken). Ignored when there is no warning "
                "board."},
    {.nome = "d_v",
     .titolo = "slowdown value `d_v`",
     .formula = letto(5),
     .riduzione = Riduzione::bassi16,
     .destinazione = "`dato2` of the start, end and warning board cells",
     .effetto = "Written only when non-zero; then the four cells before the warning board also "
                "get 1 to 4 in `dato2`."},
};

constexpr CampoRecord kCampiAbbattimento[] = {
    posizione("posizione", 0, 0,
              "The code cell; it must hold no element other than a mountain marker (code 7). "
              "Note the cell is round(`posizione` / 50), one before a signal at the same "
              "position."),
    {.nome = "valore",
     .titolo = "code value",
     .massimo = 32767,
     .regola = Regola::valore_abbattimento,
     .formula = letto(1),
     .destinazione = "`dato1` of the code cell",
     .effetto = "1 or more: a code cell (`tipo` 12) with this value; 0 or less: a code cell "
                "without value (`tipo` 13)."},
};

/// A station attribute, stored as read (field `k` of the station record).
constexpr CampoRecord attributo(std::string_view nome, Larghezza larghezza, int k,
                                std::string_view destinazione, std::string_view effetto = "") {
  return voce(nome, "station attribute", larghezza, k, destinazione, effetto);
}

/// A part of the station's time, added into `orario`.
constexpr CampoRecord parte_orario(std::string_view nome, Unita unita, std::int64_t massimo) {
  return {.nome = nome,
          .titolo = nome == "ore"      ? "hours"
                    : nome == "minuti" ? "minutes"
                                       : "seconds",
          .unita = unita,
          .minimo = 0,
          .massimo = massimo,
          .formula = {{T(13, 3600), T(14, 60), T(15)}},
          .riduzione = Riduzione::long_controllato,
          .destinazione = "the station's `orario`, seconds after midnight"};
}

constexpr CampoRecord kCampiStazione[] = {
    {.nome = "posizione",
     .titolo = "station position",
     .unita = Unita::metri,
     .minimo = 0,
     .limite = Limite::celle_stazione,
     .codice_intervallo = kFuoriCelle,
     .multiplo = 50,
     .codice_multiplo = kStazionePosizione,
     .formula = letto(0),
     .destinazione = "the station's `posizione`",
     .effetto = "The station's area lies around it (see `tipo`)."},
    {.nome = "tipo",
     .titolo = "station type",
     .larghezza = Larghezza::byte8,
     .formula = letto(1),
     .destinazione = "the station's `tipo`",
     .effetto = "Fixes the area from `inizio` to `fine` and the cell marks. 5 and 6: "
                "`posizione` - `lunghezza` to `posizione` + 150, no approach markers; 7 and 8: "
                "`posizione` - `lunghezza` to `posizione` + `lunghezza`; any other: centred, "
                "`lunghezza` / 2 each way. Below 25 the cell round(`fine` / 50 - 1) gets the "
                "end mark (`tipo` 10, the station's number in `dato1`) and, except for 5 and 6, "
                "the four cells before it the approach markers 81 to 84. 25 and above: no cell "
                "marks."},
    {.nome = "lunghezza",
     .titolo = "length of the station",
     .unita = Unita::metri,
     .minimo = 0,
     .multiplo = 100,
     .codice_multiplo = kStazioneLunghezza,
     .regola = Regola::nessuna,
     .destinazione = "the station's `inizio` and `fine` (with `tipo`)",
     .effetto = "Not stored itself. Under 600 m it clears `flag4`."},
    attributo("opzione", Larghezza::byte8, 3, "the station's `opzione`"),
    attributo("flag4", Larghezza::byte8, 4, "the station's `flag4`",
              "Cleared when `lunghezza` is under 600 m, and for the first station."),
    attributo("flag3", Larghezza::byte8, 5, "the station's `flag3`",
              "Non-zero lengthens an ordinary station's end by 50 m; cleared for types 5 to 8 "
              "and for the first station."),
    attributo("valore1", Larghezza::intero16, 6, "the station's `valore1`"),
    attributo("valore2", Larghezza::intero16, 7, "the station's `valore2`"),
    attributo("flag1", Larghezza::byte8, 8, "the station's `flag1`"),
    attributo("valore3", Larghezza::intero16, 9, "the station's `valore3`"),
    attributo("valore4", Larghezza::intero16, 10, "the station's `valore4`"),
    attributo("valore5", Larghezza::intero16, 11, "the station's `valore5`"),
    attributo("flag2", Larghezza::byte8, 12, "the station's `flag2`"),
    parte_orario("ore", Unita::ore, 23),
    parte_orario("minuti", Unita::minuti, 59),
    parte_orario("secondi", Unita::secondi, 59),
    {.nome = "nome",
     .titolo = "station name",
     .larghezza = Larghezza::testo,
     .nota_intervallo = "the rest of the line, no commas; printable ASCII",
     .regola = Regola::testo,
     .destinazione = "the station's `nome`",
     .effetto = "Printed in the timetable sheet; the file keeps one byte per character."},
};

// --- The records -------------------------------------------------------

constexpr RecordRiferimento kRecord[] = {
    {Sezione::generale_linea, 0, "lunghezza percorso", "route length", "",
     "lunghezza percorso,    103000",
     "The length of the route. Required: without it there is no cell array and the compile "
     "fails (code 25).",
     kCampiLunghezza},
    {Sezione::generale_linea, 1, "progressiva chilometrica tre", "chainage system three", "",
     "progressiva chilometrica tre,    0,    0,    0",
     "One of up to three chainage systems, read into parameter entry 81 and carried to the "
     "simulator. A system that is not needed is written with three zeros.",
     kCampiProgressiva},
    {Sezione::generale_linea, 2, "progressiva chilometrica due", "chainage system two", "",
     "progressiva chilometrica due,    1500,    -1500,    0",
     "One of up to three chainage systems, read into parameter entry 82 and carried to the "
     "simulator.",
     kCampiProgressiva},
    {Sezione::generale_linea, 3, "progressiva chilometrica uno", "chainage system one", "",
     "progressiva chilometrica uno,    0,    90000,    1",
     "One of up to three chainage systems, read into parameter entry 83 and carried to the "
     "simulator.",
     kCampiProgressiva},
    {Sezione::generale_linea, 4, "sfondo uno", "scenery setting one", "", "sfondo uno,    1",
     "The first of three scenery settings.", kCampiSfondoUno},
    {Sezione::generale_linea, 5, "sfondo due", "scenery setting two", "", "sfondo due,    0",
     "The second of three scenery settings.", kCampiSfondoDue},
    {Sezione::generale_linea, 6, "sfondo tre", "scenery setting three", "", "sfondo tre,    0",
     "The third of three scenery settings.", kCampiSfondoTre},
    {Sezione::generale_linea, 7, "ripetizione segnali", "cab-signalling stretch",
     "The keyword must also contain \"4\" or \"9\", the number of codes of the cab-signalling "
     "system (\"4\" is looked for first); with neither the compile stops with code 5.",
     "ripetizione segnali 4 codici,    0    ,0",
     "The stretch of route equipped with cab signalling. Parameter entry 86 `posizione` gets "
     "the number of codes, 4 or 9, or 0 when `fine` is 0.",
     kCampiRipetizione},

    {Sezione::corpo_linea, 0, "pendenza", "gradient", "", "pendenza,  1500,   -5",
     "The gradient from this position up to the next gradient record (0 before the first). "
     "Records stand in ascending order of position.",
     kCampiPendenza},
    {Sezione::corpo_linea, 1, "curva", "curve",
     "The keyword is \"curva\" with a side letter and a class digit, as in \"curvas4\" or "
     "\"curvad3\": left when it contains \"s\" (any case), right otherwise; the class is the "
     "first of the digits 1 to 6 found in it, and a curve without one is code 103. Curves are "
     "read only when the line file is built (not with `compile --no-line`, where their numbers "
     "are read as keyword fields that match nothing).",
     "curvas4,  500,  950",
     "A curve of the track plan, turning by its class's turn per metre over its length; the "
     "track runs straight between curves. Curves stand in ascending order and do not overlap "
     "(a curve that starts behind the plan already computed loses its first part).",
     kCampiCurva},
    {Sezione::corpo_linea, 2, "montagna", "mountain section", "", "montagna,   8700,  11050,  11",
     "A mountain section: its cells get the section's type in `montagna`. At most 80 sections "
     "(one more is a read failure, code 25).",
     kCampiMontagna},
    {Sezione::corpo_linea, 3, "indicatori_vmax", "pair of maximum-speed boards", "",
     "indicatori_vmax,  1550,  125,  135,  135,  0,  ,  ,  ,  0",
     "A pair of maximum-speed boards in one cell: the left board's values (`vas`, `vbs`, `vcs`, "
     "`strisces`) and the right board's (`vad`, `vbd`, `vcd`, `strisced`). Each speed word "
     "counts the left board's speed 20 per km/h and the right board's 1 per 5 km/h; the "
     "stripes word holds the left board's as tens and the right board's as units.",
     kCampiIndicatori},
    {Sezione::corpo_linea, 4, "cartello_indicatore", "indicator board", "",
     "cartello_indicatore,  7150,   (PL km)(5+640)",
     "A board with a text. Texts take parameter entries 80, 79, ... and share them with the "
     "train's stations: at most 80 boards, and with b boards at most 78 - b stations (code 10).",
     kCampiCartello},

    {Sezione::treno, 0, "percentuale massa frenata", "braked-mass percentage", "",
     "percentuale massa frenata,    105", "The train's braked-mass percentage.",
     kCampiMassaFrenata},
    {Sezione::treno, 1, "numero vetture", "number of cars", "", "numero vetture,    4",
     "The number of cars of the train.", kCampiVetture},
    {Sezione::treno, 2, "velocita", "line speed", "", "velocita,    1500,   135",
     "The speed limit from this position up to the next speed record. Records stand in "
     "ascending order of position; the first at 0.",
     kCampiVelocita},
    {Sezione::treno, 3, "aderenza", "adhesion", "", "aderenza,   66550,    70",
     "The adhesion from this position up to the next adhesion record. Records stand in "
     "ascending order of position; the first at 0.",
     kCampiAderenza},
    {Sezione::treno, 4, "orologio", "start time", "",
     "orologio,    14              24            40 ",
     "The simulated time at which the run starts. The three numbers may be separated by blanks "
     "instead of commas.",
     kCampiOrologio},
    {Sezione::treno, 5, "sabbia", "sand supply", "", "sabbia,    300", "The train's sand supply.",
     kCampiSabbia},
    {Sezione::treno, 6, "segnale", "signal", "",
     "segnale,   67400,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
     "A signal with a left side (`sx`, `s1` to `s3`) and a right side (`dx`, `d1` to `d3`); "
     "each data word of its cell holds the left side's value as tens and the right side's as "
     "units (`dato1` from `s1` and `d1`, and so on). When a slowdown "
     "warning board stands within 20 cells after it, the compile puts a code cell just before "
     "it.",
     kCampiSegnale},
    {Sezione::treno, 7, "rallentamento", "slowdown", "",
     "rallentamento,   93800,    40,  200, 0,  1,  0",
     "A temporary speed restriction from `x` over `l` metres at `v` km/h, with a warning board "
     "1200 m before its start. The compile adds code cells before and inside it.",
     kCampiRallentamento},
    {Sezione::treno, 8, "abbattimento", "code cell", "", "abbattimento,   50000,   180",
     "A cab-signalling code cell placed by hand.", kCampiAbbattimento},
    {Sezione::treno, 9, "stazione", "station", "",
     "stazione,   66600,  4,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  14,25, 0, NOVARA",
     "One station of the timetable, numbered 1, 2, 3, ... in file order and stored in that "
     "parameter entry. From the second on, its start (`inizio`) less 350 m must not lie before "
     "the previous station's end (code 22); an ordinary station (type below 25) must end "
     "beyond 100 m (code 24).",
     kCampiStazione},
};

constexpr std::size_t kPrimoCorpo = kTabellaGenerale.size();
constexpr std::size_t kPrimoTreno = kPrimoCorpo + kTabellaLinea.size();
static_assert(std::size(kRecord) == kPrimoTreno + kTabellaTreno.size(),
              "one reference entry per keyword");

constexpr NotaLinguaggio kNote[] = {
    {"Files",
     "A scenario is two scripts in one folder: the line script `ROUTE_linea.txt` and the train "
     "script `ROUTE_TRAIN-.txt` (a hyphen right before the extension). Both are 8-bit text "
     "(Windows-1252) with CR LF line ends; a lone LF or CR also ends a line. The line script is "
     "read first."},
    {"Fields",
     "A script is read as a stream of fields. A field ends at the next comma or at the end of "
     "the line, which go with it; blanks before a field are skipped. A number is a whole "
     "number, optionally preceded by \"-\"; it also ends at the first blank after its digits, "
     "so numbers may stand on a line separated by blanks alone, and \"0    ,0\" is two numbers. "
     "An empty numeric field reads as 0. A value that is not a whole number (\"120.5\", "
     "\"1;2\") or does not fit its field's width is a read failure: code 25. A text field is "
     "read whole, blanks inside it included."},
    {"Records and keywords",
     "Every record is one line: a keyword field, then exactly the value fields its table lists. "
     "The reader does not know where a line ends: extra fields are read as the keyword fields "
     "of further lines, and missing ones are taken from the next line. A keyword field is "
     "tested against the keywords of its section in table order: a test passes when the field "
     "contains the text anywhere, in any case unless marked exact-case; where two texts are "
     "given it must contain both. Every test is made on the same field, so a field that passes "
     "several tests reads the values of each record in turn. A keyword field that passes no "
     "test is ignored, and the next field is taken as the next keyword field."},
    {"Comments",
     "A keyword field that contains \"-\" is a comment: it is skipped and the next field read "
     "in its place, up to ten in a row in the line script's general section and up to two in a "
     "row elsewhere (one more is taken as a keyword field whatever it holds). A comment is "
     "therefore a line without commas that contains \"-\". Negative numbers in value fields are "
     "not affected."},
    {"Line script",
     "Everything before the first field that contains \"[generale]\" (any case) is ignored; a "
     "line script without one is code 102. The general section follows: its records in any "
     "order, a repeated one overwriting the earlier. The first field that contains both \"[\" "
     "and \"]\" and does not begin with \"-\" ends it and opens the body (the built-in script "
     "uses \"[curve]\"). The body's records stand in any order under any headers "
     "(\"[pendenze]\", \"[montagne]\", \"[cartelli]\", \"[indicazioni]\"), which match no "
     "keyword. A last field that reaches the end of the file is not interpreted: end the file "
     "with a line such as \"[fine]\"."},
    {"Train script",
     "Everything before the first field that contains \"[generale]\" is ignored; a train script "
     "without one gives no record and no error. Then all train records, in any order, under any "
     "headers (\"[aderenze]\", \"[vel_limite]\", \"[stazioni]\", \"[rallentamenti]\", "
     "\"[segnali]\", \"[codici]\", \"[fine]\"). Every train keyword test is in any case."},
    {"Positions and cells",
     "Positions are whole metres from the start of the route. The route is cut into cells of "
     "50 m, from cell 0 to cell round((route length + 7000) / 50). An element goes to the cell "
     "round(p / 50 + 1) (signals, boards, slowdowns) or round(p / 50) (profile records, code "
     "cells), an exact half going to the even neighbour: 325 / 50 + 1 = 7.5 gives 8, and so "
     "does 375 / 50 + 1 = 8.5. Every element needs a free cell: empty, or holding only a "
     "mountain marker. A position must not be negative and must satisfy p + 100 <= 50 × the "
     "last cell index (about the route length + 6900 m; stations p + 800): beyond is code 15, "
     "and that script is read no further."},
    {"Errors",
     "The first coded error stops the reading where it was found; a code 15 in the line script "
     "still lets the train script be read. The codes are listed at the end of this reference, "
     "and `scenario_tool explain CODE` explains each."},
};

/// True when `t` is written as read: one term, times 1, nothing else.
bool come_letto(const Formula& f) {
  return f.termini[0].per == 1 && f.termini[1].campo < 0 && f.termini[2].campo < 0 &&
         f.prima == 0 && f.diviso == 1 && f.dopo == 0;
}

std::string con_segno(std::int64_t v, bool primo) {
  if (primo) return std::to_string(v);
  return v < 0 ? " - " + std::to_string(-v) : " + " + std::to_string(v);
}

/// The formula in words, each term by its field's name in backticks or,
/// with `valori`, by its value.
std::string testo_formula(const RecordRiferimento& r, const Formula& f,
                          std::span<const std::int64_t> valori, bool con_valori) {
  std::string somma;
  int parti = 0;
  for (const Termine& t : f.termini) {
    if (t.campo < 0 || t.per == 0) continue;
    const std::size_t k = static_cast<std::size_t>(t.campo);
    // Built by appending: GCC 12 misreads `"(" + nome` as overlapping copies.
    std::string nome;
    if (!con_valori) {
      nome += '`';
      nome += k < r.campi.size() ? r.campi[k].nome : "?";
      nome += '`';
    } else if (valori[k] < 0) {
      nome += '(';
      nome += std::to_string(valori[k]);
      nome += ')';
    } else {
      nome = std::to_string(valori[k]);
    }
    if (parti > 0) somma += " + ";
    somma += t.per == 1 ? nome : std::to_string(t.per) + " × " + nome;
    ++parti;
  }
  if (f.prima != 0) {
    somma += con_segno(f.prima, false);
    ++parti;
  }
  if (f.diviso == 1) return somma + (f.dopo != 0 ? con_segno(f.dopo, false) : "");
  std::string q = (parti > 1 ? "(" + somma + ")" : somma) + " / " + std::to_string(f.diviso);
  if (f.dopo != 0) q += con_segno(f.dopo, false);
  return "round(" + q + ")";
}

std::string testo_riduzione(Riduzione r) {
  switch (r) {
    case Riduzione::nessuna:
    case Riduzione::long_controllato:
      return "";
    case Riduzione::intero_controllato:
      return ", must fit 16 bits (code 25)";
    case Riduzione::byte_controllato:
      return ", one byte: 0 to 255 (code 25)";
    case Riduzione::bassi16:
      return ", low 16 bits";
    case Riduzione::bassi8:
      return ", low 8 bits";
  }
  return "";
}

/// `v` narrowed by `r`, noting a change or a failure in `out`.
void riduci(Riduzione r, std::int64_t v, ValoreMemorizzato* out) {
  std::int64_t ridotto = v;
  switch (r) {
    case Riduzione::nessuna:
      break;
    case Riduzione::long_controllato:
      out->fallisce = v < INT32_MIN || v > INT32_MAX;
      break;
    case Riduzione::intero_controllato:
      out->fallisce = v < INT16_MIN || v > INT16_MAX;
      break;
    case Riduzione::byte_controllato:
      out->fallisce = v < 0 || v > 255;
      break;
    case Riduzione::bassi16:
      ridotto =
          static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v)));
      break;
    case Riduzione::bassi8:
      ridotto = static_cast<std::uint8_t>(static_cast<std::uint64_t>(v));
      break;
  }
  if (ridotto != v) out->esatto = false;
  out->valore = ridotto;
}

/// The formula's value, rounded as the compiler rounds.
ValoreMemorizzato calcola(const Formula& f, std::span<const std::int64_t> valori) {
  ValoreMemorizzato out;
  std::int64_t somma = f.prima;
  for (const Termine& t : f.termini) {
    if (t.campo < 0) continue;
    const std::size_t k = static_cast<std::size_t>(t.campo);
    if (k >= valori.size()) return {};
    // Values come from 32-bit fields; a value beyond that range makes no
    // record, and is refused here before it could overflow.
    if (valori[k] < INT32_MIN || valori[k] > INT32_MAX) return {};
    somma += std::int64_t{t.per} * valori[k];
  }
  out.presente = true;
  if (f.diviso == 1) {
    out.valore = somma + f.dopo;
  } else {
    out.valore = static_cast<std::int64_t>(
        std::nearbyint(static_cast<double>(somma) / f.diviso + static_cast<double>(f.dopo)));
    out.esatto = somma % f.diviso == 0;
  }
  return out;
}

std::size_t indice_di(Sezione s, std::size_t ordine) {
  switch (s) {
    case Sezione::generale_linea:
      return ordine;
    case Sezione::corpo_linea:
      return kPrimoCorpo + ordine;
    case Sezione::treno:
      return kPrimoTreno + ordine;
  }
  return 0;
}

}  // namespace

std::span<const RecordRiferimento> riferimento_record() {
  return kRecord;
}

const RecordRiferimento& riferimento(RecordGenerale record) {
  return kRecord[indice_di(Sezione::generale_linea, static_cast<std::size_t>(record))];
}
const RecordRiferimento& riferimento(RecordLinea record) {
  return kRecord[indice_di(Sezione::corpo_linea, static_cast<std::size_t>(record))];
}
const RecordRiferimento& riferimento(RecordTreno record) {
  return kRecord[indice_di(Sezione::treno, static_cast<std::size_t>(record))];
}
const RecordRiferimento& riferimento(TipoRecord tipo) {
  // The outline's record kinds follow the keyword tables in the same order
  // as the reference: the general section's, the body's, the train's.
  static_assert(static_cast<std::size_t>(TipoRecord::pendenza) == kPrimoCorpo);
  static_assert(static_cast<std::size_t>(TipoRecord::massa_frenata) == kPrimoTreno);
  static_assert(static_cast<std::size_t>(TipoRecord::stazione) + 1 == std::size(kRecord));
  return kRecord[static_cast<std::size_t>(tipo)];
}

ParolaChiave parola_chiave(const RecordRiferimento& record) {
  switch (record.sezione) {
    case Sezione::generale_linea:
      return kTabellaGenerale[record.ordine].parola;
    case Sezione::corpo_linea:
      return kTabellaLinea[record.ordine].parola;
    case Sezione::treno:
      return kTabellaTreno[record.ordine].parola;
  }
  return {};
}

std::vector<const RecordRiferimento*> record_per_chiave(std::string_view campo) {
  std::vector<const RecordRiferimento*> trovati;
  if (contiene(campo, "-")) return trovati;
  for (const RecordRiferimento& r : kRecord) {
    if (parola_chiave(r).corrisponde(campo)) trovati.push_back(&r);
  }
  return trovati;
}

const CampoRecord* campo_per_nome(const RecordRiferimento& record, std::string_view nome) {
  for (const CampoRecord& c : record.campi) {
    if (c.nome == nome) return &c;
  }
  return nullptr;
}

std::span<const NotaLinguaggio> note_linguaggio() {
  return kNote;
}

std::string_view nome_sezione(Sezione sezione) {
  switch (sezione) {
    case Sezione::generale_linea:
      return "line script, general section";
    case Sezione::corpo_linea:
      return "line script, body";
    case Sezione::treno:
      return "train script";
  }
  return "";
}

std::string_view nome_unita(Unita unita) {
  switch (unita) {
    case Unita::nessuna:
      return "";
    case Unita::metri:
      return "m";
    case Unita::km_h:
      return "km/h";
    case Unita::per_mille:
      return "per mille";
    case Unita::per_cento:
      return "per cent";
    case Unita::vetture:
      return "cars";
    case Unita::ore:
      return "hours";
    case Unita::minuti:
      return "minutes";
    case Unita::secondi:
      return "seconds";
  }
  return "";
}

std::string_view nome_larghezza(Larghezza larghezza) {
  switch (larghezza) {
    case Larghezza::long32:
      return "32-bit";
    case Larghezza::intero16:
      return "16-bit";
    case Larghezza::byte8:
      return "Byte";
    case Larghezza::testo:
      return "text";
  }
  return "";
}

std::string testo_chiave(const RecordRiferimento& record) {
  const ParolaChiave p = parola_chiave(record);
  std::string s = "contains ";
  if (!p.altro.empty()) s += "both ";
  s += '"';
  s += p.testo;
  s += '"';
  if (!p.altro.empty()) {
    s += " and \"";
    s += p.altro;
    s += '"';
  }
  s += p.esatto ? " (exact case)" : " (any case)";
  if (!record.nota_chiave.empty()) {
    s += ". ";
    s += record.nota_chiave;
  }
  if (record.sezione == Sezione::corpo_linea &&
      record.ordine == static_cast<std::uint8_t>(RecordLinea::curva)) {
    s += " Turn per metre of each class:";
    const char* separatore = " ";
    for (const auto& [cifra, svolta] : kClassiCurva) {
      char testo[64];
      std::snprintf(testo, sizeof testo, "%s%c = %g (radius %.0f m)", separatore, cifra, svolta,
                    1.0 / svolta);
      s += testo;
      separatore = ", ";
    }
    s += ".";
  }
  return s;
}

std::int64_t massimo_per(const CampoRecord& campo, std::int32_t numero_celle) {
  const std::int64_t fine = 50 * static_cast<std::int64_t>(numero_celle);
  switch (campo.limite) {
    case Limite::fisso:
      return campo.massimo;
    case Limite::celle:
      return std::min(campo.massimo, fine - 100);
    case Limite::celle_stazione:
      return std::min(campo.massimo, fine - 800);
  }
  return campo.massimo;
}

std::string testo_intervallo(const CampoRecord& campo) {
  std::int64_t basso = INT32_MIN, alto = INT32_MAX;
  if (campo.larghezza == Larghezza::intero16) basso = INT16_MIN, alto = INT16_MAX;
  if (campo.larghezza == Larghezza::byte8) basso = 0, alto = 255;
  std::string s;
  if (campo.larghezza == Larghezza::testo) {
    s = "any text";
  } else {
    const bool da = campo.minimo > basso, fino = campo.massimo < alto;
    const std::int64_t lo = std::max(campo.minimo, basso), hi = std::min(campo.massimo, alto);
    const bool largo = campo.larghezza == Larghezza::long32;
    if (campo.limite == Limite::celle) {
      s = std::to_string(lo) + " to about the route length + 6900 m (code " +
          std::to_string(campo.codice_intervallo) + ")";
    } else if (campo.limite == Limite::celle_stazione) {
      s = std::to_string(lo) + " to about the route length + 6200 m (code " +
          std::to_string(campo.codice_intervallo) + ")";
    } else if (!da && !fino) {
      s = largo ? "any whole number"
                : std::to_string(lo) + " to " + std::to_string(hi) + " (code 25)";
    } else {
      if (!largo || (da && fino)) {
        s = std::to_string(lo) + " to " + std::to_string(hi);
      } else {
        s = da ? std::to_string(lo) + " or more" : "at most " + std::to_string(hi);
      }
      s += campo.codice_intervallo != 0 ? " (code " + std::to_string(campo.codice_intervallo) + ")"
                                        : " (not checked)";
    }
  }
  if (campo.multiplo != 0) {
    s += "; a multiple of " + std::to_string(campo.multiplo);
    s += campo.codice_multiplo != 0 ? " (code " + std::to_string(campo.codice_multiplo) + ")"
                                    : " (not checked: rounded)";
  }
  if (!campo.nota_intervallo.empty()) {
    s += "; ";
    s += campo.nota_intervallo;
  }
  return s;
}

std::string testo_regola(const RecordRiferimento& record, const CampoRecord& campo) {
  const std::string dove(campo.destinazione);
  switch (campo.regola) {
    case Regola::formula:
      if (come_letto(campo.formula)) return dove + ", as read" + testo_riduzione(campo.riduzione);
      return dove + " = " + testo_formula(record, campo.formula, {}, false) +
             testo_riduzione(campo.riduzione);
    case Regola::cella:
      return "cell " + testo_formula(record, campo.formula, {}, false);
    case Regola::tempo_segnale:
      return dove + " = `tempo` when `sx` is 2 (1 to 100 become 101), else 0; low 8 bits";
    case Regola::tipo_montagna:
      return dove + " = `tipo`, less 10 when above 10; low 8 bits";
    case Regola::valore_abbattimento:
      return dove + " = `valore` when 1 or more, low 16 bits";
    case Regola::testo:
      return dove + ", as read";
    case Regola::nessuna:
      return dove.empty() ? "not stored" : dove;
  }
  return "";
}

ValoreMemorizzato valore_memorizzato(const RecordRiferimento& record, std::size_t k,
                                     std::span<const std::int64_t> valori) {
  if (k >= record.campi.size()) return {};
  const CampoRecord& campo = record.campi[k];
  switch (campo.regola) {
    case Regola::formula:
    case Regola::cella: {
      ValoreMemorizzato v = calcola(campo.formula, valori);
      if (v.presente) riduci(campo.riduzione, v.valore, &v);
      return v;
    }
    case Regola::tempo_segnale: {
      const std::size_t sx = static_cast<std::size_t>(kSx);
      if (k >= valori.size() || sx >= valori.size()) return {};
      ValoreMemorizzato v{.presente = true};
      if (valori[sx] != 2) {
        v.esatto = valori[k] == 0;
        return v;
      }
      const std::int64_t t = valori[k] >= 1 && valori[k] <= 100 ? 101 : valori[k];
      riduci(Riduzione::bassi8, t, &v);
      v.esatto = v.esatto && t == valori[k];
      return v;
    }
    case Regola::tipo_montagna: {
      if (k >= valori.size()) return {};
      ValoreMemorizzato v{.presente = true};
      riduci(Riduzione::bassi8, valori[k] > 10 ? valori[k] - 10 : valori[k], &v);
      return v;
    }
    case Regola::valore_abbattimento: {
      if (k >= valori.size() || valori[k] < 1) return {};
      ValoreMemorizzato v{.presente = true};
      riduci(Riduzione::bassi16, valori[k], &v);
      return v;
    }
    case Regola::testo:
    case Regola::nessuna:
      return {};
  }
  return {};
}

std::string testo_memorizzato(const RecordRiferimento& record, std::size_t k,
                              std::span<const std::int64_t> valori) {
  const ValoreMemorizzato v = valore_memorizzato(record, k, valori);
  if (!v.presente) return "";
  const CampoRecord& campo = record.campi[k];
  if (v.fallisce) {
    return testo_formula(record, campo.formula, valori, true) + " does not fit" +
           testo_riduzione(campo.riduzione);
  }
  const std::string valore = std::to_string(v.valore);
  const bool formula = campo.regola == Regola::formula || campo.regola == Regola::cella;
  const std::string conto = formula && !come_letto(campo.formula)
                                ? " = " + testo_formula(record, campo.formula, valori, true)
                                : "";
  if (campo.regola == Regola::cella) return "cell " + valore + conto;
  return valore + conto + ", in " + std::string(campo.destinazione);
}

}  // namespace scenario
