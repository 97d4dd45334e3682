#pragma once

#include <velawidget/export.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace velawidget {

namespace detail {
struct BankFactory;
}

/// One bank of the data-only query. Created only by the kit and handed out as
/// `std::shared_ptr<const VelaWidgetBank>`; two records are the same only if
/// they are the same object. Safe to read from any thread.
class VELAWIDGET_API VelaWidgetBank {
  public:
    VelaWidgetBank(const VelaWidgetBank&) = delete;
    VelaWidgetBank& operator=(const VelaWidgetBank&) = delete;
    virtual ~VelaWidgetBank() = default;

    /// The display name, exactly as the bank list gives it.
    std::string name() const { return name_; }
    /// The logo address as absolute URL text; absent when the list's text is not a URL.
    std::optional<std::string> logoURL() const { return logoURL_; }
    /// The link (absolute URL text) that opens this payment in the bank's app or web client.
    std::string dboLink() const { return dboLink_; }

  private:
    friend struct detail::BankFactory;
    VelaWidgetBank(std::string name, std::optional<std::string> logoURL, std::string dboLink)
        : name_(std::move(name)), logoURL_(std::move(logoURL)), dboLink_(std::move(dboLink)) {}

    const std::string name_;
    const std::optional<std::string> logoURL_;
    const std::string dboLink_;
};

using VelaWidgetBankPtr = std::shared_ptr<const VelaWidgetBank>;

}  // namespace velawidget
