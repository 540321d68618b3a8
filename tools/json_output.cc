#include "tools/json_output.h"

#include "tools/text_encoding.h"

namespace scenario {

Json json_record(std::string_view cp1252) {
  return utf8_da_cp1252(cp1252);
}

Json json_testo(std::string_view testo) {
  return utf8_valido(testo);
}

std::string testo_json(const Json& valore) {
  return valore.dump(-1, ' ', true, Json::error_handler_t::replace);
}

}  // namespace scenario
