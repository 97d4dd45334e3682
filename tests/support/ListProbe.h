#pragma once

#include <QMetaObject>
#include <QQuickItem>

namespace vela::test {

// What the selector's bank list shows, read from outside the way a tester
// would: the tests, the benchmarks and the demo's headless screenshots.

/// The delegate drawn for `row`; null when that row is not laid out.
inline QQuickItem* rowAt(QQuickItem* list, int row) {
    QQuickItem* item = nullptr;
    QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem*, item),
                              Q_ARG(int, row));
    return item;
}

/// Whether banks have replaced the loading rows.
inline bool showsBanks(QQuickItem* list) {
    if (!list || list->property("count").toInt() == 0) return false;
    auto* first = rowAt(list, 0);
    return first && !first->property("placeholder").toBool();
}

}  // namespace vela::test
