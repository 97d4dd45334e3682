#pragma once

#include <string>
#include <string_view>

namespace vela::bench {

/// One line of the summary: the kit's benchmark "GROUP/KIT" against
/// "GROUP/LIMIT" at every size both ran with.
struct Pairing {
    std::string_view label;
    std::string_view group;
    std::string_view kit;
    std::string_view limit;
};

/// Registers a line; called from each benchmark file's static registration.
bool addPairing(Pairing pairing);

}  // namespace vela::bench
