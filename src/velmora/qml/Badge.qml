import QtQuick

// A Command number on a tile: white text on an accent capsule, with a faint shadow.
Rectangle {
    property var theme
    property alias text: label.text

    width: label.implicitWidth + 8
    height: label.implicitHeight + 8
    radius: 6
    color: theme.accent
    z: 2

    Rectangle {
        z: -1
        anchors.fill: parent
        anchors.topMargin: 1
        anchors.bottomMargin: -1
        radius: parent.radius
        color: Qt.rgba(0, 0, 0, 0.33)
    }
    Text {
        id: label
        anchors.centerIn: parent
        color: "white"
        font.pixelSize: 12
        font.bold: true
    }
}
