// What leaving through Exit says: the restart question, the operating
// system's countdown message and the failures of the restart's steps, in
// English: they are translated where they are said.
#pragma once

#include "i18n/translate.h"

#include <string_view>

namespace veltrano::shell {

inline constexpr std::string_view kRestartQuestion = i18n::N_(
    "It is always a good idea to restart you computer if you have applied any tips, Do you want to shutdown and "
    "restart ?");
// Asked when Exit is chosen by its key and nothing else would be asked.
inline constexpr std::string_view kExitQuestion = i18n::N_("Do you want to close Veltrano now?");
inline constexpr std::string_view kShutdownMessage =
    // TRANSLATORS: Windows shows it while it counts down to the restart
    i18n::N_("Your Computer is being shut down in 15 seconds. Close any programs/apps that you are working on");
inline constexpr unsigned kShutdownTimeoutSeconds = 15;

inline constexpr std::string_view kOpenProcessTokenFailed = i18n::N_("OpenProcessToken failed.");
// Shown with Windows' line ends (with_crlf).
inline constexpr std::string_view kNoShutdownPrivilege = i18n::N_("You do not have Remote Shutdown Privilege on this\n"
                                                                  "computer, or computer is not a Windows NT computer,\n"
                                                                  "or computer cannot be found on the network.");
inline constexpr std::string_view kEnableFailed = i18n::N_("AdjustTokenPrivileges enable failed.");
inline constexpr std::string_view kShutdownFailed = i18n::N_("InitiateSystemShutdown failed.");
inline constexpr std::string_view kDisableFailed = i18n::N_("AdjustTokenPrivileges disable failed.");

inline constexpr std::string_view kShutdownPrivilege = "SeShutdownPrivilege";
inline constexpr std::string_view kRemoteShutdownPrivilege = "SeRemoteShutdownPrivilege";

}  // namespace veltrano::shell
