#include "TestMain.h"

#include <QGuiApplication>

// One executable for the settings models keeps the build light; each class still
// reports on its own.
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    int failures = 0;
    failures += runLoginItemTest(argc, argv);
    failures += runGeneralSettingsModelTest(argc, argv);
    failures += runShortcutRecorderTest(argc, argv);
    failures += runFoldersSettingsModelTest(argc, argv);
    failures += runSettingsTabControllerTest(argc, argv);
    failures += runAboutModelTest(argc, argv);
    failures += runOnboardingControllerTest(argc, argv);
    failures += runTranslationsTest(argc, argv);
    return failures == 0 ? 0 : 1;
}
