#pragma once

#include <QString>

// The vendor's web pages, where the build names a vendor site (the CMake cache variable
// QUORVI_VENDOR_SITE). Each returns true when the desktop opened the page, false when no
// site is configured or the desktop could not open it (no browser, for one); the window
// then shows its own page instead.
bool openVendorPage(const QString& path);
bool openVendorLink(const QString& link);
