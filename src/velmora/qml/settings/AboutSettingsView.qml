import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Velmora.Settings

// Our icon, name and version, and the links to our own pages.
Item {
    id: root

    required property AboutModel about

    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 10

        ColumnLayout {
            spacing: 14
            Layout.alignment: Qt.AlignHCenter
            Layout.margins: 10

            Image {
                id: icon
                objectName: "aboutIcon"
                source: "art/SmallAppIcon.svg"
                sourceSize: Qt.size(128, 128)
                Layout.preferredWidth: 64
                Layout.preferredHeight: 64
                Layout.alignment: Qt.AlignHCenter
                Accessible.role: Accessible.Graphic
                Accessible.name: root.about.appName

                MouseArea {
                    anchors.fill: parent
                    onDoubleClicked: root.about.requestOnboarding()
                }
            }
            Label {
                text: root.about.appName
                font.bold: true
                font.pixelSize: 16
                Layout.alignment: Qt.AlignHCenter
            }
            Label {
                objectName: "aboutVersion"
                text: root.about.versionText
                color: VelmoraTheme.secondaryText(pal)
                Layout.alignment: Qt.AlignHCenter
            }
        }

        Button {
            objectName: "privacyPolicyButton"
            text: qsTr("Privacy Policy")
            Layout.alignment: Qt.AlignHCenter
            onClicked: root.about.openPrivacyPolicy()
        }

        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            AbstractButton {
                id: makerLink
                objectName: "makerLinkButton"
                Accessible.name: root.about.makerName
                onClicked: root.about.openMakerWebsite()
                HoverHandler { cursorShape: Qt.PointingHandCursor }
                contentItem: Label {
                    text: root.about.makerName
                    color: VelmoraTheme.accent(pal)
                    font.underline: makerLink.hovered
                }
            }
        }
    }
}
