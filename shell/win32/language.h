// The language of this run, chosen before anything is shown or said.
#pragma once

namespace veltrano::shell::win32 {

// /lang on the command line, else the user's remembered choice, else
// Windows' display language; its catalogue is then the one tr() reads.
// True when /lang and its code are all the command line holds: the window
// starts, in that language.
bool speak_chosen_language();

}  // namespace veltrano::shell::win32
