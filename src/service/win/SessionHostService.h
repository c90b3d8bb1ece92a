#pragma once

#include <windows.h>

// The Wardlet service proper, registered with the service control dispatcher by "Wardlet.exe service".
void WINAPI ServiceMain(DWORD argc, LPWSTR* argv);
