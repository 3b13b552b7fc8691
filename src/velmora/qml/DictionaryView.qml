import QtQuick

// The dictionary card: at most five selectable lines of the definition.
Column {
    id: card
    required property var theme
    required property string definition

    visible: definition !== ""
    spacing: 8

    Rectangle { width: card.width; height: 1; color: card.theme.divider }
    Column {
        width: card.width
        spacing: 4
        topPadding: 8
        bottomPadding: 8
        leftPadding: 2
        Text { text: qsTr("Dictionary"); font.pixelSize: 12; font.bold: true; color: card.theme.text }
        Item {
            width: parent.width - 4
            height: Math.min(definitionText.contentHeight, definitionText.font.pixelSize * 1.4 * 5)
            clip: true
            TextEdit {
                id: definitionText
                objectName: "dictionaryDefinition"
                width: parent.width
                text: card.definition
                readOnly: true
                selectByMouse: true
                wrapMode: TextEdit.Wrap
                font.pixelSize: 14
                color: card.theme.text
                selectionColor: card.theme.accent
            }
        }
    }
}
