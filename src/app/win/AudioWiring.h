#pragma once

// Connects remote sound: the player plays only datagrams from the active peer, and the transport lifecycle
// module stops the player and the sender. Called once at start-up with the other wiring, before either runs.
void ConnectAudioServices();
