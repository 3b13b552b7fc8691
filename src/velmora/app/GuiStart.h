#pragma once

#include <QString>

namespace velmora {

// What a GUI start asks of the launcher: `message` is handed to a running instance
// ("reopen", "toggle", "show", "hide"); `loginItem` when the autostart entry started us.
struct GuiRequest {
    QString message = QStringLiteral("reopen");
    bool loginItem = false;
};

// Hands the request to a running launcher and returns 0 at once, or becomes the
// launcher and runs until the user quits.
int runGui(int &argc, char **argv, const GuiRequest &request);

} // namespace velmora
