#include "documents/crew_documents.h"

#include "base/file_names.h"
#include "base/text_file_writer.h"

namespace scenario {

// The documents are Windows-1252 text: the only letters outside ASCII are
// written as escapes, "\xE8" for e grave and "\xE0" for a grave, so that each
// stays a single byte whatever the source encoding.
//
// Formatting is off for the tables: every source line is one document line,
// blanks included, in the order of the document.

// clang-format off
const std::array<std::string_view, 50> kNote = {
    "Caratteristiche della linea ZEMBRASTINA-NOVARA-DERVO",
    "",
    "Trazione elettrica intera tratta.",
    "Doppio binario da ZEMBRASTINA a VIGNALE, binario unico da VIGNALE ad DERVO",
    "Sistemi di esercizio: DIRIGENZA LOCALE con",
    "Blocco Automatico a correnti fisse con segnalamento a due aspetti da ZEMBRASTINA a VALENZA",
    "Blocco Elettrico Manuale da VALENZA a VALLE LOMELLINA",
    "Blocco Automatico Conta Assi da VALLE LOMELLINA a BORGO LAVEZZARO",
    "Blocco Elettrico Manuale da BORGO LAVEZZARO a NOVARA",
    "Blocco Automatico a correnti fisse da NOVARA a VIGNALE",
    "Blocco Automatico Conta Assi da VIGNALE ad OLEGGIO",
    "Bolcco Elettrico Manuale da OLEGGIO a DERVO",
    "Non \xE8 attiva la Ripetizione Segnali",
    "Tutte le STAZIONI sono munite di doppio segnalamento di protezione e partenza.",
    "MORTARA: la limitazione di velocit\xE0 a 60 km/h dovuta a caratteristiche di tracciato in ",
    "ingresso/uscita lato Zembrastina viene fornita con l'aspetto dei segnali.",
    "OLEGGIO: la limitazione di velocit\xE0 a 30 km/h dovuta a caratteristiche di tracciato in",
    "ingresso/uscita lato Novara viene fornita con l'aspetto dei segnali.",
    "Le stazioni di ZEMBRASTINA e MORTARA sono dotate di segnali di protezione anche in",
    "arrivo dal binario illegale (impianti 'tipo B' OS 17/1981).",
    "FERMATE presenziate protette da segnali:",
    "VALMADONNA, segnali di PBA hanno anche funzione di protezione della fermata,",
    "SARTIRANA, posto di blocco intermedio manuale munito di doppio segnalamento (ex stazione),",
    "OLEVANO, segnali di PBI BCA hanno anche funzione di protezione della fermata,",
    "ALBONESE, segnali di protezione della fermata che non influiscono sul distanziamento,",
    "GARBAGNA, posto di blocco intermedio manuale, i segnali proteggono la fermata.",
    "POSTO DI MOVIMENTO CAMERI, telecomandato da VIGNALE, munito di binario di incrocio e doppio segnalamento.",
    "BELLINZAGO, MARANO TICINO, VARALLO POMBIA, DORMELLETTO PAESE sono fermate impresenziate ",
    "non munite di segnali.",
    "Esistono 42 passaggi a livello tutti indicati nella simulazione.",
    "Sono indicate le linee afferenti come diramazioni/confluenze.",
    "I cartelli indicatori di velocit\xE0 massima non sono presenti in realt\xE0.",
    "La linea, tratti in Piemonte e tratti in Lombardia, \xE8 parte integrante della direttrice ",
    "GENOVA-SEMPIONE.",
    "Pur attraversando la Lomellina i tratti estremi presentano leggere pendenze.",
    "",
    "",
    "Caratteristiche del treno 47716:",
    "",
    "Regionale NOVARA-DERVO assegnato al 'turno 424'.",
    "Il treno percorre solo il tratto nord della linea ZEMBRASTINA -DERVO.",
    "",
    "(Il tratto VIGNALE-DERVO essendo in realt\xE0 a binario unico il piano binari non \xE8 ovviamente",
    "molto attendibile e negli artificiosi adattamenti ho inteso privilegiare l'aspetto dei",
    "segnali che \xE8 determinate per il compito del macchinista).",
    "",
    "",
    "genera_scenario",
    "Novara",
    "scenario@example.org",
};

const std::array<std::string_view, 45> kRallentamenti = {
    "",
    "                               Modulo M. 3",
    "                           ORDINE DI RALLENTAMENTO",
    " ________________________________________________________________________________",
    "  Linea  ZEMBRASTINA -DERVO",
    "  Si ordina al macchinista del treno 47716 di effettuare i seguenti rallentamenti",
    "  _______________________________________________________________________________",
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
    " |___|____________________________|____________|__________|_________|____________|",
    " | 1 |BORGO TICINO                |     92     |    40    |   200   |     B      |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |___|____________________________|____________|__________|_________|____________|",
    "",
    "              Prescrizioni specifiche",
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    " B - Interessa anche la stazione di BORGO TICINO",
    " D - Rallentamneto N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
};

const std::array<std::string_view, 60> kSchedaTreno = {
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |   TRENO n.47716   |                   da: Novara                |    V160 B    |",
    " |___________________|                    a: Dervo                 |     105%     |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |        REG        |              |     200 T         |",
    " |___________________|              |___________________|",
    "",
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    " | 130 |     |    65.050|     | NOVARA                     |         14.17  |     |",
    " |     |     |    68.300      | VIGNALE                    | 14.22 - 14.23  |     |",
    " |     |     |    76.850|     | P.M. CAMERI                |      14.32     |  1  |",
    " |     |     |    78.100|     | BELLINZAGO                 | 14.33 - 14.34  | 0.5 |",
    " |  60 |     |    81.600|     | OLEGGIO                    | 14.39 - 14.40  | 0.5 |",
    " | 135 |     |    81.950|     | km 81.950                  |                |     |",
    " |     |     |    85.150|     | MARANO TICINO              | 14.44 - 14.45  |  1  |",
    " |     |     |    89.700|     | VARALLO POMBIA             | 14.48 - 14.49  | 0.5 |",
    " | 130 |     |    92.550|     | BORGO TICINO               | 14.52 - 14.53  | 0.5 |",
    " |     |     |    97.500|     | DORMELLETTO PAESE          | 14.57 - 14.58  |  1  |",
    " | 110 |     |    98.650|     | km 98.650                  |                |     |",
    " |     |     |   100.750|     | DERVO                      | 15.03          |  1  |     ",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    "",
};
// clang-format on

namespace {

/// Writes `righe` as the crew document `documento` of train `numero_treno` on
/// route `nome_percorso`, in `cartella`.
bool scrivi_documento(FileSystem& fs, const std::string& cartella, const std::string& nome_percorso,
                      const std::string& numero_treno, const std::string& documento,
                      const std::string_view* righe, std::size_t quante, std::string* err) {
  const std::string percorso =
      percorso_in(cartella, nome_documento(nome_percorso, numero_treno, documento));
  return scrivi_file_testo(fs, percorso, tabella_righe(righe, quante), err);
}

}  // namespace

bool dati_note(FileSystem& fs, const std::string& cartella, const std::string& nome_percorso,
               const std::string& numero_treno, std::string* err) {
  return scrivi_documento(fs, cartella, nome_percorso, numero_treno, "note.txt", kNote.data(),
                          kNote.size(), err);
}

bool dati_rallentamenti(FileSystem& fs, const std::string& cartella,
                        const std::string& nome_percorso, const std::string& numero_treno,
                        std::string* err) {
  return scrivi_documento(fs, cartella, nome_percorso, numero_treno, "rallentamenti.txt",
                          kRallentamenti.data(), kRallentamenti.size(), err);
}

bool dati_scheda(FileSystem& fs, const std::string& cartella, const std::string& nome_percorso,
                 const std::string& numero_treno, std::string* err) {
  return scrivi_documento(fs, cartella, nome_percorso, numero_treno, "scheda_treno.txt",
                          kSchedaTreno.data(), kSchedaTreno.size(), err);
}

}  // namespace scenario
