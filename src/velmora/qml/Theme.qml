import QtQuick

// Colours of the launcher screens for the light and dark palettes.
QtObject {
    property bool dark: false
    readonly property color text: dark ? "#f2f2f7" : "#1c1c1e"
    readonly property color secondary: dark ? Qt.rgba(0.92, 0.92, 0.96, 0.6) : Qt.rgba(0.24, 0.24, 0.26, 0.6)
    readonly property color accent: dark ? "#0a84ff" : "#007aff"
    readonly property color material: dark ? Qt.rgba(1, 1, 1, 0.12) : Qt.rgba(0, 0, 0, 0.06)
    readonly property color background: dark ? "#1e1e20" : "#f4f4f6"
    // The window's own translucent fill: what content scrolled under the pinned header fades into.
    readonly property color fade: dark ? Qt.rgba(0.1, 0.1, 0.11, 0.92) : Qt.rgba(0.96, 0.96, 0.97, 0.92)
    readonly property color divider: dark ? Qt.rgba(1, 1, 1, 0.18) : Qt.rgba(0, 0, 0, 0.15)
}
