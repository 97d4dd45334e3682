// vela-first-frame-bare: the floor for the selector's first frame. A plain
// Qt Quick ListView of the same names in a window of the selector's size,
// one rounded row with one line of text per name, and nothing else; quits
// once a frame with the rows is on screen, printing the milliseconds since
// the process started.
//
//   vela-first-frame-bare NAMES-FILE     (one name a line, UTF-8)
#include <QFile>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>
#include <QStringList>
#include <iostream>

#include "FirstFrame.h"

int main(int argc, char** argv) {
    const long long started = vela::bench::processStartNanoseconds();
    vela::bench::notePhase("main", started);
    QGuiApplication app(argc, argv);
    vela::bench::notePhase("application", started);
    const QStringList arguments = app.arguments().mid(1);
    QFile file(arguments.value(0));
    if (arguments.size() != 1 || !file.open(QIODevice::ReadOnly)) {
        std::cerr << "usage: vela-first-frame-bare NAMES-FILE\n";
        return 64;
    }
    const QStringList names = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);

    QQuickView view;
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.rootContext()->setContextProperty(QStringLiteral("names"), names);
    view.setColor(QColor(0xff, 0xff, 0xff));
    QQmlComponent component(view.engine());
    component.setData(
        "import QtQuick\n"
        "ListView { objectName: 'bankList'; spacing: 8; clip: true; model: names;"
        " delegate: Rectangle { width: ListView.view.width; height: 66; radius: 12;"
        " color: '#f2f4f7'; Text { x: 66; anchors.verticalCenter: parent.verticalCenter;"
        " font.pixelSize: 18; text: modelData } } }",
        QUrl());
    auto* list = qobject_cast<QQuickItem*>(component.create(view.rootContext()));
    if (!list) {
        std::cerr << component.errorString().toStdString();
        return 1;
    }
    list->setParentItem(view.contentItem());
    list->setSize(QSizeF(390, 720));
    view.resize(390, 720);
    vela::bench::notePhase("list", started);
    vela::bench::reportFirstFrame(
        view,
        [list] {
            QQuickItem* first = nullptr;
            QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem*, first),
                                      Q_ARG(int, 0));
            return first != nullptr;
        },
        started);
    view.show();
    vela::bench::notePhase("shown", started);
    return QGuiApplication::exec();
}
