import QtQuick

// One drop target: dropping an application's file URL moves it into the category.
DropArea {
    id: item

    required property var screen
    required property var theme
    required property var category
    readonly property bool willDropToThis: containsDrag

    width: parent ? parent.width : 0
    height: label.implicitHeight + 24
    keys: ["text/uri-list"]

    onEntered: screen.viewObject.showDropList = true
    onDropped: (drop) => {
        if (drop.hasUrls && drop.urls.length > 0)
            item.screen.dropOnCategory(drop.urls[0], item.category.categoryUUID)
        else
            item.screen.viewObject.showDropList = false
        drop.accept(Qt.CopyAction)
    }

    Rectangle {
        anchors.fill: parent
        opacity: item.willDropToThis ? 0.5 : 0
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0.0; color: "transparent" }
            GradientStop { position: 0.5; color: Qt.rgba(0.5, 0.5, 0.5, 0.8) }
            GradientStop { position: 1.0; color: "transparent" }
        }
    }
    Row {
        id: label
        anchors.centerIn: parent
        spacing: 8
        SymbolImage {
            screen: item.screen
            name: item.category.systemIconName
            size: 20
            color: item.theme.text
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: item.category.displayTitle
            color: item.theme.text
            font.pixelSize: 17
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
