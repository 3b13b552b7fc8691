<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AboutSettingsView</name>
    <message>
        <source>Privacy Policy</source>
        <translation>Privacy Policy</translation>
    </message>
</context>
<context>
    <name>FolderRowView</name>
    <message>
        <source>Remove %1</source>
        <translation>Remove %1</translation>
    </message>
</context>
<context>
    <name>FoldersSettingsView</name>
    <message>
        <source>Add folders to allow Velmora to show apps within them.</source>
        <translation>Add folders to allow Velmora to show apps within them.</translation>
    </message>
    <message>
        <source>Add Other Folders</source>
        <translation>Add Other Folders</translation>
    </message>
    <message>
        <source>No folders added</source>
        <translation>No folders added</translation>
    </message>
    <message>
        <source>Changes apply the next time Velmora starts.</source>
        <translation>Changes apply the next time Velmora starts.</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Startup:</source>
        <translation>Startup:</translation>
    </message>
    <message>
        <source>Start at Login</source>
        <translation>Start at Login</translation>
    </message>
    <message>
        <source>Appearance:</source>
        <translation>Appearance:</translation>
    </message>
    <message>
        <source>Show Menubar Icon</source>
        <translation>Show Menubar Icon</translation>
    </message>
    <message>
        <source>Show Dock Icon</source>
        <translation>Show Dock Icon</translation>
    </message>
    <message>
        <source>Toggle Launcher:</source>
        <translation>Toggle Launcher:</translation>
    </message>
</context>
<context>
    <name>OnboardingPageView</name>
    <message>
        <source>Start at Login</source>
        <translation>Start at Login</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Finish</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
</context>
<context>
    <name>OnboardingWindow</name>
    <message>
        <source>Welcome to Velmora Launcher</source>
        <translation>Welcome to Velmora Launcher</translation>
    </message>
</context>
<context>
    <name>PageWelcome</name>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
</context>
<context>
    <name>ShortcutRecorderField</name>
    <message>
        <source>Type Shortcut…</source>
        <translation>Type Shortcut…</translation>
    </message>
    <message>
        <source>Record Shortcut</source>
        <translation>Record Shortcut</translation>
    </message>
    <message>
        <source>Click, then type the new shortcut</source>
        <translation>Click, then type the new shortcut</translation>
    </message>
    <message>
        <source>Clear Shortcut</source>
        <translation>Clear Shortcut</translation>
    </message>
    <message>
        <source>Bind this command in your desktop&apos;s keyboard settings instead:</source>
        <translation>Bind this command in your desktop&apos;s keyboard settings instead:</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
</context>
<context>
    <name>velmora::FoldersSettingsModel</name>
    <message>
        <source>Only folders on this computer can be added.</source>
        <translation>Only folders on this computer can be added.</translation>
    </message>
    <message>
        <source>%1 is already in the list.</source>
        <translation>%1 is already in the list.</translation>
    </message>
</context>
<context>
    <name>velmora::OnboardingController</name>
    <message>
        <source>Right click to</source>
        <translation>Right click to</translation>
    </message>
    <message>
        <source>Add apps to categories.</source>
        <translation>Add apps to categories.</translation>
    </message>
    <message>
        <source>Pin or hide apps.</source>
        <translation>Pin or hide apps.</translation>
    </message>
    <message>
        <source>Click the pencil icon to</source>
        <translation>Click the pencil icon to</translation>
    </message>
    <message>
        <source>Edit section title.</source>
        <translation>Edit section title.</translation>
    </message>
    <message>
        <source>Change section icon.</source>
        <translation>Change section icon.</translation>
    </message>
    <message>
        <source>%1 + number to</source>
        <translation>%1 + number to</translation>
    </message>
    <message>
        <source>Quickly open top apps.</source>
        <translation>Quickly open top apps.</translation>
    </message>
    <message>
        <source>Quickly select app categories.</source>
        <translation>Quickly select app categories.</translation>
    </message>
    <message>
        <source>Launch Velmora by</source>
        <translation>Launch Velmora by</translation>
    </message>
    <message>
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Welcome to Velmora Launcher !</source>
        <translation>Welcome to Velmora Launcher !</translation>
    </message>
    <message>
        <source>A better replacement for Launchpad.</source>
        <translation>A better replacement for Launchpad.</translation>
    </message>
</context>
<context>
    <name>velmora::SettingsTabController</name>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>Permissions</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>velmora::ShortcutRecorder</name>
    <message>
        <source>%1 could not be set as the shortcut: %2</source>
        <translation>%1 could not be set as the shortcut: %2</translation>
    </message>
    <message>
        <source>Type a shortcut (Esc cancels, Backspace clears)</source>
        <translation>Type a shortcut (Esc cancels, Backspace clears)</translation>
    </message>
    <message>
        <source>Use Ctrl, Alt or Super with the key</source>
        <translation>Use Ctrl, Alt or Super with the key</translation>
    </message>
</context>
</TS>
