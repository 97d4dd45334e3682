#pragma once

/// Marks the kit's public API. The libraries are built with hidden symbol
/// visibility, so a shared build exports exactly what carries this mark.
#if defined(_WIN32)
#define VELAWIDGET_API
#else
#define VELAWIDGET_API __attribute__((visibility("default")))
#endif
