#!/usr/bin/env bash
# Writes an XDG data tree of real-looking desktop entries (icons from the installed
# Adwaita theme) for screenshots and the screen benchmark.
# usage: make-screen-fixture.sh DIR   (entries go to DIR/applications)
set -euo pipefail
dir=$1/applications
mkdir -p "$dir"
entry() { # file name icon categories
  cat > "$dir/$1.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=$2
Exec=true
Icon=$3
Categories=$4;
ENTRY
}
entry org.example.Calculator "Calculator" accessories-calculator "Utility"
entry org.example.CharMap "Characters" accessories-character-map "Utility"
entry org.example.Dictionary "Dictionary" accessories-dictionary "Office;Dictionary"
entry org.example.TextEditor "Text Editor" accessories-text-editor "Utility;TextEditor"
entry org.example.Terminal "Terminal" utilities-terminal "System"
entry org.example.Files "Files" system-file-manager "System"
entry org.example.Software "Software" system-software-install "System"
entry org.example.Updates "Software Updates" system-software-update "System"
entry org.example.Web "Web Browser" web-browser "Network;WebBrowser"
entry org.example.Mail "Mail" mail-send-receive "Network;Email"
entry org.example.Contacts "Contacts" address-book-new "Office"
entry org.example.Calendar "Calendar" appointment-new "Office"
entry org.example.Screenshot "Screenshot" applets-screenshooter "Graphics"
entry org.example.Camera "Camera" camera-photo "Graphics;Photography"
entry org.example.Videos "Videos" camera-video "AudioVideo;Video"
entry org.example.Music "Music Player" multimedia-player "AudioVideo;Music"
entry org.example.Volume "Volume Control" multimedia-volume-control "AudioVideo;Music"
entry org.example.Chess "Chess" applications-games "Game;BoardGame"
entry org.example.Trophies "Trophies" trophy-gold "Game;ArcadeGame"
entry org.example.Help "Help" help-browser "Utility"
entry org.example.Fonts "Fonts" preferences-desktop-font "Settings"
entry org.example.Display "Displays" preferences-desktop-display "Settings"
entry org.example.Keyboard "Keyboard" preferences-desktop-keyboard "Settings"
entry org.example.Wallpaper "Background" preferences-desktop-wallpaper "Settings"
entry org.example.Spelling "Spell Check" tools-check-spelling "Office"
entry org.example.Printers "Printers" printer "Settings"
entry org.example.Builder "Builder" applications-engineering "Development;IDE"
entry org.example.Science "Lab Notes" applications-science "Education;Science"
