#include <velawidget/quick/QtPlatform.h>

#include <memory>
#include <string>

#include "platform/qt/QtTexts.h"
#include "quick/QuickPresenter.h"

namespace velawidget::quick {

bool setLocale(std::string_view name) {
    const auto& model = QuickPresenter::instance().services().model;
    // The host's own text table knows nothing of Qt locales.
    const auto* current = dynamic_cast<const QtTexts*>(model->texts().lookup());
    if (!current) return false;
    auto texts =
        std::make_shared<QtTexts>(QtTexts::localeNamed(std::string(name)), current->hostFile());
    model->setTexts(std::make_shared<const FixedTexts>(std::move(texts)));
    return true;
}

}  // namespace velawidget::quick
