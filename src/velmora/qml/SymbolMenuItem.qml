import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl

// A menu entry with a symbol of the catalogue before its text, tinted like the text, and
// its key equivalent at the trailing edge. Entries without a symbol keep the symbol's room
// so that all texts of a menu line up.
MenuItem {
    id: control
    property string symbol
    property string shortcutText

    icon.source: "image://symbol/" + encodeURIComponent(symbol)
    icon.color: down || highlighted ? palette.highlightedText : palette.text

    contentItem: Item {
        readonly property real leadingRoom: control.checkable && control.indicator
                                            ? control.indicator.width + control.spacing : 0
        readonly property real trailingRoom: control.subMenu && control.arrow
                                             ? control.arrow.width + control.spacing : 0
        implicitWidth: leadingRoom + label.implicitWidth
                       + (keys.text ? 24 + keys.implicitWidth : 0) + trailingRoom
        implicitHeight: Math.max(label.implicitHeight, keys.implicitHeight)

        IconLabel {
            id: label
            x: parent.leadingRoom
            width: parent.width - x - parent.trailingRoom - (keys.text ? keys.width + 24 : 0)
            height: parent.height
            spacing: control.spacing
            display: control.display
            alignment: Qt.AlignLeft | Qt.AlignVCenter
            icon: control.icon
            text: control.text
            font: control.font
            color: control.icon.color
        }
        Text {
            id: keys
            anchors.right: parent.right
            anchors.rightMargin: parent.trailingRoom
            anchors.verticalCenter: parent.verticalCenter
            text: control.shortcutText
            font: control.font
            color: control.icon.color
            opacity: 0.7
        }
    }
}
