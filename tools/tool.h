// The authors' command-line tool: its commands and their dispatch.
#ifndef SCENARIO_TOOLS_TOOL_H_
#define SCENARIO_TOOLS_TOOL_H_

namespace scenario {

/// Runs `scenario_tool` with its command line; returns the exit status.
int esegui_strumento(int argc, char** argv);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_TOOL_H_
