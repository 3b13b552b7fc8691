import QtQuick
import QtQuick.Controls

// One application: a grid tile or a list row, with its badge, highlight and menu.
Item {
    id: tile

    required property var screen
    required property var theme
    required property var cell       // {path, displayName}
    required property int row
    required property int column
    required property bool listMode
    property bool selected: false
    property int shortcutNumber: -1

    readonly property string path: cell.path ?? ""
    readonly property string name: screen.tileName(cell.displayName ?? "")
    readonly property url iconSource: "image://appicon/" + encodeURIComponent(path)

    // --- grid tile ---
    Item {
        id: gridTile
        visible: !tile.listMode
        anchors.fill: parent

        Item {
            id: iconBox
            anchors.horizontalCenter: parent.horizontalCenter
            y: 0
            width: Math.min(parent.width, parent.height - label.height - 6)
            height: width

            Image {
                anchors.fill: parent
                source: tile.listMode ? "" : tile.iconSource
                asynchronous: true
                cache: false
                fillMode: Image.PreserveAspectFit
                sourceSize: Qt.size(128, 128)
                smooth: true
                mipmap: true
            }
            // The highlight: an accent outline with a soft glow.
            Rectangle {
                visible: tile.selected
                anchors.fill: parent
                anchors.margins: -iconBox.height * 0.03 - 3
                radius: iconBox.height * 0.27 + 3
                color: "transparent"
                border.width: 5
                border.color: Qt.rgba(tile.theme.accent.r, tile.theme.accent.g, tile.theme.accent.b, 0.25)
            }
            Rectangle {
                visible: tile.selected
                anchors.fill: parent
                anchors.margins: -iconBox.height * 0.03
                radius: iconBox.height * 0.27
                color: "transparent"
                border.width: 2
                border.color: tile.theme.accent
            }
            Badge {
                visible: tile.shortcutNumber >= 0
                theme: tile.theme
                text: "\u2318" + tile.shortcutNumber
            }
        }
        Text {
            id: label
            anchors.top: iconBox.bottom
            anchors.topMargin: 6
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: tile.name
            color: tile.theme.text
            font.pixelSize: 13
            elide: Text.ElideRight
            maximumLineCount: 1
        }
    }

    // --- list row ---
    Item {
        visible: tile.listMode
        anchors.fill: parent
        anchors.topMargin: 4
        anchors.bottomMargin: 4

        Rectangle {
            anchors.fill: parent
            visible: tile.selected
            radius: height * 0.28
            color: Qt.rgba(tile.theme.accent.r, tile.theme.accent.g, tile.theme.accent.b, 0.08)
            border.width: 2
            border.color: tile.theme.accent
        }
        Row {
            anchors.fill: parent
            anchors.margins: 4
            spacing: 12
            Image {
                width: 45
                height: 45
                source: tile.listMode ? tile.iconSource : ""
                asynchronous: true
                cache: false
                fillMode: Image.PreserveAspectFit
                sourceSize: Qt.size(128, 128)
                mipmap: true
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: tile.name
                color: tile.theme.text
                font.pixelSize: 20
                elide: Text.ElideRight
                maximumLineCount: 1
            }
        }
        Badge {
            visible: tile.shortcutNumber >= 0
            theme: tile.theme
            text: "\u2318" + tile.shortcutNumber
        }
    }

    // The drag carries the application's file URL.
    Item {
        id: dragProxy
        Drag.dragType: Drag.Automatic
        Drag.supportedActions: Qt.CopyAction
        Drag.mimeData: { "text/uri-list": "file://" + encodeURI(tile.path) }
        Drag.active: mouse.drag.active
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        drag.target: dragProxy
        onPressed: (event) => {
            if (event.button === Qt.LeftButton)
                tile.screen.tileClicked(tile.row, tile.column)
        }
        onDoubleClicked: (event) => {
            if (event.button === Qt.LeftButton)
                tile.screen.viewObject.launchTile(tile.row, tile.column)
        }
        onClicked: (event) => {
            if (event.button === Qt.RightButton) {
                // Built on demand: a menu per tile would cost every visible tile a menu tree.
                const menu = contextMenu.createObject(tile, { info: tile.screen.appMenu(tile.path) })
                menu.closed.connect(menu.destroy)
                menu.popup()
            }
        }
    }

    Component {
        id: contextMenu
        AppContextMenu {
            screen: tile.screen
            theme: tile.theme
            path: tile.path
        }
    }
}
