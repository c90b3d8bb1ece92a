#include "core/StateManagerTypes.h"

const char* SessionModeName(int32_t mode) {
    static const char* const kNames[] = {"Idle",
                                         "ConnectingController",
                                         "ConnectingControlled",
                                         "Controller",
                                         "Controlled",
                                         "Disconnecting",
                                         "PeerLost",
                                         "Error"};
    return mode >= 0 && mode <= 7 ? kNames[mode] : "Unknown";
}

const char* ConnectionStateName(int32_t state) {
    static const char* const kNames[] = {"Disabled",  "Disconnected", "Listening", "Connecting",
                                         "Connected", "Reconnecting", "Error"};
    return state >= 0 && state <= 6 ? kNames[state] : "Unknown";
}

const char* ChannelName(int channel) {
    static const char* const kNames[] = {"Video", "Input", "Audio", "Clipboard"};
    return channel >= 0 && channel <= 3 ? kNames[channel] : "Unknown";
}

const char* InputRouteName(int32_t route) {
    switch (route) {
    case 1:
        return "TCP";
    case 2:
        return "HID";
    default:
        return "NONE";
    }
}
