#pragma once

#include <cstdint>

// Runs the role that Wardlet's command line selects and returns the process exit code. Wardlet.exe's entry
// only calls this, so tests can run each role in their own process too.
uint32_t RunWardletCommand(int argc, const wchar_t* const* argv);
