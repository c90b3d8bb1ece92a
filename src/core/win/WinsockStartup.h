#pragma once

// Starts Winsock for code that may run before (or without) the program's own start-up, such as the HTTP
// server and client under test; it is started once per process and never cleaned up. A failure is logged as
// "<logTag> WSAStartup failed rc=%d" and tried again on the next call.
bool StartWinsockOnce(const char* logTag);
