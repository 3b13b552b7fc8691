import QtQuick
import QtQuick.Controls

// The launcher menu under the "…" button.
PopoverMenu {
    id: menu
    required property var screen
    required property var settings

    Menu {
        property string symbol: "viewfinder"
        title: qsTr("View")
        SymbolMenuItem {
            text: qsTr("Grid")
            symbol: "square.grid.2x2"
            checkable: true
            checked: menu.screen.viewObject.viewType === "grid"
            onTriggered: menu.screen.chooseViewType("grid")
        }
        SymbolMenuItem {
            text: qsTr("List")
            symbol: "rectangle.grid.1x2"
            checkable: true
            checked: menu.screen.viewObject.viewType === "list"
            onTriggered: menu.screen.chooseViewType("list")
        }
    }
    SymbolMenuItem {
        text: qsTr("Full Screen")
        symbol: "arrow.up.left.and.arrow.down.right"
        checkable: true
        checked: menu.settings.fullscreen
        onTriggered: menu.settings.fullscreen = checked
    }
    MenuSeparator {}
    SymbolMenuItem {
        text: qsTr("Settings")
        shortcutText: "Ctrl+,"
        symbol: "gear"
        onTriggered: menu.screen.showSettings()
    }
    SymbolMenuItem {
        text: qsTr("Send Feedback")
        symbol: "envelope"
        onTriggered: menu.screen.sendFeedback()
    }
    SymbolMenuItem {
        text: qsTr("Check for Updates")
        symbol: "arrow.triangle.2.circlepath"
        onTriggered: menu.screen.checkForUpdates()
    }
    MenuSeparator {}
    SymbolMenuItem {
        text: qsTr("Quit")
        shortcutText: "Ctrl+Q"
        onTriggered: menu.screen.quit()
    }
}
