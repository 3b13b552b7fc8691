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
    color: pal.window

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
