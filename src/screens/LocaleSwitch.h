#pragma once

#include <string_view>

namespace velawidget {

class WidgetViewModel;

/// Gives `model` (and its list) the Qt platform's texts for the language
/// `name`, keeping the host's translation file; false, changing nothing,
/// when the model's texts are a host's own table. Main thread only.
bool switchLocale(WidgetViewModel& model, std::string_view name);

}  // namespace velawidget
