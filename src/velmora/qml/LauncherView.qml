import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The launcher screen: search bar and menu, the category list, the discovery warning,
// and the grid (or the search results and cards). Behaviour lives in LauncherScreen.
FocusScope {
    id: view

    required property var screen
    required property var settings
    required property var window
    required property bool dark

    readonly property var vo: screen.viewObject
    readonly property real sideMargin: vo.totalWidth * 0.05
    readonly property bool listMode: vo.viewType === "list"
    readonly property bool fullscreen: settings.fullscreen

    Theme { id: colors; dark: view.dark }

    Connections {
        target: view.screen
        function onFocusSearchField() { searchField.forceActiveFocus() }
    }
    Connections {
        target: view.window
        function onActiveChanged() {
            if (view.window.active)
                view.screen.keyWindowReset()
        }
    }
    Connections {
        target: view.settings
        function onFullscreenChanged() { view.screen.fullScreenChanged() }
    }
    Shortcut { sequence: "Ctrl+,"; onActivated: view.screen.showSettings() }
    Shortcut { sequence: "Ctrl+Q"; onActivated: view.screen.quit() }

    // File drags over the screen only open the drop list; a drop here is refused.
    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        onEntered: { closeDropList.stop(); view.vo.showDropList = true }
        onExited: closeDropList.restart()
        onDropped: (drop) => { drop.accepted = false }
    }
    // Leaving the screen for one of the drop targets is not leaving the launcher.
    Timer {
        id: closeDropList
        interval: 80
        onTriggered: if (!dropTargets.anyTarget) view.vo.showDropList = false
    }

    ColumnLayout {
        id: stack
        anchors.fill: parent
        spacing: 8
        opacity: view.vo.showDropList ? 0 : 1

        // --- the top bar ---
        Item {
            id: topBar
            Layout.fillWidth: true
            implicitHeight: view.fullscreen ? capsule.height + 50 : barRow.implicitHeight + 36
            onWidthChanged: if (width > 0) view.screen.widthChanged(width)
            Component.onCompleted: view.screen.widthShown(width)

            Rectangle {
                id: capsule
                visible: view.fullscreen
                width: 300
                height: 36
                radius: height / 2
                x: (parent.width - width) / 2
                y: 30
                color: Qt.rgba(0.5, 0.5, 0.5, 0.2)
            }
            RowLayout {
                id: barRow
                spacing: 10
                x: view.fullscreen ? capsule.x + 10 : 18
                width: view.fullscreen ? capsule.width - 20 : parent.width - 36
                y: view.fullscreen ? capsule.y + (capsule.height - height) / 2 : 18

                SymbolImage {
                    screen: view.screen
                    name: "magnifyingglass"
                    size: view.fullscreen ? 18 : 24
                    color: colors.secondary
                }
                TextField {
                    id: searchField
                    objectName: "searchField"
                    Layout.fillWidth: true
                    focus: true
                    placeholderText: qsTr("Search")
                    placeholderTextColor: colors.secondary
                    color: colors.text
                    font.pixelSize: view.fullscreen ? 15 : 22
                    background: null
                    leftPadding: 0
                    text: view.vo.searchText
                    onTextEdited: view.vo.searchText = text
                    onAccepted: view.vo.launchHighlighted()
                }
                ToolButton {
                    id: menuButton
                    objectName: "menuButton"
                    flat: true
                    implicitWidth: 32
                    implicitHeight: 32
                    focusPolicy: Qt.NoFocus
                    background: Rectangle {
                        radius: 8
                        color: menuButton.down || menuButton.hovered || launcherMenu.visible
                               ? colors.material : "transparent"
                    }
                    contentItem: SymbolImage {
                        screen: view.screen
                        name: "ellipsis.circle"
                        size: view.fullscreen ? 18 : 24
                        color: colors.secondary
                    }
                    onClicked: launcherMenu.popup(menuButton, 0, menuButton.height)
                }
            }
            LauncherMenu {
                id: launcherMenu
                objectName: "launcherMenu"
                theme: colors
                screen: view.screen
                settings: view.settings
            }
        }

        // --- the category list ---
        Item {
            Layout.fillWidth: true
            Layout.topMargin: view.fullscreen ? 4 : 0
            Layout.bottomMargin: shown ? (view.fullscreen ? 20 : 12) : 0
            readonly property bool shown: view.screen.categoryListShown
            Layout.preferredHeight: shown ? 34 : 0
            opacity: shown ? 1 : 0
            clip: true
            Behavior on Layout.preferredHeight { NumberAnimation { duration: 200; easing.type: Easing.InQuad } }
            Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InQuad } }

            CategoryListView {
                objectName: "categoryList"
                anchors.fill: parent
                screen: view.screen
                theme: colors
                fullscreen: view.fullscreen
            }
        }

        // --- the discovery warning ---
        Rectangle {
            visible: view.vo.spotlightError
            Layout.fillWidth: true
            Layout.leftMargin: view.sideMargin
            Layout.rightMargin: view.sideMargin
            implicitHeight: warning.implicitHeight + 20
            radius: 8
            color: Qt.rgba(1, 0.23, 0.19, 0.2)
            Text {
                id: warning
                anchors.fill: parent
                anchors.margins: 10
                text: view.screen.warningText()
                color: "#ff3b30"
                wrapMode: Text.Wrap
                font.pixelSize: 13
            }
            MouseArea {
                anchors.fill: parent
                onClicked: view.screen.copyWarningCommand()
            }
        }

        // --- the grid ---
        Item {
            id: gridArea
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true

            GridContent {
                id: grid
                anchors.fill: parent
                screen: view.screen
                theme: colors
                sideMargin: view.sideMargin
                listMode: view.listMode
            }

            // The header of the category scrolled under the top edge, with the fade.
            readonly property var pinned: view.screen.pinnedHeader
            // At the very top the pinned header would sit exactly on the real one.
            readonly property bool decorated: pinned.categoryUUID !== undefined && grid.contentY > 1
            Rectangle {
                visible: gridArea.decorated
                x: 20
                width: parent.width - 40
                height: 30
                gradient: Gradient {
                    GradientStop { position: 0.0; color: colors.fade }
                    GradientStop { position: 0.5; color: colors.fade }
                    GradientStop { position: 1.0; color: "transparent" }
                }
            }
            Loader {
                active: gridArea.decorated
                x: view.sideMargin
                width: parent.width - 2 * view.sideMargin
                height: 38
                sourceComponent: SectionTitleView {
                    screen: view.screen
                    theme: colors
                    categoryUUID: gridArea.pinned.categoryUUID
                    displayTitle: gridArea.pinned.displayTitle
                    systemIconName: gridArea.pinned.systemIconName
                    reservedType: gridArea.pinned.reservedType
                    listMode: view.listMode
                    pinned: true
                }
            }
        }
    }

    CategoryDropTargetView {
        id: dropTargets
        anchors.fill: parent
        visible: view.vo.showDropList
        screen: view.screen
        theme: colors
    }
}
