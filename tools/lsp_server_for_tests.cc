// The language server as a program of its own, for the tests that drive it
// from a real editor.
#include <iostream>

#include "base/file_system.h"
#include "tools/lsp_command.h"

int main() {
  scenario::RealFileSystem fs;
  return scenario::comando_lsp(std::cin, std::cout, std::cerr, fs);
}
