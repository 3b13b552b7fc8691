import QtQuick

// A symbol of the catalogue, drawn as a glyph of the icon font; unknown names draw a
// neutral placeholder.
Text {
    required property var screen
    property string name
    property real size: 16

    text: screen.symbolGlyph(name)
    font.family: "Material Icons"
    font.pixelSize: size
    verticalAlignment: Text.AlignVCenter
    horizontalAlignment: Text.AlignHCenter
}
