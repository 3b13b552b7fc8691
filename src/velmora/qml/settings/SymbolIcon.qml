import QtQuick
import Velmora.Settings

// A symbol name ("folder.fill") drawn as a glyph of the symbol font.
Text {
    property string name
    property real size: 18
    property string accessibleName

    text: SymbolFont.glyph(name)
    font.family: SymbolFont.family
    font.pixelSize: size
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    Accessible.role: Accessible.Graphic
    Accessible.name: accessibleName
}
