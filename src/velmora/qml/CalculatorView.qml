import QtQuick

// The calculator card: "input = result"; nothing when there is no result to show.
Column {
    id: card
    required property var theme
    required property string input
    required property string result

    visible: result !== ""
    spacing: 8

    Rectangle { width: card.width; height: 1; color: card.theme.divider }
    Column {
        spacing: 4
        topPadding: 8
        bottomPadding: 8
        leftPadding: 2
        Text { text: qsTr("Calculator"); font.pixelSize: 12; font.bold: true; color: card.theme.text }
        Row {
            spacing: 10
            Text { text: card.input; font.pixelSize: 28; color: card.theme.text }
            Text { text: "="; font.pixelSize: 28; color: card.theme.secondary }
            Text { objectName: "calculatorResult"; text: card.result; font.pixelSize: 28; color: card.theme.text }
        }
    }
}
