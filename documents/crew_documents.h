// The three crew documents for the driver, kept as data: one source line per
// document line.
#ifndef SCENARIO_DOCUMENTS_CREW_DOCUMENTS_H_
#define SCENARIO_DOCUMENTS_CREW_DOCUMENTS_H_

#include <array>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace scenario {

/// The 50 lines of the notes document ("note.txt").
extern const std::array<std::string_view, 50> kNote;
/// The 45 lines of the slowdown order ("rallentamenti.txt").
extern const std::array<std::string_view, 45> kRallentamenti;
/// The 60 lines of the train timetable sheet ("scheda_treno.txt").
extern const std::array<std::string_view, 60> kSchedaTreno;

/// Writes the notes document as "ROUTE_TRAIN_note.txt" in `cartella`.
bool dati_note(FileSystem& fs, const std::string& cartella, const std::string& nome_percorso,
               const std::string& numero_treno, std::string* err);
/// Writes the slowdown order as "ROUTE_TRAIN_rallentamenti.txt" in `cartella`.
bool dati_rallentamenti(FileSystem& fs, const std::string& cartella,
                        const std::string& nome_percorso, const std::string& numero_treno,
                        std::string* err);
/// Writes the timetable sheet as "ROUTE_TRAIN_scheda_treno.txt" in `cartella`.
bool dati_scheda(FileSystem& fs, const std::string& cartella, const std::string& nome_percorso,
                 const std::string& numero_treno, std::string* err);

}  // namespace scenario

#endif  // SCENARIO_DOCUMENTS_CREW_DOCUMENTS_H_
