#include "app/command_line.h"

#include <cerrno>
#include <cstring>

namespace scenario {

const char* const kVersioneProgramma = "genera_scenario 1.0.0";

namespace {

constexpr const char* kSintassi = "genera_scenario [--help | --version]";

constexpr const char* kAiuto =
    "\n"
    "With no argument, writes the built-in scenario into the program's own folder:\n"
    "three crew documents (the notes, the slowdown order and the train timetable\n"
    "sheet, as .txt files) and the line, parameter and cell files the simulator\n"
    "loads (.dat and .sim). Files of the same names are replaced. A window shows\n"
    "\"Attendere\" meanwhile, or standard error does when there is no display.\n"
    "\n"
    "  --help      print this text and exit\n"
    "  --version   print the version and exit\n";

/// 0 when everything printed on `out` reached it; otherwise 1, with the
/// reason on `err`.
int scritto(std::FILE* out, std::FILE* err) {
  if (std::fflush(out) == 0 && !std::ferror(out)) return 0;
  const int motivo = errno;
  std::fprintf(err, "genera_scenario: cannot write to standard output: %s\n",
               std::strerror(motivo));
  return 1;
}

}  // namespace

std::optional<int> rispondi_a_riga_di_comando(int argc, const char* const* argv, std::FILE* out,
                                              std::FILE* err) {
  if (argc <= 1) return std::nullopt;
  if (argc > 2) {
    std::fprintf(err, "genera_scenario: expected at most one argument, got %d (usage: %s)\n",
                 argc - 1, kSintassi);
    return 2;
  }
  const char* argomento = argv[1];
  if (std::strcmp(argomento, "--help") == 0) {
    std::fprintf(out, "usage: %s\n%s", kSintassi, kAiuto);
    return scritto(out, err);
  }
  if (std::strcmp(argomento, "--version") == 0) {
    std::fprintf(out, "%s\n", kVersioneProgramma);
    return scritto(out, err);
  }
  std::fprintf(err, "genera_scenario: unknown argument '%s' (usage: %s)\n", argomento, kSintassi);
  return 2;
}

}  // namespace scenario
