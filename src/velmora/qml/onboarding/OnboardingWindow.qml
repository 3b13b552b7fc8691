import QtQuick
import QtQuick.Window
import Velmora.Settings

// The floating tour window; only a close button. Finishing closes it.
Window {
    id: window

    required property OnboardingController controller

    width: 1000
    height: 500
    minimumWidth: 1000
    minimumHeight: 500
    maximumWidth: 1000
    maximumHeight: 500
    visible: false
    title: qsTr("Welcome to Velmora Launcher")
    flags: Qt.Window | Qt.WindowTitleHint | Qt.WindowCloseButtonHint | Qt.WindowStaysOnTopHint

    SystemPalette { id: pal; colorGroup: SystemPalette.Active }
    color: controller.isWelcome ? VelmoraTheme.welcomeBottom(pal) : VelmoraTheme.onboardingExtend(pal)

    // The welcome gradient runs under the whole window, not only under the content.
    Rectangle {
        anchors.fill: parent
        visible: window.controller.isWelcome
        gradient: Gradient {
            GradientStop { position: 0; color: VelmoraTheme.welcomeTop(pal) }
            GradientStop { position: 1; color: VelmoraTheme.welcomeBottom(pal) }
        }
    }

    onActiveChanged: if (active) controller.windowBecameKey()
    onClosing: controller.windowWillClose()

    Connections {
        target: window.controller
        function onDismissRequested() { window.close() }
    }

    OnboardingView {
        anchors.centerIn: parent
        controller: window.controller
    }
}
