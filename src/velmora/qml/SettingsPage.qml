import QtQuick
import QtQuick.Controls

// Until the settings screen arrives: the two switches the shell acts on and the hot key's state.
Rectangle {
    id: page

    required property var settings
    required property var appDelegate

    anchors.fill: parent
    color: palette.window

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Column {
        anchors { fill: parent; margins: 20 }
        spacing: 12

        Switch {
            text: qsTr("Show in the taskbar")
            checked: page.settings.showDockIcon
            onToggled: page.settings.showDockIcon = checked
        }
        Switch {
            text: qsTr("Show the tray icon")
            checked: page.settings.showMenubarIcon
            onToggled: page.settings.showMenubarIcon = checked
        }
        Label {
            width: parent.width
            visible: text.length > 0
            wrapMode: Text.WordWrap
            text: page.appDelegate.hotKeyStatus
            color: palette.windowText
        }
    }
}
