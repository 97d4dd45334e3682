#pragma once

#include <span>

namespace velawidget::quick {

/// Every key the kit looks up in its translation tables, all under the
/// context "VelaWidget". `./run i18n` reads the list to keep the tables in
/// step with it; the checks read it to find a table that lacks a key.
std::span<const char* const> kitTextKeys() noexcept;

}  // namespace velawidget::quick
