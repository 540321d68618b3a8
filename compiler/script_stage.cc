#include "compiler/script_stage.h"

#include "compiler/error_codes.h"
#include "scripts/keywords.h"

namespace scenario {

bool StadioScript::leggi_chiave() {
  if (!campi_.ReadText(&stato_.riga)) return false;
  stato_.riga_corrente = campi_.FieldLine();
  stato_.campo_corrente = campi_.FieldOffset();
  return true;
}

StadioScript::Passo StadioScript::prossimo_record(int commenti) {
  if (campi_.AtEnd()) return Passo::fine_file;
  if (!leggi_chiave()) return Passo::fallimento;
  if (campi_.AtEnd()) return Passo::fine_file;
  for (int volte = 0; volte < commenti && contiene(stato_.riga, "-"); ++volte) {
    if (!leggi_chiave()) return Passo::fallimento;
    if (campi_.AtEnd()) return Passo::fine_file;
  }
  return Passo::avanti;
}

bool StadioScript::elimina_script() {
  std::string err;
  return fs_.RemoveFile(percorso_, &err);
}

StadioScript::Passo StadioScript::esci(std::int32_t codice) {
  if (!elimina_script()) return Passo::fallimento;
  registra_codice(stato_, codice);
  return Passo::uscita;
}

StadioScript::Passo StadioScript::esci(std::int32_t codice, std::int32_t posizione) {
  if (!elimina_script()) return Passo::fallimento;
  registra_codice(stato_, codice, posizione);
  return Passo::uscita;
}

StadioScript::Passo StadioScript::fuori(std::int32_t p) {
  registra_codice(stato_, codice::fuori_celle, p);
  return Passo::arresto;
}

}  // namespace scenario
