#pragma once

// Connects the input services: the input channel with its injector and peer filter, injection's cable and
// peers, the controller's input router and the keyboard hook. Called once at start-up with the other
// wiring, before any of them runs.
void ConnectInputServices();
