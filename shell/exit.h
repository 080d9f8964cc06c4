// What leaving through Exit says: the restart question, the operating
// system's countdown message and the failures of the restart's steps.
#pragma once

#include <string_view>

namespace veltrano::shell {

inline constexpr std::string_view kRestartQuestion =
    "It is always a good idea to restart you computer if you have applied any tips, Do you want to shutdown and "
    "restart ?";
// Asked when Exit is chosen by its key and nothing else would be asked.
inline constexpr std::string_view kExitQuestion = "Do you want to close Veltrano now?";
inline constexpr std::string_view kShutdownMessage =
    "Your Computer is being shut down in 15 seconds. Close any programs/apps that you are working on";
inline constexpr unsigned kShutdownTimeoutSeconds = 15;

inline constexpr std::string_view kOpenProcessTokenFailed = "OpenProcessToken failed.";
inline constexpr std::string_view kNoShutdownPrivilege =
    "You do not have Remote Shutdown Privilege on this\r\n"
    "computer, or computer is not a Windows NT computer,\r\n"
    "or computer cannot be found on the network.";
inline constexpr std::string_view kEnableFailed = "AdjustTokenPrivileges enable failed.";
inline constexpr std::string_view kShutdownFailed = "InitiateSystemShutdown failed.";
inline constexpr std::string_view kDisableFailed = "AdjustTokenPrivileges disable failed.";

inline constexpr std::string_view kShutdownPrivilege = "SeShutdownPrivilege";
inline constexpr std::string_view kRemoteShutdownPrivilege = "SeRemoteShutdownPrivilege";

}  // namespace veltrano::shell
