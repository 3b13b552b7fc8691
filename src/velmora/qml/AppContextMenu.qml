import QtQuick
import QtQuick.Controls

// The eight entries of a tile's menu; what they show comes from LauncherScreen.appMenu().
PopoverMenu {
    id: menu

    required property var screen
    required property string path
    property var info: ({})

    SymbolMenuItem {
        text: qsTr("Show in File Manager")
        symbol: "folder.fill"
        onTriggered: menu.screen.revealApp(menu.path)
    }
    MenuSeparator {}
    Menu {
        property string symbol: "tag"
        title: qsTr("Category")
        Repeater {
            model: menu.info.categories || []
            SymbolMenuItem {
                required property var modelData
                text: modelData.title
                symbol: modelData.systemIconName
                checkable: true
                checked: modelData.marked
                onTriggered: menu.screen.setAppCategory(menu.path, modelData.categoryUUID)
            }
        }
    }
    SymbolMenuItem {
        text: qsTr("New Category")
        onTriggered: menu.screen.newCategoryForApp(menu.path)
    }
    SymbolMenuItem {
        text: qsTr("Remove from Category")
        visible: !!menu.info.canRemove
        height: visible ? implicitHeight : 0
        onTriggered: menu.screen.removeAppFromCategory(menu.path)
    }
    MenuSeparator {}
    SymbolMenuItem {
        text: menu.info.pinLabel || ""
        symbol: menu.info.pinSymbol || ""
        onTriggered: menu.screen.togglePin(menu.path)
    }
    SymbolMenuItem {
        text: menu.info.hideLabel || ""
        symbol: menu.info.hideSymbol || ""
        onTriggered: menu.screen.toggleHide(menu.path)
    }
}
