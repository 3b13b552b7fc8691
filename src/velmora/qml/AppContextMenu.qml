import QtQuick
import QtQuick.Controls

// The eight entries of a tile's menu; what they show comes from LauncherScreen.appMenu().
Menu {
    id: menu

    required property var screen
    required property string path
    property var info: ({})

    MenuItem {
        text: qsTr("Show in File Manager")
        onTriggered: menu.screen.revealApp(menu.path)
    }
    MenuSeparator {}
    Menu {
        title: qsTr("Category")
        Repeater {
            model: menu.info.categories || []
            MenuItem {
                required property var modelData
                text: modelData.title
                checkable: true
                checked: modelData.marked
                onTriggered: menu.screen.setAppCategory(menu.path, modelData.categoryUUID)
            }
        }
    }
    MenuItem {
        text: qsTr("New Category")
        onTriggered: menu.screen.newCategoryForApp(menu.path)
    }
    MenuItem {
        text: qsTr("Remove from Category")
        visible: !!menu.info.canRemove
        height: visible ? implicitHeight : 0
        onTriggered: menu.screen.removeAppFromCategory(menu.path)
    }
    MenuSeparator {}
    MenuItem {
        text: menu.info.pinLabel || ""
        onTriggered: menu.screen.togglePin(menu.path)
    }
    MenuItem {
        text: menu.info.hideLabel || ""
        onTriggered: menu.screen.toggleHide(menu.path)
    }
}
