import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import Velmora.Settings

// The extra folders searched for applications.
Item {
    id: root

    required property FoldersSettingsModel folders

    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 12

        Label {
            text: qsTr("Add folders to allow Velmora to show apps within them.")
            color: VelmoraTheme.secondaryText(pal)
            wrapMode: Text.Wrap
            Layout.fillWidth: true
            Layout.bottomMargin: 4
        }

        AbstractButton {
            id: addButton
            objectName: "addFolderButton"
            Accessible.name: qsTr("Add Other Folders")
            onClicked: folderDialog.open()
            contentItem: Row {
                spacing: 6
                SymbolIcon {
                    name: "plus.circle.fill"
                    size: 20
                    color: VelmoraTheme.accent(pal)
                    anchors.verticalCenter: parent.verticalCenter
                }
                Label {
                    text: qsTr("Add Other Folders")
                    color: VelmoraTheme.accent(pal)
                    font.underline: addButton.hovered
                    anchors.verticalCenter: parent.verticalCenter
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            radius: 8
            color: pal.base
            border.color: Qt.rgba(pal.windowText.r, pal.windowText.g, pal.windowText.b, 0.12)
            clip: true

            ListView {
                id: list
                objectName: "folderList"
                anchors.fill: parent
                anchors.margins: 6
                model: root.folders
                clip: true
                spacing: 2
                ScrollBar.vertical: ScrollBar {}

                delegate: FolderRowView {
                    required property int index
                    width: ListView.view.width
                    onRemove: root.folders.removeFolder(index)
                }
            }

            Label {
                anchors.centerIn: parent
                visible: list.count === 0
                text: qsTr("No folders added")
                color: VelmoraTheme.secondaryText(pal)
            }
        }

        Label {
            objectName: "folderMessage"
            visible: text !== ""
            text: root.folders.message
            color: VelmoraTheme.destructive
            font.pixelSize: 12
            Layout.fillWidth: true
            elide: Text.ElideMiddle
        }

        Label {
            objectName: "restartNote"
            text: qsTr("Changes apply the next time Velmora starts.")
            font.pixelSize: 12
            color: VelmoraTheme.secondaryText(pal)
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
    }

    FolderDialog {
        id: folderDialog
        objectName: "folderDialog"
        title: qsTr("Add Other Folders")
        onAccepted: root.folders.addFolder(selectedFolder)
    }
}
