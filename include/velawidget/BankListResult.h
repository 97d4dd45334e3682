#pragma once

#include <velawidget/VelaWidgetBank.h>
#include <velawidget/VelaWidgetError.h>

#include <stdexcept>
#include <utility>
#include <variant>
#include <vector>

namespace velawidget {

/// The outcome of the data-only query: the banks in display order, or an error.
class BankListResult {
  public:
    /// A success with the banks in display order (possibly none).
    BankListResult(std::vector<VelaWidgetBankPtr> banks) : value_(std::move(banks)) {}
    /// A failure.
    BankListResult(VelaWidgetError error) : value_(error) {}

    /// True when the result holds banks.
    bool has_value() const noexcept { return value_.index() == 0; }
    /// The same as `has_value()`.
    explicit operator bool() const noexcept { return has_value(); }

    /// The banks; throws `std::logic_error` when the result holds an error.
    const std::vector<VelaWidgetBankPtr>& value() const {
        if (!has_value()) throw std::logic_error("BankListResult holds an error");
        return std::get<0>(value_);
    }
    /// The error; throws `std::logic_error` when the result holds banks.
    VelaWidgetError error() const {
        if (has_value()) throw std::logic_error("BankListResult holds banks");
        return std::get<1>(value_);
    }

  private:
    std::variant<std::vector<VelaWidgetBankPtr>, VelaWidgetError> value_;
};

}  // namespace velawidget
