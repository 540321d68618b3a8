// scenario_tool: the scenario authors' command-line tool.
#include "tools/tool.h"

int main(int argc, char** argv) {
  return scenario::esegui_strumento(argc, argv);
}
