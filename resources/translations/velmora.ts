<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>AboutSettingsView</name>
    <message>
        <source>Privacy Policy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderRowView</name>
    <message>
        <source>Remove %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FoldersSettingsView</name>
    <message>
        <source>Add folders to allow Velmora to show apps within them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Other Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No folders added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changes apply the next time Velmora starts.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Startup:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start at Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Appearance:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Menubar Icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Dock Icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle Launcher:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OnboardingPageView</name>
    <message>
        <source>Start at Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OnboardingWindow</name>
    <message>
        <source>Welcome to Velmora Launcher</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageWelcome</name>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShortcutRecorderField</name>
    <message>
        <source>Type Shortcut…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click, then type the new shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bind this command in your desktop&apos;s keyboard settings instead:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velmora::FoldersSettingsModel</name>
    <message>
        <source>Only folders on this computer can be added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is already in the list.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velmora::OnboardingController</name>
    <message>
        <source>Right click to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add apps to categories.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pin or hide apps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click the pencil icon to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit section title.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change section icon.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 + number to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quickly open top apps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quickly select app categories.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Launch Velmora by</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome to Velmora Launcher !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A better replacement for Launchpad.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velmora::SettingsTabController</name>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velmora::ShortcutRecorder</name>
    <message>
        <source>%1 could not be set as the shortcut: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type a shortcut (Esc cancels, Backspace clears)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Ctrl, Alt or Super with the key</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
