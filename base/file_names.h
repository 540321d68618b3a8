// Names of every file the programs read or write.
#ifndef SCENARIO_BASE_FILE_NAMES_H_
#define SCENARIO_BASE_FILE_NAMES_H_

#include <array>
#include <string>

namespace scenario {

/// Full path of file `nome` in `cartella`: the folder, "/", the name. The
/// separator is appended whatever the folder ends with.
std::string percorso_in(const std::string& cartella, const std::string& nome);

/// "ROUTE_linea.txt": the line script.
std::string nome_script_linea(const std::string& nome_percorso);
/// "ROUTE_TRAIN-.txt": the train script.
std::string nome_script_treno(const std::string& nome_percorso, const std::string& numero_treno);
/// "ROUTE_TRAIN_DOC": a crew document ("note.txt", "rallentamenti.txt", ...).
std::string nome_documento(const std::string& nome_percorso, const std::string& numero_treno,
                           const std::string& documento);
/// "ROUTE_linea.dat": the line file.
std::string nome_file_linea(const std::string& nome_percorso);
/// "ROUTE_TRAIN.sim": the parameter file.
std::string nome_file_parametri(const std::string& nome_percorso, const std::string& numero_treno);
/// "ROUTE_TRAIN.dat": the cell file.
std::string nome_file_celle(const std::string& nome_percorso, const std::string& numero_treno);

/// The five files of a route and train: its two scripts, then the line,
/// parameter and cell files, as the functions above name them.
std::array<std::string, 5> nomi_file_scenario(const std::string& nome_percorso,
                                              const std::string& numero_treno);

/// Folder that holds the running executable.
std::string cartella_programma();

}  // namespace scenario

#endif  // SCENARIO_BASE_FILE_NAMES_H_
