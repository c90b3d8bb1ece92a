#pragma once

// Connects the peer-link and session services to each other: discovery's reactions (control server,
// dispatcher, session peer loss), the cable's reactions, the session controller's services and the
// sessions' services. Called once at start-up, after the settings are loaded and before any of them runs.
void ConnectLinkServices();

// Binds the drag overlay's stop to its lifecycle module and installs RemoteView's black cover. Called once
// at start-up with ConnectLinkServices.
void ConnectDragServices();
