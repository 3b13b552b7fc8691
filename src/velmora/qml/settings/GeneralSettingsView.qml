import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Velmora.Settings

// Start at login, tray and taskbar presence, and the toggle shortcut.
Item {
    id: root

    required property GeneralSettingsModel settings

    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    GridLayout {
        id: form
        anchors.centerIn: parent
        width: 450
        columns: 2
        columnSpacing: 12
        rowSpacing: 6

        Label {
            text: qsTr("Startup:")
            Layout.alignment: Qt.AlignRight | Qt.AlignVCenter
            Layout.preferredWidth: 130
            horizontalAlignment: Text.AlignRight
        }
        Switch {
            id: startAtLogin
            objectName: "startAtLoginSwitch"
            text: qsTr("Start at Login")
            checked: root.settings.isStartAtLoginEnable
            onToggled: {
                root.settings.isStartAtLoginEnable = checked
                // A refused registration flips the model back; follow it again.
                checked = Qt.binding(() => root.settings.isStartAtLoginEnable)
            }
        }

        Item { visible: loginError.visible; Layout.preferredWidth: 1 }
        Label {
            id: loginError
            objectName: "startAtLoginError"
            visible: root.settings.startAtLoginError !== ""
            text: root.settings.startAtLoginError
            color: VelmoraTheme.destructive
            wrapMode: Text.Wrap
            font.pixelSize: 12
            Layout.fillWidth: true
        }

        Item { Layout.columnSpan: 2; Layout.preferredHeight: 8 }

        Label {
            text: qsTr("Appearance:")
            Layout.alignment: Qt.AlignRight | Qt.AlignVCenter
            horizontalAlignment: Text.AlignRight
            Layout.preferredWidth: 130
        }
        Switch {
            objectName: "showMenubarIconSwitch"
            text: qsTr("Show Menubar Icon")
            checked: root.settings.showMenubarIcon
            onToggled: root.settings.showMenubarIcon = checked
        }

        Item { Layout.preferredWidth: 1 }
        Switch {
            objectName: "showDockIconSwitch"
            text: qsTr("Show Dock Icon")
            checked: root.settings.showDockIcon
            onToggled: root.settings.showDockIcon = checked
        }

        Item { Layout.columnSpan: 2; Layout.preferredHeight: 8 }

        Label {
            text: qsTr("Toggle Launcher:")
            Layout.alignment: Qt.AlignRight | Qt.AlignTop
            Layout.topMargin: 6
            horizontalAlignment: Text.AlignRight
            Layout.preferredWidth: 130
        }
        ShortcutRecorderField {
            recorder: root.settings.shortcutRecorder
            Layout.fillWidth: true
        }

        Item { Layout.columnSpan: 2; Layout.preferredHeight: 8 }
    }
}
