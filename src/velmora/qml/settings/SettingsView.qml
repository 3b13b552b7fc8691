import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Velmora.Settings

// The tab bar (symbol over label, as a toolbar) and the selected tab's view.
Item {
    id: root

    required property SettingsTabController tabs
    required property GeneralSettingsModel general
    required property FoldersSettingsModel folders
    required property AboutModel about

    readonly property alias toolbarHeight: toolbar.height
    implicitWidth: tabs.preferredWidth
    implicitHeight: toolbar.height + tabs.preferredHeight

    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    Rectangle {
        anchors.fill: parent
        color: pal.window
    }

    Rectangle {
        id: toolbar
        objectName: "settingsToolbar"
        width: parent.width
        height: 64
        color: Qt.darker(pal.window, VelmoraTheme.isDark(pal) ? 0.85 : 1.03)

        Row {
            anchors.centerIn: parent
            spacing: 4

            Repeater {
                model: root.tabs

                delegate: AbstractButton {
                    id: tabButton
                    required property int index
                    required property string title
                    required property string symbol

                    objectName: "settingsTab" + index
                    width: 84
                    height: 54
                    checkable: false
                    Accessible.name: title
                    onClicked: root.tabs.currentIndex = index

                    readonly property bool selected: root.tabs.currentIndex === index

                    background: Rectangle {
                        radius: 8
                        color: tabButton.selected
                               ? Qt.rgba(pal.highlight.r, pal.highlight.g, pal.highlight.b, 0.16)
                               : tabButton.hovered ? Qt.rgba(pal.windowText.r, pal.windowText.g, pal.windowText.b, 0.06)
                                                   : "transparent"
                    }
                    contentItem: Column {
                        spacing: 2
                        topPadding: 6
                        SymbolIcon {
                            anchors.horizontalCenter: parent.horizontalCenter
                            name: tabButton.symbol
                            accessibleName: tabButton.title
                            size: 22
                            color: tabButton.selected ? VelmoraTheme.accent(pal) : pal.windowText
                        }
                        Label {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: tabButton.title
                            font.pixelSize: 12
                            color: tabButton.selected ? VelmoraTheme.accent(pal) : pal.windowText
                        }
                    }
                }
            }
        }

        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Qt.rgba(pal.windowText.r, pal.windowText.g, pal.windowText.b, 0.12)
        }
    }

    StackLayout {
        id: stack
        objectName: "settingsStack"
        anchors.top: toolbar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        height: root.tabs.preferredHeight
        currentIndex: root.tabs.currentIndex

        GeneralSettingsView { settings: root.general }
        FoldersSettingsView { folders: root.folders }
        AboutSettingsView { about: root.about }
    }
}
