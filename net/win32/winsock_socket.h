// The socket component over Winsock. Its events arrive through a hidden
// window of the thread that creates it (the user-interface thread), so they
// run between other messages, never beside them.
#pragma once

#include "net/tw_socket.h"

#include <memory>

namespace veltrano::net::win32 {

// Create on the thread whose message loop is to deliver the events.
std::unique_ptr<TWSocket> create_tw_socket();

}  // namespace veltrano::net::win32
