#include <velawidget/VelaWidgetError.h>

#include <string>

namespace velawidget {
namespace {

class Category final : public std::error_category {
  public:
    const char* name() const noexcept override { return "VelaWidget.VelaWidgetError"; }
    std::string message(int value) const override {
        switch (static_cast<VelaWidgetError>(value)) {
            case VelaWidgetError::invalidURLString:
                return "The payment link was not accepted: it is not a link of the instant-payment "
                       "system (invalidURLString).";
            case VelaWidgetError::loadingFaild:
                return "No bank list could be obtained: the download failed and no cached list "
                       "was available (loadingFaild).";
            case VelaWidgetError::presentationFailed:
                return "The bank selector could not be shown: the application has no window to "
                       "show it over (presentationFailed).";
        }
        return "Unknown VelaWidgetError " + std::to_string(value) + ".";
    }
};

}  // namespace

const std::error_category& velaWidgetErrorCategory() noexcept {
    static const Category category;
    return category;
}

std::error_code make_error_code(VelaWidgetError error) noexcept {
    return {static_cast<int>(error), velaWidgetErrorCategory()};
}

}  // namespace velawidget
