import QtQuick
import QtQuick.Controls
import Velmora.Settings

// A key as printed on the keyboard.
Rectangle {
    id: root

    property alias text: label.text

    implicitWidth: Math.max(48, label.implicitWidth + 16)
    implicitHeight: label.implicitHeight + 16
    radius: 8
    SystemPalette { id: pal; colorGroup: SystemPalette.Active }
    color: Qt.rgba(pal.base.r, pal.base.g, pal.base.b, 0.7)
    border.color: Qt.rgba(pal.windowText.r, pal.windowText.g, pal.windowText.b, 0.18)

    Label {
        id: label
        anchors.centerIn: parent
        color: pal.windowText
        font.family: "serif"
        font.pixelSize: 18
        font.bold: true
    }
}
