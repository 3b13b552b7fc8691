import QtQuick
import QtQuick.Controls

// The launcher menu under the "…" button.
Menu {
    id: menu
    required property var screen
    required property var settings

    Menu {
        title: qsTr("View")
        MenuItem {
            text: qsTr("Grid")
            checkable: true
            checked: menu.screen.viewObject.viewType === "grid"
            onTriggered: menu.screen.chooseViewType("grid")
        }
        MenuItem {
            text: qsTr("List")
            checkable: true
            checked: menu.screen.viewObject.viewType === "list"
            onTriggered: menu.screen.chooseViewType("list")
        }
    }
    MenuItem {
        text: qsTr("Full Screen")
        checkable: true
        checked: menu.settings.fullscreen
        onTriggered: menu.settings.fullscreen = checked
    }
    MenuSeparator {}
    MenuItem { text: qsTr("Settings") + "\tCtrl+,"; onTriggered: menu.screen.showSettings() }
    MenuItem { text: qsTr("Send Feedback"); onTriggered: menu.screen.sendFeedback() }
    MenuItem { text: qsTr("Check for Updates"); onTriggered: menu.screen.checkForUpdates() }
    MenuSeparator {}
    MenuItem { text: qsTr("Quit") + "\tCtrl+Q"; onTriggered: menu.screen.quit() }
}
