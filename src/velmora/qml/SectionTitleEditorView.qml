import QtQuick
import QtQuick.Controls

// The header's editor: a live title and the symbol picker (500 x 200).
Column {
    id: editorView

    required property var screen
    required property var theme
    required property var editor

    spacing: 8
    padding: 12

    Row {
        spacing: 8
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Title:")
            color: editorView.theme.text
            font.pixelSize: 13
        }
        TextField {
            objectName: "titleField"
            width: 500 - 50
            // The fields follow the launcher's palette, not the style's light default.
            palette.base: editorView.theme.dark ? "#2c2c2e" : "#ffffff"
            palette.text: editorView.theme.text
            palette.placeholderText: editorView.theme.secondary
            placeholderText: editorView.editor ? editorView.editor.initialTitle : ""
            text: editorView.editor ? editorView.editor.localTitle : ""
            onTextEdited: editorView.editor.localTitle = text
        }
    }
    Rectangle { width: 500; height: 1; color: editorView.theme.divider }

    GridView {
        id: symbols
        objectName: "symbolGrid"
        width: 500
        height: 200
        clip: true
        model: editorView.editor ? editorView.editor.filteredSymbols : []
        // Adaptive columns of 32 to 45 points.
        readonly property int columns: Math.ceil((width - 8) / 45)
        cellWidth: (width - 8) / columns
        cellHeight: 40
        leftMargin: 4
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AlwaysOn }

        delegate: Item {
            id: symbolCell
            required property string modelData
            width: symbols.cellWidth
            height: symbols.cellHeight
            readonly property bool chosen: editorView.editor && modelData === editorView.editor.systemIconName

            Rectangle {
                anchors.centerIn: parent
                width: 36
                height: 36
                radius: 8
                color: symbolCell.chosen ? "#0a84ff" : "transparent"
            }
            Text {
                anchors.centerIn: parent
                text: editorView.screen.symbolGlyph(symbolCell.modelData)
                font.family: "Material Icons"
                font.pixelSize: 26
                color: symbolCell.chosen ? "white" : editorView.theme.text
            }
            MouseArea {
                id: cellMouse
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: (event) => {
                    if (event.button === Qt.RightButton)
                        cellMenu.popup()
                    else
                        editorView.editor.chooseSymbol(symbolCell.modelData)
                }
            }
            ToolTip.visible: cellMouse.containsMouse
            ToolTip.delay: 600
            ToolTip.text: modelData
            Menu {
                id: cellMenu
                MenuItem { text: symbolCell.modelData; enabled: false }
                MenuItem {
                    text: qsTr("Copy Name")
                    onTriggered: editorView.screen.copyText(symbolCell.modelData)
                }
            }
        }
        Component.onCompleted: {
            if (editorView.editor && editorView.editor.selectedIndex >= 0)
                positionViewAtIndex(editorView.editor.selectedIndex, GridView.Contain)
        }
    }
    TextField {
        objectName: "symbolSearch"
        width: 500
        palette.base: editorView.theme.dark ? "#2c2c2e" : "#ffffff"
        palette.text: editorView.theme.text
        palette.placeholderText: editorView.theme.secondary
        placeholderText: qsTr("Search")
        onTextEdited: editorView.editor.searchText = text
    }
}
