import QtQuick
import QtQuick.Controls

// Until the onboarding pages arrive: a welcome and a button that finishes.
Rectangle {
    id: page

    required property var appDelegate

    anchors.fill: parent
    color: palette.window

    SystemPalette {
        id: palette
        colorGroup: SystemPalette.Active
    }

    Column {
        anchors.centerIn: parent
        spacing: 24

        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Welcome to Velmora Launcher")
            font.pixelSize: 32
            color: palette.windowText
        }
        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Press Alt+Space anywhere to open the launcher.")
            color: palette.windowText
        }
        Button {
            objectName: "finishButton"
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Get Started")
            onClicked: page.appDelegate.finishOnboarding()
        }
    }
}
