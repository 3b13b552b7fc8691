import QtQuick
import QtQuick.Controls

// A menu entry with a symbol of the catalogue before its text, tinted like the text.
MenuItem {
    property string symbol
    icon.source: symbol ? "image://symbol/" + encodeURIComponent(symbol) : ""
    icon.color: down || highlighted ? palette.highlightedText : palette.text
}
