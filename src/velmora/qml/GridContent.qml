import QtQuick
import QtQuick.Controls

// The scrolling grid: rows of virtualGrid placed at the tops LauncherScreen computed,
// each built only while near the visible area; in search mode the cards follow.
Flickable {
    id: flick
    objectName: "gridFlickable"

    required property var screen
    required property var theme
    required property real sideMargin
    required property bool listMode

    readonly property var vo: screen.viewObject
    readonly property bool showNoResults: vo.isSearching && vo.searchResultCount === 0

    contentWidth: width
    contentHeight: screen.contentHeight + extras.height + Math.max(sideMargin, 1)
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {}

    Component.onCompleted: {
        screen.attachFlickable(flick)
        screen.gridShown()
        screen.setViewport(contentY, height)
    }
    onContentYChanged: screen.setViewport(contentY, height)
    onHeightChanged: screen.setViewport(contentY, height)

    // Only the rows near the viewport exist; the screen adds and removes them as the grid
    // scrolls or changes, and a row that stays is updated in place.
    Repeater {
        model: flick.screen.visibleRows
        delegate: Loader {
            id: rowLoader
            required property string kind
            required property string categoryUUID
            required property string displayTitle
            required property string systemIconName
            required property string reservedType
            required property var cells
            required property int rowIndex
            required property real rowTop
            required property real rowHeight

            x: flick.sideMargin
            y: rowTop
            width: flick.width - 2 * flick.sideMargin
            height: rowHeight
            sourceComponent: kind === "header" ? headerRow : appRow

            Component {
                id: headerRow
                SectionTitleView {
                    screen: flick.screen
                    theme: flick.theme
                    categoryUUID: rowLoader.categoryUUID
                    displayTitle: rowLoader.displayTitle
                    systemIconName: rowLoader.systemIconName
                    reservedType: rowLoader.reservedType
                    listMode: flick.listMode
                    height: rowLoader.height - 4
                }
            }
            Component {
                id: appRow
                Row {
                    spacing: flick.vo.gridSpacing
                    Repeater {
                        // A count, not the list: new cells update the tiles instead of
                        // replacing them.
                        model: rowLoader.cells.length
                        Item {
                            id: cellItem
                            required property int index
                            readonly property var cell: rowLoader.cells[index]
                            width: flick.screen.cellWidth
                            height: rowLoader.height - (flick.listMode ? 0 : flick.vo.gridSpacing)
                            Loader {
                                anchors.fill: parent
                                active: !!cellItem.cell && cellItem.cell.kind === "app"
                                sourceComponent: AppItemView {
                                    screen: flick.screen
                                    theme: flick.theme
                                    cell: cellItem.cell
                                    row: rowLoader.rowIndex
                                    column: cellItem.index
                                    listMode: flick.listMode
                                    selected: flick.vo.highlightItemY === rowLoader.rowIndex
                                              && flick.vo.highlightItemX === cellItem.index
                                    shortcutNumber: flick.screen.showCommandKeyTips
                                                    ? flick.vo.shortcutNumberAt(rowLoader.rowIndex, cellItem.index) : -1
                                }
                            }
                        }
                    }
                }
            }
        }
    }

    // Search extras: the no-results line, then the cards.
    Column {
        id: extras
        x: flick.sideMargin
        y: flick.screen.contentHeight
        width: flick.width - 2 * flick.sideMargin
        visible: flick.vo.isSearching
        height: visible ? implicitHeight : 0
        spacing: 8

        Text {
            objectName: "noResults"
            visible: flick.showNoResults
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            topPadding: 12
            bottomPadding: 12
            text: flick.screen.noResultsText
            color: flick.theme.secondary
            font.pixelSize: 17
        }
        CalculatorView {
            objectName: "calculatorCard"
            width: parent.width
            theme: flick.theme
            input: flick.vo.searchCardInput
            result: flick.vo.calculatorResult
        }
        DictionaryView {
            objectName: "dictionaryCard"
            width: parent.width
            theme: flick.theme
            definition: flick.vo.dictionaryDefinition
        }
    }
}
