import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Velmora.Settings

// One explanatory page: symbol, title, lines, indicator, and the arrow buttons. The last
// page adds the launch keys and the "Start at Login" switch.
ColumnLayout {
    id: root

    required property OnboardingController controller

    spacing: 8
    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    Item { Layout.fillHeight: true }

    SymbolIcon {
        objectName: "pageSymbol"
        name: root.controller.symbol
        size: 40
        color: VelmoraTheme.accent(pal)
        Layout.alignment: Qt.AlignHCenter
    }
    Label {
        objectName: "pageTitle"
        text: root.controller.title
        color: pal.windowText
        font.family: "serif"
        font.pixelSize: 26
        font.bold: true
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }
    Label {
        objectName: "pageLines"
        visible: text !== ""
        // One label for all lines: a Repeater inside a layout trips Qt 6.4 on page changes.
        text: root.controller.lines.join("\n")
        color: pal.windowText
        font.family: "serif"
        font.pixelSize: 18
        lineHeight: 1.15
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }

    RowLayout {
        objectName: "keyRow"
        visible: root.controller.isFinal
        spacing: 8
        Layout.alignment: Qt.AlignHCenter
        Layout.topMargin: 4
        KeyCap { text: root.controller.keyCaps[0] }
        Label { text: "+"; color: pal.windowText; font.family: "serif"; font.pixelSize: 18 }
        KeyCap { text: root.controller.keyCaps[1] }
    }
    Switch {
        objectName: "onboardingStartAtLoginSwitch"
        visible: root.controller.isFinal
        text: qsTr("Start at Login")
        checked: root.controller.isStartAtLoginEnable
        Layout.alignment: Qt.AlignHCenter
        Layout.topMargin: 8
        onToggled: {
            root.controller.isStartAtLoginEnable = checked
            checked = Qt.binding(() => root.controller.isStartAtLoginEnable)
        }
    }
    Label {
        visible: root.controller.isFinal && root.controller.startAtLoginError !== ""
        text: root.controller.startAtLoginError
        color: VelmoraTheme.destructive
        font.pixelSize: 11
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        Layout.fillWidth: true
    }

    Label {
        objectName: "pageIndicator"
        visible: text !== ""
        text: root.controller.indicator
        font.family: "serif"
        font.pixelSize: 15
        color: VelmoraTheme.secondaryText(pal)
        Layout.alignment: Qt.AlignHCenter
        Layout.topMargin: 6
    }

    Item { Layout.fillHeight: true }

    RowLayout {
        spacing: 24
        Layout.alignment: Qt.AlignHCenter
        Layout.bottomMargin: 8
        CircleButton {
            objectName: "leftButton"
            visible: root.controller.leftSymbol !== ""
            symbol: root.controller.leftSymbol
            accessibleName: qsTr("Back")
            onClicked: root.controller.previousPage()
        }
        CircleButton {
            objectName: "rightButton"
            symbol: root.controller.rightSymbol
            accessibleName: root.controller.isFinal ? qsTr("Finish") : qsTr("Next")
            onClicked: root.controller.nextPage()
        }
    }
}
