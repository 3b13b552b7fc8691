import QtQuick
import QtQuick.Controls

// The strip of category buttons shown while Alt is held or a category is chosen.
ListView {
    id: strip

    required property var screen
    required property var theme
    required property bool fullscreen

    orientation: ListView.Horizontal
    spacing: 8
    leftMargin: fullscreen ? 30 : 18
    rightMargin: leftMargin
    height: 34
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    model: screen.categoryListEntries

    delegate: Rectangle {
        id: button
        required property var modelData
        required property int index
        height: 30
        anchors.verticalCenter: parent ? parent.verticalCenter : undefined
        width: content.implicitWidth + 12
        radius: 8
        color: modelData.chosen ? strip.theme.accent : strip.theme.material

        Row {
            id: content
            anchors.centerIn: parent
            spacing: 4
            SymbolImage {
                visible: button.modelData.systemIconName !== ""
                screen: strip.screen
                name: button.modelData.systemIconName
                size: 14
                color: label.color
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                id: label
                text: button.modelData.label
                color: button.modelData.chosen ? "white" : strip.theme.text
                font.pixelSize: 13
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        MouseArea {
            anchors.fill: parent
            onClicked: strip.screen.chooseCategory(button.modelData.categoryUUID)
        }
    }

    Connections {
        target: strip.screen
        function onCategoryListScrollRequested(index) {
            strip.positionViewAtIndex(index, ListView.Center)
        }
    }
}
