import QtQuick
import QtQuick.Controls
import Velmora.Settings

// A round button with a symbol, on a translucent disc with a soft shadow.
AbstractButton {
    id: root

    property string symbol
    property string accessibleName

    implicitWidth: 56
    implicitHeight: 56
    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    background: Item {
        Rectangle {
            x: 1; y: 3
            width: parent.width; height: parent.height
            radius: width / 2
            color: "#000000"
            opacity: VelmoraTheme.isDark(pal) ? 0.4 : 0.14
        }
        Rectangle {
            anchors.fill: parent
            radius: width / 2
            color: root.down ? Qt.darker(pal.button, 1.12) : root.hovered ? Qt.lighter(pal.button, 1.04) : pal.button
            border.color: Qt.rgba(pal.windowText.r, pal.windowText.g, pal.windowText.b, 0.12)
        }
    }
    contentItem: SymbolIcon {
        name: root.symbol
        size: 28
        color: pal.buttonText
    }
}
