import QtQuick
import Velmora.Settings

// The tour's content, 800 x 500: the welcome page, or a page's picture beside its panel.
Item {
    id: root

    required property OnboardingController controller

    width: 800
    height: 500
    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    PageWelcome {
        objectName: "pageWelcome"
        anchors.fill: parent
        visible: root.controller.isWelcome
        controller: root.controller
    }

    Item {
        id: explained
        anchors.fill: parent
        visible: !root.controller.isWelcome

        Rectangle {
            anchors.fill: parent
            color: VelmoraTheme.onboardingExtend(pal)
            opacity: 0.9
        }

        Image {
            id: picture
            objectName: "pagePicture"
            width: 470
            height: parent.height
            source: root.controller.picture !== "" ? "art/" + root.controller.picture + ".svg" : ""
            sourceSize: Qt.size(560 * 2, 500 * 2)
            fillMode: Image.PreserveAspectCrop
            horizontalAlignment: Image.AlignLeft
            clip: true
            smooth: true
        }
        // Opaque up to 80 % of the picture's width, then fading into the background.
        Rectangle {
            x: picture.width * 0.8
            width: picture.width * 0.2 + 1
            height: picture.height
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0; color: "transparent" }
                GradientStop { position: 1; color: VelmoraTheme.onboardingExtend(pal) }
            }
        }

        // The panel with the page's content, a little shadow under it.
        Rectangle {
            x: panel.x + 2
            y: panel.y + 6
            width: panel.width
            height: panel.height
            radius: panel.radius
            color: "#000000"
            opacity: VelmoraTheme.isDark(pal) ? 0.35 : 0.12
        }
        Rectangle {
            id: panel
            x: 430
            y: 30
            width: 340
            height: parent.height - 60
            radius: 18
            color: Qt.rgba(pal.window.r, pal.window.g, pal.window.b, 0.92)
            border.color: Qt.rgba(pal.windowText.r, pal.windowText.g, pal.windowText.b, 0.08)

            OnboardingPageView {
                id: pageView
                anchors.fill: parent
                anchors.margins: 20
                controller: root.controller
                transform: Translate { id: slide }
            }
        }
    }

    // A page enters from below and fades in (ease in and out, half a second).
    Connections {
        target: root.controller
        function onCurrentPageChanged() { enter.restart() }
    }
    ParallelAnimation {
        id: enter
        NumberAnimation { target: pageView; property: "opacity"; from: 0; to: 1; duration: 500; easing.type: Easing.InOutQuad }
        NumberAnimation { target: slide; property: "y"; from: 24; to: 0; duration: 500; easing.type: Easing.InOutQuad }
        NumberAnimation { target: picture; property: "opacity"; from: 0.2; to: 1; duration: 500; easing.type: Easing.InOutQuad }
    }
}
