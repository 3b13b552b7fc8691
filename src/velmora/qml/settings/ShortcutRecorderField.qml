import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Velmora.Settings

// Records the toggle shortcut; when the desktop will not let us bind it, offers the
// `velmora --toggle` command to bind in the desktop's own keyboard settings.
ColumnLayout {
    id: root

    required property ShortcutRecorder recorder

    spacing: 4
    SystemPalette { id: pal; colorGroup: SystemPalette.Active }

    RowLayout {
        spacing: 4

        Button {
            id: recordButton
            objectName: "shortcutRecordButton"
            Layout.preferredWidth: 170
            text: root.recorder.recording ? qsTr("Type Shortcut…")
                  : root.recorder.shortcutText !== "" ? root.recorder.shortcutText
                  : qsTr("Record Shortcut")
            highlighted: root.recorder.recording
            Accessible.description: qsTr("Click, then type the new shortcut")
            onClicked: {
                if (root.recorder.recording) {
                    root.recorder.cancelRecording()
                } else {
                    forceActiveFocus()
                    root.recorder.startRecording()
                }
            }
            onActiveFocusChanged: if (!activeFocus) root.recorder.cancelRecording()
            Keys.onPressed: (event) => {
                if (root.recorder.handleKey(event.key, event.modifiers))
                    event.accepted = true
            }
        }
        ToolButton {
            objectName: "shortcutClearButton"
            visible: root.recorder.shortcut !== "" && !root.recorder.recording
            text: "✕"
            Accessible.name: qsTr("Clear Shortcut")
            ToolTip.visible: hovered
            ToolTip.text: qsTr("Clear Shortcut")
            onClicked: root.recorder.clear()
        }
    }

    Label {
        visible: root.recorder.recording && root.recorder.hint !== ""
        text: root.recorder.hint
        font.pixelSize: 11
        color: VelmoraTheme.secondaryText(pal)
    }

    ColumnLayout {
        objectName: "shortcutErrorBox"
        visible: root.recorder.errorString !== ""
        spacing: 4
        Layout.fillWidth: true

        Label {
            text: root.recorder.errorString
            color: VelmoraTheme.destructive
            wrapMode: Text.Wrap
            font.pixelSize: 12
            Layout.fillWidth: true
        }
        Label {
            text: qsTr("Bind this command in your desktop's keyboard settings instead:")
            wrapMode: Text.Wrap
            font.pixelSize: 12
            color: VelmoraTheme.secondaryText(pal)
            Layout.fillWidth: true
        }
        RowLayout {
            spacing: 4
            TextField {
                readOnly: true
                selectByMouse: true
                text: root.recorder.toggleCommand
                font.family: "monospace"
                Layout.fillWidth: true
            }
            Button {
                objectName: "copyToggleCommandButton"
                text: qsTr("Copy")
                onClicked: root.recorder.copyToggleCommand()
            }
        }
    }
}
