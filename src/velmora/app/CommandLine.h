#pragma once

namespace velmora {

// Parses the command line and runs the headless command or the launcher.
int runCommandLine(int argc, char *argv[]);

} // namespace velmora
