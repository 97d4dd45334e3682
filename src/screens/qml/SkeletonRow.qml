import QtQuick
import VelaWidget

// The grey bar standing in for a bank name while the list is loading.
Rectangle {
    implicitWidth: 150
    implicitHeight: 22
    width: 150
    height: 22
    radius: Units.smallRadius
    color: Resources.colors.SecondaryBackground
    Accessible.ignored: true
}
