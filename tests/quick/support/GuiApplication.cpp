// One application object for a whole Qt Quick test binary (a widgets one
// where VELA_WIDGETS_APPLICATION is set), made before the first test and
// deleted after the last, so the binary links gtest's own main.

#include <gtest/gtest.h>

#include <QQuickWindow>
#ifdef VELA_WIDGETS_APPLICATION
#include <QApplication>
using Application = QApplication;
#else
#include <QGuiApplication>
using Application = QGuiApplication;
#endif
#include <memory>

namespace {

class GuiApplication final : public ::testing::Environment {
  public:
    void SetUp() override {
        // Offscreen and software-rendered unless told otherwise: the same
        // pixels on every machine.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        app_ = std::make_unique<Application>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[12] = "quick_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<Application> app_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GuiApplication);

}  // namespace
