#pragma once

#include <functional>
#include <string>

// The tray's short-lived threads. Each takes its own copy of the peer address; each logs its start, stop
// and exceptions under its name, and an exception also becomes the runtime record's error text.

// "TrayDisconnect": auto-connect off and saved, a forced HID route released, every session stopped.
void StartTrayDisconnect(std::string peer);
// "TrayReconnect": auto-connect on and saved, a forced HID route released, control of the first discovered
// device requested.
void StartTrayReconnect(std::string peer);
// "TrayAudioRequestUpdate": the audio player started or stopped here, then the control request sent to the
// peer twice, 250 ms apart (the session is not reconnected).
void StartTrayAudioRequestUpdate(std::string peer, bool enable);
// "TrayCableCommand": one cable command; they run one at a time, in the order the menu gave them.
void StartTrayCableCommand(std::function<void()> command);
