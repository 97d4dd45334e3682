#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vela::generator {

struct GeneratorOptions {
    std::size_t banks = 1000;
    std::uint64_t seed = 1;
    std::string domain = "vela.example";
    std::string kind = "qr";  ///< first label of the logo host
};

/// Fictional bank names in Latin, Cyrillic and Greek script, accents
/// included, the same for the same seed.
std::vector<std::string> bankNames(std::size_t count, std::uint64_t seed = 1);

/// A bank-list document with the given number of banks: every field filled
/// the way the payment system fills it, a tenth with an active web client.
std::string bankListDocument(const GeneratorOptions& options);

}  // namespace vela::generator
