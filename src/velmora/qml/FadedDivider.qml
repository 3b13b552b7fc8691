import QtQuick

// A divider that fades out towards both ends.
Rectangle {
    property var theme
    width: parent ? parent.width : 0
    height: 1
    gradient: Gradient {
        orientation: Gradient.Horizontal
        GradientStop { position: 0.0; color: "transparent" }
        GradientStop { position: 0.5; color: theme.divider }
        GradientStop { position: 1.0; color: "transparent" }
    }
}
