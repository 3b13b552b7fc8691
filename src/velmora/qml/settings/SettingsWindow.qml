import QtQuick
import QtQuick.Window
import Velmora.Settings

// The settings window: created hidden, sized by the selected tab.
Window {
    id: window

    required property SettingsTabController tabs
    required property GeneralSettingsModel general
    required property FoldersSettingsModel folders
    required property AboutModel about

    title: qsTr("Settings")
    visible: false
    width: view.implicitWidth
    height: view.implicitHeight
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height

    SettingsView {
        id: view
        anchors.fill: parent
        tabs: window.tabs
        general: window.general
        folders: window.folders
        about: window.about
    }
}
