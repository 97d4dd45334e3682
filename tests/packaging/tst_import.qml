import QtQuick
import QtTest
import VelaWidget

// A QML host of the installed module: the import alone finds the plugin in
// Qt's import path, with no registration call in C++.
TestCase {
    name: "ImportWithoutRegistration"
    WidgetView { id: view; width: 390; height: 720 }
    function test_widgetView() {
        verify(view.model !== null)
        verify(view.searchField !== null)
    }
}
