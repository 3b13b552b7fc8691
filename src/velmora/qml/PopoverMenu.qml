import QtQuick
import QtQuick.Controls

// A menu of the launcher window. While it is open, keys belong to it (Escape closes the
// menu, not the launcher); when the launcher hides, the menu closes with it instead of
// coming back open on the next show.
Menu {
    id: menu

    readonly property var hostWindow: parent ? parent.Window.window : null
    // The launcher's colours, so that a menu is dark over a dark launcher.
    required property var theme

    palette.window: theme.background
    palette.base: theme.background
    palette.text: theme.text
    palette.windowText: theme.text
    palette.buttonText: theme.text
    palette.highlight: theme.accent
    palette.highlightedText: "#ffffff"

    // The entry that opens a submenu shows the submenu's symbol.
    delegate: SymbolMenuItem { symbol: subMenu && subMenu.symbol ? subMenu.symbol : "" }

    onOpened: if (hostWindow) hostWindow.showingPopover = true
    onClosed: if (hostWindow) hostWindow.showingPopover = false

    Connections {
        target: menu.hostWindow
        function onVisibleChanged() {
            if (!menu.hostWindow.visible)
                menu.close()
        }
    }
}
