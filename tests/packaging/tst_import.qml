import QtQuick
import QtTest
import VelaWidget

// A QML host of the installed module: the import alone finds the plugin in
// Qt's import path, with no registration call in C++.
TestCase {
    name: "ImportWithoutRegistration"
    WidgetView { id: view; width: 390; height: 720; model: SharedSelector.model }
    function test_widgetView() {
        verify(view.model !== null)
        compare(view.model, SharedSelector.model)
        verify(view.searchField !== null)
    }
}
