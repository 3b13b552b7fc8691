#pragma once

#include <QString>

#include <functional>

namespace velmora {

// What a GUI start asks of the launcher: `message` is handed to a running instance
// ("reopen", "toggle", "show", "hide"); `loginItem` when the autostart entry started us.
struct GuiRequest {
    QString message = QStringLiteral("reopen");
    bool loginItem = false;
};

class AppDelegate;

// Knobs for measuring the start itself (bench/shell); the defaults are the product's.
struct GuiTuning {
    int firstShowDelayMs = 300;
    std::function<void(AppDelegate &)> started; // after the start-up sequence ran
};

// Hands the request to a running launcher and returns 0 at once, or becomes the
// launcher and runs until the user quits.
int runGui(int &argc, char **argv, const GuiRequest &request, const GuiTuning &tuning = {});

} // namespace velmora
