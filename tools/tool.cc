#include "tools/tool.h"

#include <cstdio>
#include <cstring>

namespace scenario {

namespace {

constexpr const char* kVersione = "scenario_tool 0.1.0";

void uso(std::FILE* out) {
  std::fputs(
      "usage: scenario_tool [--help | --version]\n"
      "The scenario authors' tool: compile, inspect and draw scenarios.\n",
      out);
}

}  // namespace

int esegui_strumento(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    uso(stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts(kVersione);
    return 0;
  }
  uso(stderr);
  return 2;
}

}  // namespace scenario
