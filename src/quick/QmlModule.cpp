#include <velawidget/quick.h>

#include <QQmlEngine>
#include <QString>
#include <mutex>

// Generated with the module's type registrations.
extern void qml_register_types_VelaWidget();

namespace velawidget::quick {

void registerQmlModule(QQmlEngine& engine) {
    // The types once per process; the module's plugin is optional, so an
    // engine that finds them registered needs no plugin to import the module.
    static std::once_flag once;
    std::call_once(once, [] { qml_register_types_VelaWidget(); });
    // The views and the qmldir live in the library's resources.
    engine.addImportPath(QStringLiteral("qrc:/"));
}

}  // namespace velawidget::quick
