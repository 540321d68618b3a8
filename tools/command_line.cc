#include "tools/command_line.h"

#include <cstdio>

namespace scenario {

namespace {

const Opzione* trova(const std::vector<Opzione>& opzioni, const std::string& nome) {
  for (const Opzione& o : opzioni) {
    if (nome == o.nome) return &o;
  }
  return nullptr;
}

}  // namespace

bool analizza_riga(const std::vector<std::string>& argomenti, const std::vector<Opzione>& opzioni,
                   RigaComando* riga, std::string* err) {
  bool solo_operandi = false;
  for (std::size_t i = 0; i < argomenti.size(); ++i) {
    const std::string& a = argomenti[i];
    if (solo_operandi || a.size() < 2 || a[0] != '-') {
      riga->operandi.push_back(a);
      continue;
    }
    if (a == "--") {
      solo_operandi = true;
      continue;
    }
    if (a == "--help" || a == "-h") {
      riga->aiuto = true;
      continue;
    }
    const std::size_t uguale = a.find('=');
    const std::string nome = a.substr(0, uguale);
    const Opzione* o = trova(opzioni, nome);
    if (!o) {
      *err = "unknown option '" + nome + "'";
      return false;
    }
    if (!o->con_valore) {
      if (uguale != std::string::npos) {
        *err = "option '" + nome + "' takes no value";
        return false;
      }
      riga->opzioni[nome] = "";
      continue;
    }
    if (uguale != std::string::npos) {
      riga->opzioni[nome] = a.substr(uguale + 1);
    } else if (i + 1 < argomenti.size()) {
      riga->opzioni[nome] = argomenti[++i];
    } else {
      *err = "option '" + nome + "' needs a value";
      return false;
    }
  }
  return true;
}

bool nome_valido(const std::string& cosa, const std::string& nome, std::string* err) {
  if (nome.empty()) {
    *err = cosa + " is empty";
    return false;
  }
  for (std::size_t i = 0; i < nome.size(); ++i) {
    const auto c = static_cast<unsigned char>(nome[i]);
    if (c == '/') {
      *err =
          cosa + " '" + nome + "' contains '/': file names built from it must stay in their folder";
      return false;
    }
    if (c < 0x20 || c > 0x7E) {
      char codice[8];
      std::snprintf(codice, sizeof codice, "0x%02X", c);
      *err = cosa + " contains the byte " + codice + " at position " + std::to_string(i + 1) +
             ": only printable ASCII characters are allowed";
      return false;
    }
  }
  return true;
}

bool percorso_e_treno_validi(const std::string& percorso, const std::string& treno,
                             std::string* err) {
  if (!nome_valido("ROUTE", percorso, err) || !nome_valido("TRAIN", treno, err)) return false;
  if (treno == "linea") {
    *err = "TRAIN 'linea' would give the cell file the name of the line file";
    return false;
  }
  return true;
}

bool intero_positivo(const std::string& nome, const std::string& testo, long massimo, long* valore,
                     std::string* err) {
  long v = 0;
  bool valido = !testo.empty() && testo.size() <= 10;
  for (char c : testo) {
    if (c < '0' || c > '9') {
      valido = false;
      break;
    }
    v = v * 10 + (c - '0');
  }
  if (!valido || v < 1 || v > massimo) {
    *err = "option '" + nome + "' needs a whole number from 1 to " + std::to_string(massimo) +
           ", not '" + testo + "'";
    return false;
  }
  *valore = v;
  return true;
}

}  // namespace scenario
