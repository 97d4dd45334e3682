#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velawidget {

/// The kind of a payment link; its raw value is the first label of the kind's host.
enum class Schema { qr, sub };

/// Every search over the kinds runs in this order.
inline constexpr std::array<Schema, 2> allSchemas{Schema::qr, Schema::sub};

/// The build-time domain that follows the kind label in every link host.
extern const std::string_view serviceDomain;

std::string_view rawValue(Schema schema) noexcept;
/// Exactly "qr" or "sub", case-sensitive.
std::optional<Schema> schemaFromRawValue(std::string_view raw) noexcept;

/// rawValue + "." + serviceDomain
std::string host(Schema schema);
/// "https://" + host + "/proxyapp/c2bmembers.json"
std::string bankListURL(Schema schema);

}  // namespace velawidget
