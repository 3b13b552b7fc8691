#pragma once

// Each test class of this folder runs from one executable; see SettingsModelsTestMain.cpp.
int runLoginItemTest(int argc, char *argv[]);
int runGeneralSettingsModelTest(int argc, char *argv[]);
int runShortcutRecorderTest(int argc, char *argv[]);
int runFoldersSettingsModelTest(int argc, char *argv[]);
int runSettingsTabControllerTest(int argc, char *argv[]);
int runAboutModelTest(int argc, char *argv[]);
int runOnboardingControllerTest(int argc, char *argv[]);
int runTranslationsTest(int argc, char *argv[]);
