import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Velmora.Settings

// One folder: its name, its full path, and a button that removes it.
Item {
    id: root

    required property string path
    required property string displayName
    signal remove()

    implicitHeight: row.implicitHeight + 8
    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 4
        anchors.topMargin: 4
        anchors.bottomMargin: 4
        spacing: 10

        SymbolIcon {
            name: "folder.fill"
            size: 22
            color: VelmoraTheme.accent(pal)
        }
        ColumnLayout {
            spacing: 2
            Layout.fillWidth: true
            Label {
                text: root.displayName
                font.weight: Font.Medium
                color: pal.text
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
            Label {
                text: root.path
                font.pixelSize: 11
                color: VelmoraTheme.secondaryText(pal)
                maximumLineCount: 1
                elide: Text.ElideMiddle
                Layout.fillWidth: true
            }
        }
        ToolButton {
            objectName: "removeFolderButton"
            Accessible.name: qsTr("Remove %1").arg(root.displayName)
            contentItem: SymbolIcon { name: "trash"; size: 18; color: VelmoraTheme.destructive }
            onClicked: root.remove()
        }
    }
}
