#include "compiler/error_codes.h"

#include <iterator>

namespace scenario {

namespace {

// The examples use a line of 20000 m: its cell array ends at cell 540, so
// positions up to 26900 m are inside it.
constexpr SpiegazioneCodice kSpiegazioni[] = {
    {codice::lunghezza_eccessiva, "route-too-long", "route length negative or above 1000000 m",
     "The \"lunghezza percorso\" record of the line script gives a length above 1000000 m, or a "
     "negative one. The compile stops right there: without a route length there is no cell "
     "array, and no file is written.",
     "Give the route length in metres, from 0 to 1000000.", LuogoEsempio::script_linea,
     "[generale]\n"
     "lunghezza percorso,    1000001\n"
     "[curve]\n"
     "[fine]"},
    {codice::progressiva_non_multipla, "chainage-not-multiple",
     "a chainage start or end is not a multiple of 50",
     "The first or second value of a \"progressiva chilometrica\" record is not a multiple of "
     "50. The values are tested after both scripts have been read, so this code comes last and "
     "replaces any code found before it (15 included).",
     "Make the first and second values of every chainage system multiples of 50; write a "
     "system that is not needed as three zeros.",
     LuogoEsempio::script_linea,
     "[generale]\n"
     "lunghezza percorso,    20000\n"
     "progressiva chilometrica uno,    25,    100,    0\n"
     "[curve]\n"
     "[fine]"},
    {codice::ripetizione_inizio, "cab-start-not-multiple",
     "cab-signalling start is not a multiple of 50",
     "The first value of the \"ripetizione segnali\" record, the start of the cab-signalling "
     "stretch, is not a multiple of 50. The reading stops there.",
     "Give the start as a multiple of 50 m (0 when the line has no cab signalling).",
     LuogoEsempio::script_linea,
     "[generale]\n"
     "lunghezza percorso,    20000\n"
     "ripetizione segnali 4 codici,    30,    5000\n"
     "[curve]\n"
     "[fine]"},
    {codice::ripetizione_fine, "cab-end-not-multiple", "cab-signalling end is not a multiple of 50",
     "The second value of the \"ripetizione segnali\" record, the end of the cab-signalling "
     "stretch, is not a multiple of 50. The reading stops there.",
     "Give the end as a multiple of 50 m; 0 means no cab signalling.", LuogoEsempio::script_linea,
     "[generale]\n"
     "lunghezza percorso,    20000\n"
     "ripetizione segnali 4 codici,    0,    5010\n"
     "[curve]\n"
     "[fine]"},
    {codice::ripetizione_codici, "cab-codes-missing",
     "cab-signalling keyword names neither 4 nor 9 codes",
     "The keyword of the \"ripetizione segnali\" record must also say how many codes the "
     "cab-signalling system has: it must contain \"4\" or \"9\". It contains neither.",
     "Write the number of codes into the keyword, as in \"ripetizione segnali 4 codici\" or "
     "\"ripetizione segnali 9 codici\".",
     LuogoEsempio::script_linea,
     "[generale]\n"
     "lunghezza percorso,    20000\n"
     "ripetizione segnali,    0,    5000\n"
     "[curve]\n"
     "[fine]"},
    {codice::cartello_occupato, "board-cell-taken", "indicator board on a cell that is not free",
     "A \"cartello_indicatore\" takes the cell round(position / 50 + 1), and that cell already "
     "holds another element of the line script: an indicator board or a pair of maximum-speed "
     "boards within the same 50 m (a mountain marker does not count). The reading stops there.",
     "Move one of the two boards to another cell: 50 m apart is always enough.",
     LuogoEsempio::corpo_linea,
     "indicatori_vmax,  7150,  125,  135,  135,  0,  ,  ,  ,  0\n"
     "cartello_indicatore,  7150,   (PL km)(5+640)"},
    {codice::abbattimento_occupato, "code-cell-taken", "code cell on a cell that is not free",
     "An \"abbattimento\" takes the cell round(position / 50), and that cell already holds an "
     "element (a mountain marker does not count). Note that a code cell takes the cell before "
     "the one a signal at the same position would take: a signal at 4950 m and a code cell at "
     "5000 m share cell 100.",
     "Move the code cell to a free cell, or remove the element it meets.",
     LuogoEsempio::corpo_treno,
     "segnale,   4950,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "abbattimento,   5000,   180"},
    {codice::stazione_posizione, "station-position-not-multiple",
     "station position is not a multiple of 50",
     "The first value of a \"stazione\" record, the station's position, is not a multiple of "
     "50. The reading stops there.",
     "Give the station's position as a multiple of 50 m.", LuogoEsempio::corpo_treno,
     "stazione,   5020,  4,  300,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 0, 0, ALFA"},
    {codice::stazione_lunghezza, "station-length-not-multiple",
     "station length is not a multiple of 100",
     "The third value of a \"stazione\" record, the station's length, is not a multiple of 100. "
     "The reading stops there.",
     "Give the station's length as a multiple of 100 m.", LuogoEsempio::corpo_treno,
     "stazione,   5000,  4,  250,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 0, 0, ALFA"},
    {codice::tabella_piena, "parameter-table-full",
     "stations and indicator boards overflow the parameter table",
     "Stations (parameter entries 1 upward, in train script order) and indicator board texts "
     "(entries 80 downward, in line script order) share the entries 1 to 80. With b boards, "
     "the station numbered 79 - b is code 10; an 81st board is code 10 as well. The reading "
     "stops there.",
     "Use fewer stations or indicator boards: with b boards, at most 78 - b stations fit.",
     LuogoEsempio::solo_testo,
     "a line script with 77 \"cartello_indicatore\" records, and a train script with two "
     "\"stazione\" records: the second is code 10."},
    {codice::segnale_prima_avviso, "no-room-before-signal",
     "no room for a code cell before a signal ahead of a slowdown warning board",
     "For every signal in the 20 cells (1000 m) before a slowdown's warning board, the compile "
     "puts a code cell in one of the two cells just before the signal. Both cells already hold "
     "elements that are not code cells. The compile goes on; the signal gets no code cell.",
     "Leave at least one of the two cells (100 m) before each such signal free: move the signal "
     "or the elements right before it.",
     LuogoEsempio::corpo_treno,
     "segnale,   8350,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   8400,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   8450,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "rallentamento,   10000,    40,  200, 0,  0,  0"},
    {codice::codici_prima_inizio, "no-room-before-slowdown",
     "no room for a code cell before a slowdown start",
     "Before a slowdown's start cell the compile puts three code cells, each in the first free "
     "of three candidates: 5 to 7, 11 to 13 and 18 to 20 cells before the start (250 to 350 m, "
     "550 to 650 m, 900 to 1000 m). All three candidates of one group hold elements. The "
     "compile goes on; that group gets no code cell.",
     "Keep at least one cell free in each of the three stretches before the slowdown's start.",
     LuogoEsempio::corpo_treno,
     "segnale,   9650,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   9700,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   9750,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "rallentamento,   10000,    40,  200, 0,  0,  0"},
    {codice::codici_rallentamento, "no-room-in-slowdown",
     "no room for a code cell inside or after a slowdown",
     "Inside a slowdown below 110 km/h the compile puts a code cell every 8 cells (400 m), one "
     "cell earlier or later when the cell is taken; and before the first signal within 12 "
     "cells after the slowdown's end it puts one in one of the two cells before that signal. "
     "Here all the cells it could use hold elements. The compile goes on without that code "
     "cell.",
     "Free a cell where the code cell goes: inside the slowdown near every 400 m, or just "
     "before the first signal after it.",
     LuogoEsempio::corpo_treno,
     "rallentamento,   10000,    40,  200, 0,  0,  0\n"
     "abbattimento,   10300,   180\n"
     "segnale,   10300,   1, 5, 1,  0, 0,    0,  0,0,0, 0"},
    {codice::fuori_celle, "position-out-of-range", "position outside the cell array",
     "A record's position is negative or lies beyond the cell array: p + 100 must not exceed "
     "50 times the last cell index, about the route length + 6900 m (stations: p + 800). A "
     "curve, mountain section or slowdown must also end inside it. The script is read no "
     "further; after one in the line script the train script is still read.",
     "Check the position against the route length in \"lunghezza percorso\": a typo often adds "
     "a digit. Positions count whole metres from the start of the route.",
     LuogoEsempio::corpo_treno, "segnale,   30000,   1, 5, 1,  0, 0,    0,  0,0,0, 0"},
    {codice::segnale_occupato, "signal-cell-taken", "signal on a cell that is not free",
     "A \"segnale\" takes the cell round(position / 50 + 1), and that cell already holds an "
     "element: a board of the line script or a record of the train script read before it, "
     "within the same 50 m (a mountain marker does not count). Positions are rounded to their "
     "cell: 5000 m and 5020 m are both cell 101. The reading stops there.",
     "Move one of the two elements into another cell: 50 m apart is always enough.",
     LuogoEsempio::corpo_treno,
     "segnale,   5000,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "segnale,   5020,   1, 3, 1,  0, 0,    0,  0,0,0, 0"},
    {codice::avviso_occupato, "warning-board-cell-taken",
     "slowdown warning board on a cell that is not free",
     "A slowdown that starts beyond 1500 m has a warning board 1200 m before its start, in the "
     "cell round((x - 1200) / 50 + 1); that cell already holds an element. The reading stops "
     "there, and nothing of the slowdown is written.",
     "Move the element that stands 1200 m before the slowdown, or the slowdown itself.",
     LuogoEsempio::corpo_treno,
     "segnale,   8800,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "rallentamento,   10000,    40,  200, 0,  1,  0"},
    {codice::inizio_occupato, "slowdown-start-cell-taken",
     "slowdown start on a cell that is not free",
     "A slowdown's start takes the cell round(x / 50 + 1), and that cell already holds an "
     "element. The reading stops there, and nothing of the slowdown is written.",
     "Move the slowdown's start or the element at it into different cells.",
     LuogoEsempio::corpo_treno,
     "segnale,   10000,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "rallentamento,   10000,    40,  200, 0,  1,  0"},
    {codice::fine_occupato, "slowdown-end-cell-taken", "slowdown end on a cell that is not free",
     "A slowdown's end takes the cell round((x + l) / 50 + 1), and that cell already holds an "
     "element. A slowdown shorter than 50 m also ends in its own start cell. The reading stops "
     "there, and nothing of the slowdown is written.",
     "Change the slowdown's length, or move the element at its end.", LuogoEsempio::corpo_treno,
     "segnale,   10200,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "rallentamento,   10000,    40,  200, 0,  1,  0"},
    {codice::prima_avviso_occupato, "pre-board-cell-taken",
     "a cell before a slowdown warning board is not free",
     "A slowdown with a non-zero `f_ta` puts marks into the four cells just before its warning "
     "board (50 to 200 m before it), and one of them already holds an element. The reading "
     "stops there; the slowdown's warning board, start and end stay written.",
     "Keep the 200 m before the warning board free, or give the slowdown `f_ta` 0.",
     LuogoEsempio::corpo_treno,
     "segnale,   8700,   1, 5, 1,  0, 0,    0,  0,0,0, 0\n"
     "rallentamento,   10000,    40,  200, 0,  1,  0"},
    {codice::indicatori_occupato, "speed-boards-cell-taken",
     "maximum-speed boards on a cell that is not free",
     "An \"indicatori_vmax\" record takes the cell round(position / 50 + 1), and that cell "
     "already holds another board of the line script (a mountain marker does not count). The "
     "reading stops there.",
     "Move one of the two boards into another cell: 50 m apart is always enough.",
     LuogoEsempio::corpo_linea,
     "cartello_indicatore,  7150,   (PL km)(5+640)\n"
     "indicatori_vmax,  7150,  125,  135,  135,  0,  ,  ,  ,  0"},
    {codice::stazioni_vicine, "stations-too-close",
     "station starts less than 350 m after the previous one ends",
     "From the second station on, a station's area must begin at least 350 m after the "
     "previous station's area ends. Stations must therefore also stand in ascending order of "
     "position. The reading stops there.",
     "Put the stations in the order of their positions and keep 350 m between their areas "
     "(the area of an ordinary station is its length, centred on its position).",
     LuogoEsempio::corpo_treno,
     "stazione,   5000,  4,  300,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 0, 0, ALFA\n"
     "stazione,   5500,  4,  300,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 5, 0, BETA"},
    {codice::stazione_troppo_presto, "station-too-early",
     "station ends too close to the start of the route",
     "An ordinary station (type below 25) marks the cell round(end / 50 - 1); its end lies at "
     "100 m or less, so that cell would be cell 1 or before. The reading stops there.",
     "Move the station further from the start of the route, so that its area ends beyond "
     "100 m.",
     LuogoEsempio::corpo_treno,
     "stazione,   50,  4,  100,  0, 0, 0,  0,0,0,  0,0,0,    0,   8, 0, 0, ALFA"},
    {codice::lettura_fallita, "read-failure", "script cannot be read (missing file or bad value)",
     "A script could not be read: the train script is missing, a value is not a whole number "
     "(\"120.5\", \"1;2\", a letter) or does not fit its field (a number beyond 32 bits, a Byte "
     "field above 255, a 16-bit field beyond -32768 to 32767, a line speed above 1277 km/h, a "
     "board speed word beyond 16 bits), the line script has no route length, or a record is "
     "missing fields at the end of the file. Both scripts are closed and the compile keeps what "
     "it read so far.",
     "Write each value as a whole number within its field's range (`scenario_tool explain "
     "RECORD` lists them), with commas between fields.",
     LuogoEsempio::corpo_treno, "velocita,    1500,   135.5"},
    {codice::script_linea_mancante, "line-script-missing", "line script not found",
     "There is no line script `ROUTE_linea.txt` in the scripts' folder (or it is not a regular "
     "file). Nothing is read, and no file is written.",
     "Check the folder and the route name: the line script is `ROUTE_linea.txt`, the train "
     "script `ROUTE_TRAIN-.txt`.",
     LuogoEsempio::senza_script_linea, "(no ROUTE_linea.txt in the folder)"},
    {codice::generale_mancante, "general-section-missing", "line script has no [generale] section",
     "The line script has no field that contains \"[generale]\": everything before that header "
     "is ignored, so the file holds no record. No file is written.",
     "Start the line script's records with a line \"[generale]\".", LuogoEsempio::script_linea,
     "lunghezza percorso,    20000\n"
     "[curve]\n"
     "[fine]"},
    {codice::curva_non_valida, "bad-curve",
     "curve without class digit, or geometry beyond 1000000 m",
     "A curve keyword must hold a class digit 1 to 6 (as in \"curvas4\"); this one has none. "
     "The same code stops a line geometry that would pass 1000000 m. The reading stops there.",
     "Write the curve's side and class into its keyword: \"curvas4\" turns left in class 4, "
     "\"curvad2\" right in class 2.",
     LuogoEsempio::corpo_linea, "curva,  500,  950"},
    {codice::marcatore_cella_1, "cell-1-marker-taken",
     "cell 1 or entry 85 already holds a first value",
     "Cell 1 carries a scenario-wide marker in its first data word, and an element already "
     "placed there has a non-zero first data word: a signal or slowdown less than 25 m from "
     "the start of the route, or a code cell with a value between 25 and 75 m. The compile "
     "ends without writing any file.",
     "Keep cell 1 free: no signal or slowdown before 25 m, no code cell between 25 and 75 m.",
     LuogoEsempio::corpo_treno, "segnale,   0,   1, 5, 1,  0, 0,    0,  0,0,0, 0"},
    {codice::codice_cella_1, "cell-1-check-code-taken",
     "cell 1 or entry 85 already holds a check code",
     "Cell 1 carries the scenario's check code in its second data word, and an element already "
     "placed there has a non-zero second data word: a signal less than 25 m from the start of "
     "the route whose `s2` or `d2` is non-zero, or a slowdown there with a non-zero `d_v`. The "
     "compile ends without writing any file.",
     "Keep cell 1 free: no signal or slowdown before 25 m.", LuogoEsempio::corpo_treno,
     "segnale,   0,   1, 0, 1,  0, 0,    0,  0,0,0, 0"},
};

char minuscola(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const char* significato_codice(std::int32_t c) {
  if (c == codice::nessuno) return "no error";
  const SpiegazioneCodice* s = spiegazione_codice(c);
  // Every meaning is a literal of the table, so its data is terminated.
  return s ? s->significato.data() : "unknown code";
}

std::span<const SpiegazioneCodice> spiegazioni_codici() {
  return kSpiegazioni;
}

const SpiegazioneCodice* spiegazione_codice(std::int32_t c) {
  for (const SpiegazioneCodice& s : kSpiegazioni) {
    if (s.codice == c) return &s;
  }
  return nullptr;
}

const SpiegazioneCodice* spiegazione_per_nome(std::string_view nome) {
  for (const SpiegazioneCodice& s : kSpiegazioni) {
    if (s.nome.size() != nome.size()) continue;
    bool uguale = true;
    for (std::size_t i = 0; i < nome.size() && uguale; ++i) {
      uguale = minuscola(nome[i]) == s.nome[i];
    }
    if (uguale) return &s;
  }
  return nullptr;
}

std::string_view nome_codice(std::int32_t c) {
  const SpiegazioneCodice* s = spiegazione_codice(c);
  return s ? s->nome : std::string_view();
}

}  // namespace scenario
