import QtQuick
import VelaWidget

// The scrolling part of the selector: one row per bank, or the model's
// message instead of every row.
FocusScope {
    id: root

    required property BankListModelBridge model
    readonly property alias list: list
    readonly property bool showsMessage: root.model.hasErrorMessage

    Text {
        id: message
        objectName: "bankListMessage"
        visible: root.showsMessage
        anchors.top: parent.top
        anchors.topMargin: 8
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(implicitWidth, parent.width)
        text: root.model.errorMessage
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        font.pixelSize: 14
        font.weight: Font.Normal
        color: Resources.colors.SecondaryTextColor
        Accessible.role: Accessible.StaticText
        Accessible.name: text
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
        spacing: 8
        topMargin: 8
        bottomMargin: 8
        model: root.model.rows
        highlightMoveDuration: 0

        Accessible.role: Accessible.List

        function selectCurrent() {
            if (currentIndex >= 0)
                root.model.selectRow(currentIndex)
        }
        Keys.onReturnPressed: selectCurrent()
        Keys.onEnterPressed: selectCurrent()
        Keys.onSpacePressed: selectCurrent()

        delegate: BankRow {
            width: ListView.view.width
            current: ListView.isCurrentItem && ListView.view.activeFocus
            onTapped: {
                ListView.view.currentIndex = index
                root.model.selectRow(index)
            }
        }
    }
}
