import QtQuick

// The launcher window's root: the launcher page over a rounded translucent background.
// Focus scopes down to the search field, so typing lands there.
FocusScope {
    id: root

    required property var settings
    required property var window
    required property var launcherModel

    anchors.fill: parent
    focus: true

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }
    readonly property bool dark: palette.window.hslLightness < 0.5

    Rectangle {
        anchors.centerIn: parent
        width: parent.width
        height: parent.height
        radius: root.settings.fullscreen ? 0 : 28
        color: root.dark ? Qt.rgba(0, 0, 0, 0.6) : Qt.rgba(1, 1, 1, 0.6)
        border.width: root.settings.fullscreen ? 0 : 1
        border.color: root.dark ? Qt.rgba(1, 1, 1, 0.15) : Qt.rgba(0, 0, 0, 0.12)
    }

    LauncherView {
        anchors.fill: parent
        focus: true
        screen: root.launcherModel
        settings: root.settings
        window: root.window
        dark: root.dark
    }
}
