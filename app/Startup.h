#pragma once
class HalvorraApp;
// The start-up sequence: splash, data module, login, main window, shutdown.
int runHalvorra(HalvorraApp& app);
