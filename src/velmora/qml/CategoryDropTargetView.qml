import QtQuick
import QtQuick.Controls

// The drop targets shown while a file is dragged over the launcher: one per category.
Item {
    id: targets

    required property var screen
    required property var theme
    readonly property bool anyTarget: hovered > 0
    property int hovered: 0

    Flickable {
        id: scroller
        anchors.centerIn: parent
        width: Math.min(parent.width - 40, 800)
        height: Math.min(parent.height, column.height)
        contentHeight: column.height
        interactive: column.height > targets.height
        clip: interactive
        ScrollBar.vertical: ScrollBar { visible: scroller.interactive }

        Column {
            id: column
            width: scroller.width

            FadedDivider { theme: targets.theme }
            Repeater {
                model: targets.screen.viewObject.sortedCategories
                Column {
                    required property var modelData
                    width: column.width
                    DropListItem {
                        screen: targets.screen
                        theme: targets.theme
                        category: modelData
                        onWillDropToThisChanged: targets.hovered += willDropToThis ? 1 : -1
                    }
                    FadedDivider { theme: targets.theme }
                }
            }
        }
    }
}
