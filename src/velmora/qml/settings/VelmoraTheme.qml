pragma Singleton
import QtQuick

// Our own colours; the rest comes from the desktop's palette.
QtObject {
    readonly property color theme1: "#4F6BED"
    readonly property color theme2: "#7C5CFA"
    readonly property color theme3: "#2FB5A8"
    readonly property color theme4: "#F2A93B"
    readonly property color theme5: "#EF6A8A"
    readonly property color destructive: "#E5484D"

    function isDark(palette) { return palette.window.hslLightness < 0.5 }
    function accent(palette) { return isDark(palette) ? "#8CA0F7" : theme1 }
    function secondaryText(palette) {
        const c = palette.windowText
        return Qt.rgba(c.r, c.g, c.b, 0.66)
    }
    function welcomeTop(palette) { return isDark(palette) ? "#23264A" : "#E4E8FB" }
    function welcomeBottom(palette) { return isDark(palette) ? "#1A1B2E" : "#F3EEFD" }
    function onboardingExtend(palette) { return isDark(palette) ? "#1B1E33" : "#E6E9F8" }
}
