#include "app/pages/vendor_links.h"

#include <QDesktopServices>
#include <QUrl>

#include "vendor_site.h"

bool openVendorPage(const QString& path) {
  return openVendorLink(QStringLiteral(QUORVI_VENDOR_SITE) + path);
}

bool openVendorLink(const QString& link) {
  if (QStringLiteral(QUORVI_VENDOR_SITE).isEmpty()) return false;
  return QDesktopServices::openUrl(QUrl(link));
}
