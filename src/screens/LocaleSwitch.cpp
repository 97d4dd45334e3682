#include "screens/LocaleSwitch.h"

#include <memory>
#include <string>

#include "platform/qt/QtTexts.h"
#include "selection/WidgetViewModel.h"

namespace velawidget {

bool switchLocale(WidgetViewModel& model, std::string_view name) {
    // The host's own text table knows nothing of Qt locales.
    const auto* current = dynamic_cast<const quick::QtTexts*>(model.texts().lookup());
    if (!current) return false;
    auto texts = std::make_shared<quick::QtTexts>(quick::QtTexts::localeNamed(std::string(name)),
                                                  current->hostFile());
    model.setTexts(std::make_shared<const FixedTexts>(std::move(texts)));
    return true;
}

}  // namespace velawidget
