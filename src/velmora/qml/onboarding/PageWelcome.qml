import QtQuick
import QtQuick.Layouts
import Velmora.Settings

// The welcome page: the picture springs into place and the texts fade in whenever the
// window becomes active.
Item {
    id: root

    required property OnboardingController controller
    readonly property bool shown: controller.velmoraAnimation

    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: VelmoraTheme.welcomeTop(pal) }
            GradientStop { position: 1; color: VelmoraTheme.welcomeBottom(pal) }
        }
    }

    Image {
        id: art
        objectName: "animationPart"
        source: "art/AnimationPart.svg"
        sourceSize: Qt.size(524 * 2, 316 * 2)
        width: 393
        height: 237
        anchors.horizontalCenter: parent.horizontalCenter
        y: root.shown ? 40 : 90
        scale: root.shown ? 1 : 0.7
        rotation: root.shown ? 0 : -6
        opacity: root.shown ? 1 : 0.4
        Behavior on y { SpringAnimation { spring: 3.5; damping: 0.28; epsilon: 0.25 } }
        Behavior on scale { SpringAnimation { spring: 3.5; damping: 0.28; epsilon: 0.005 } }
        Behavior on rotation { SpringAnimation { spring: 3.5; damping: 0.28; epsilon: 0.1 } }
        Behavior on opacity { NumberAnimation { duration: 400 } }
    }

    ColumnLayout {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: next.top
        anchors.bottomMargin: 20
        spacing: 6

        Text {
            objectName: "welcomeTitle"
            text: root.controller.welcomeTitle
            font.family: "serif"
            font.pixelSize: 34
            font.bold: true
            color: pal.windowText
            opacity: root.shown ? 1 : 0
            Behavior on opacity { NumberAnimation { duration: 600; easing.type: Easing.OutQuad } }
            Layout.alignment: Qt.AlignHCenter
        }
        Text {
            objectName: "welcomeSubtitle"
            text: root.controller.welcomeSubtitle
            font.family: "serif"
            font.pixelSize: 20
            color: VelmoraTheme.secondaryText(pal)
            opacity: root.shown ? 1 : 0
            Behavior on opacity { NumberAnimation { duration: 900; easing.type: Easing.OutQuad } }
            Layout.alignment: Qt.AlignHCenter
        }
    }

    CircleButton {
        id: next
        objectName: "welcomeNextButton"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 28
        symbol: "arrow.right"
        accessibleName: qsTr("Next")
        onClicked: root.controller.nextPage()
    }
}
