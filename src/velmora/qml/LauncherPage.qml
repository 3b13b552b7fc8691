import QtQuick
import QtQuick.Controls

// Until the launcher screen arrives: a search field over a list of results.
FocusScope {
    id: page

    required property var model
    required property bool dark
    readonly property color textColor: dark ? "#f2f2f7" : "#1c1c1e"

    TextField {
        id: search
        objectName: "searchField"
        anchors { top: parent.top; left: parent.left; right: parent.right; margins: 24 }
        focus: true
        placeholderText: qsTr("Search")
        font.pixelSize: 18
        onTextChanged: page.model.searchText = text
    }

    ListView {
        anchors { top: search.bottom; left: parent.left; right: parent.right; bottom: parent.bottom
                  margins: 24 }
        clip: true
        model: page.model
        delegate: Text {
            required property string name
            width: ListView.view.width
            height: 32
            verticalAlignment: Text.AlignVCenter
            text: name
            color: page.textColor
            font.pixelSize: 15
            elide: Text.ElideRight
        }
    }
}
