import QtQuick
import VelaWidget

// The scrolling part of the selector: one row per bank, or the model's
// message instead of every row, with a Retry button under it while the
// last download of the list failed.
FocusScope {
    id: root

    required property BankListBridge model
    readonly property alias list: list
    readonly property bool showsMessage: root.model.hasErrorMessage

    signal retryRequested()
    // Up on the first row: the search field above takes the keys again.
    signal leftAtTop()

    Column {
        anchors.top: parent.top
        anchors.topMargin: Units.gap
        anchors.horizontalCenter: parent.horizontalCenter
        width: parent.width
        spacing: Units.margin
        visible: root.showsMessage

        Text {
            id: message
            objectName: "bankListMessage"
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(implicitWidth, parent.width)
            text: root.model.errorMessage
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: Units.bodyText
            font.family: Resources.fontFamily
            font.weight: Font.Normal
            color: Resources.colors.SecondaryTextColor
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        RowBackground {
            id: retry
            objectName: "retryButton"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: root.model.loadFailed
            implicitWidth: retryLabel.implicitWidth + 32
            implicitHeight: Math.max(40, retryLabel.implicitHeight + 16)
            activeFocusOnTab: true
            hovered: retryHover.hovered
            pressed: retryTap.pressed
            border.width: activeFocus ? 2 : Resources.accented ? 1 : 0
            border.color: Resources.focusColor

            Text {
                id: retryLabel
                anchors.centerIn: parent
                text: root.model.retryLabel
                textFormat: Text.PlainText
                font.pixelSize: Units.bodyText
                font.family: Resources.fontFamily
                font.weight: Font.Normal
                color: Resources.colors.MainTextColor
            }

            HoverHandler {
                id: retryHover
            }
            TapHandler {
                id: retryTap
                onTapped: root.retryRequested()
            }
            Keys.onReturnPressed: root.retryRequested()
            Keys.onEnterPressed: root.retryRequested()
            Keys.onSpacePressed: root.retryRequested()

            Accessible.role: Accessible.Button
            Accessible.name: retryLabel.text
            Accessible.focusable: true
            Accessible.onPressAction: root.retryRequested()
        }
    }

    Component {
        id: outdatedLine

        Text {
            objectName: "outdatedNotice"
            width: ListView.view ? ListView.view.width : 0
            bottomPadding: Units.gap
            text: root.model.outdatedNotice // qmllint disable unqualified
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: Units.captionText
            font.family: Resources.fontFamily
            font.weight: Font.Normal
            color: Resources.colors.SecondaryTextColor
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    ListView {
        id: list
        objectName: "bankList"
        anchors.fill: parent
        visible: !root.showsMessage
        focus: true
        activeFocusOnTab: true
        keyNavigationEnabled: true
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        // Rows are made as they come into view, so only visible rows fetch logos.
        cacheBuffer: 0
        spacing: Units.gap
        topMargin: Units.gap
        bottomMargin: Units.gap
        model: root.model.rows
        highlightMoveDuration: 0
        // A quiet line over rows read from the cache after a failed download.
        header: root.model.mayBeOutdated ? outdatedLine : null

        Accessible.role: Accessible.List
        Accessible.name: root.model.listName

        // A current row kept across new rows would sit on whatever bank took
        // its place: Down then Return after a cleared search would pick one
        // from the middle of the list.
        Connections {
            target: root.model.rows
            function onRowsReplaced() {
                list.currentIndex = root.model.rows.count > 0 ? 0 : -1
                list.positionViewAtBeginning()
            }
        }

        function selectCurrent() {
            if (currentIndex >= 0)
                root.model.selectRow(currentIndex)
        }
        Keys.onReturnPressed: selectCurrent()
        Keys.onEnterPressed: selectCurrent()
        Keys.onSpacePressed: selectCurrent()

        // The rows a page holds, judged by the current row's height.
        function pageRows() {
            const row = currentItem ? currentItem.height + spacing : 0
            return row > 0 ? Math.max(1, Math.floor(height / row) - 1) : 1
        }
        function moveTo(index) {
            if (count === 0)
                return
            currentIndex = Math.max(0, Math.min(count - 1, index))
            positionViewAtIndex(currentIndex, ListView.Contain)
        }
        Keys.onUpPressed: (event) => {
            if (currentIndex <= 0)
                root.leftAtTop()
            else
                moveTo(currentIndex - 1)
        }
        Keys.onPressed: (event) => {
            if (event.key === Qt.Key_Home)
                moveTo(0)
            else if (event.key === Qt.Key_End)
                moveTo(count - 1)
            else if (event.key === Qt.Key_PageUp)
                moveTo(currentIndex - pageRows())
            else if (event.key === Qt.Key_PageDown)
                moveTo(currentIndex + pageRows())
            else
                return
            event.accepted = true
        }

        delegate: BankRow {
            width: ListView.view.width
            current: ListView.isCurrentItem && ListView.view.activeFocus
            onTapped: {
                ListView.view.currentIndex = index // qmllint disable unqualified
                root.model.selectRow(index) // qmllint disable unqualified
            }
        }
    }
}
