// The three binary scenario files together: their names and their writing.
#ifndef SCENARIO_OUTPUT_SCENARIO_FILES_H_
#define SCENARIO_OUTPUT_SCENARIO_FILES_H_

#include <string>
#include <vector>

#include "base/file_system.h"
#include "output/cell_file.h"
#include "output/line_file.h"
#include "output/parameter_file.h"

namespace scenario {

/// What the three files of one scenario are written from.
struct FileScenario {
  const std::string& nome_percorso;
  const std::string& numero_treno;
  const TabellaLinea& tabella_linea;  ///< written only when `con_linea`
  const Parametri& parametri;
  const std::vector<Cella>& celle;
  bool con_linea = true;
};

/// Writes the line file (only when `con_linea`), the parameter file and the
/// cell file into `cartella`, in that order, each replaced whole. The names
/// written are appended to `*scritti`. Stops at the first failing file step
/// with `*err` set.
bool scrivi_file_scenario(FileSystem& fs, const std::string& cartella, const FileScenario& file,
                          std::vector<std::string>* scritti, std::string* err);

/// Which of the three binary files a file is, told by its name.
enum class TipoFile { linea, parametri, celle, sconosciuto };

/// "_linea.dat" is a line file, ".sim" a parameter file, any other ".dat"
/// a cell file.
TipoFile tipo_da_nome(const std::string& nome);

}  // namespace scenario

#endif  // SCENARIO_OUTPUT_SCENARIO_FILES_H_
