// Identifiers shared by the resource script and the program. Pictures and
// sounds are found by name (the component names), so only the icon, the
// manifest and the version block need numbers.
#pragma once

#define IDI_VELTRANO 1

// Kept in step with project(VERSION) by the build, which passes these in;
// the fallbacks let the script compile on its own.
#ifndef VELTRANO_VERSION_MAJOR
#define VELTRANO_VERSION_MAJOR 3
#define VELTRANO_VERSION_MINOR 1
#define VELTRANO_VERSION_PATCH 0
#endif
#define VELTRANO_VERSION_BUILD 0
