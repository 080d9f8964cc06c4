// The command line of veltrano.exe (see shell/command_line.h).
#pragma once

namespace veltrano::shell::win32 {

// Whether the program was started with arguments, and so without a window.
bool has_command_line();
// Parses the arguments, waits for any other writer and runs the command;
// the exit code.
int run_command_line();

}  // namespace veltrano::shell::win32
