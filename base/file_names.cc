#include "base/file_names.h"

#include <unistd.h>

#include <climits>
#include <string>

namespace scenario {

std::string percorso_in(const std::string& cartella, const std::string& nome) {
  return cartella + "/" + nome;
}

std::string nome_script_linea(const std::string& nome_percorso) {
  return nome_percorso + "_linea.txt";
}

std::string nome_script_treno(const std::string& nome_percorso, const std::string& numero_treno) {
  return nome_percorso + "_" + numero_treno + "-.txt";
}

std::string nome_documento(const std::string& nome_percorso, const std::string& numero_treno,
                           const std::string& documento) {
  return nome_percorso + "_" + numero_treno + "_" + documento;
}

std::string nome_file_linea(const std::string& nome_percorso) {
  return nome_percorso + "_linea.dat";
}

std::string nome_file_parametri(const std::string& nome_percorso, const std::string& numero_treno) {
  return nome_percorso + "_" + numero_treno + ".sim";
}

std::string nome_file_celle(const std::string& nome_percorso, const std::string& numero_treno) {
  return nome_percorso + "_" + numero_treno + ".dat";
}

std::array<std::string, 5> nomi_file_scenario(const std::string& nome_percorso,
                                              const std::string& numero_treno) {
  return {nome_script_linea(nome_percorso), nome_script_treno(nome_percorso, numero_treno),
          nome_file_linea(nome_percorso), nome_file_parametri(nome_percorso, numero_treno),
          nome_file_celle(nome_percorso, numero_treno)};
}

std::string cartella_programma() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string path(buffer, static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  // The root folder is reported as "/" and keeps its separator.
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace scenario
