#pragma once

namespace velawidget::quick {

/// Whether the Qt platform was registered as the kit's default. Calling it
/// from every entry point of the module links the registration into the
/// program, so it runs before `main` even in a static build.
bool qtPlatformIsDefault();

}  // namespace velawidget::quick
