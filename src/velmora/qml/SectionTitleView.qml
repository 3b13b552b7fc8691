import QtQuick
import QtQuick.Controls
import QtQuick.Window

// A category's header row: its icon and title; the fold button for Hidden; the edit and
// move controls on hover for ordinary categories.
Item {
    id: header

    required property var screen
    required property var theme
    required property string categoryUUID
    required property string displayTitle
    required property string systemIconName
    required property string reservedType
    required property bool listMode
    property bool pinned: false // the header pinned over the grid moves among its own list

    readonly property var vo: screen.viewObject
    readonly property bool ordinary: reservedType === ""
    readonly property bool isHidden: reservedType === "hidden"
    readonly property var place: screen.headerPlace(categoryUUID, pinned)

    implicitHeight: 38

    HoverHandler { id: hover }

    Row {
        id: title
        x: header.listMode ? 8 : (header.width - width) / 2
        anchors.verticalCenter: parent.verticalCenter
        height: Math.max(30, implicitHeight)
        spacing: 6

        SymbolImage {
            screen: header.screen
            name: header.systemIconName
            size: 17
            color: header.theme.secondary
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: header.displayTitle
            color: header.theme.secondary
            font.pixelSize: 15
            font.bold: true
            anchors.verticalCenter: parent.verticalCenter
        }
        SymbolImage {
            visible: header.isHidden
            screen: header.screen
            name: header.vo.showHiddenGroup ? "chevron.down" : "chevron.left"
            size: 17
            color: header.theme.secondary
            anchors.verticalCenter: parent.verticalCenter
        }
    }
    MouseArea {
        x: title.x - 8
        width: title.width + 16
        height: parent.height
        enabled: header.isHidden
        cursorShape: enabled ? Qt.PointingHandCursor : Qt.ArrowCursor
        onClicked: header.vo.showHiddenGroup = !header.vo.showHiddenGroup
    }

    // Edit and move controls, over the space after the title.
    Row {
        id: controls
        visible: hover.hovered && header.ordinary
        opacity: 0.8
        anchors.verticalCenter: parent.verticalCenter
        x: header.listMode ? title.x + title.width + 24
                           : title.x + title.width + (header.width - title.x - title.width - width) / 2
        spacing: 4

        component ControlButton: ToolButton {
            property string symbol
            required property var screen
            flat: true
            implicitWidth: 28
            implicitHeight: 28
            focusPolicy: Qt.NoFocus
            // Plain buttons: only a faint plate under the pointer, in either palette.
            background: Rectangle {
                radius: 6
                color: parent.hovered && parent.enabled ? header.theme.material : "transparent"
            }
            contentItem: SymbolImage {
                screen: parent.screen
                name: parent.symbol
                size: 18
                font.bold: true
                color: header.theme.secondary
                opacity: parent.enabled ? 1 : 0.35
            }
        }
        ControlButton {
            objectName: "editButton"
            screen: header.screen
            symbol: "pencil.line"
            onClicked: popover.open()
        }
        Item { width: 16; height: 1 }
        ControlButton {
            objectName: "upButton"
            screen: header.screen
            symbol: "arrow.up"
            enabled: !header.place.isFirst
            onClicked: header.screen.moveCategory(header.categoryUUID, true, header.pinned)
        }
        ControlButton {
            objectName: "downButton"
            screen: header.screen
            symbol: "arrow.down"
            enabled: !header.place.isLast
            onClicked: header.screen.moveCategory(header.categoryUUID, false, header.pinned)
        }
    }

    Popup {
        id: popover
        x: title.x + (title.width - width) / 2
        y: header.height
        padding: 0
        modal: false
        focus: true
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
        // While it is open, keys belong to the editor, not to the window's key routing.
        onOpened: if (header.Window.window) header.Window.window.showingPopover = true
        onClosed: if (header.Window.window) header.Window.window.showingPopover = false
        background: Rectangle {
            color: header.theme.background
            radius: 10
            border.color: header.theme.divider
        }
        contentItem: Loader {
            active: popover.opened
            sourceComponent: SectionTitleEditorView {
                screen: header.screen
                theme: header.theme
                editor: header.screen.makeEditor(header.categoryUUID)
            }
        }
    }
}
