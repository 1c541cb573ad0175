// The link buttons under the list and the slogan open the vendor's pages; without a vendor
// site, or without a browser, the window shows its own.

#include "app/pages/local_pages.h"
#include "app/pages/vendor_links.h"
#include "app/window/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::on_aboutLink_clicked() {
  if (!openVendorPage(QStringLiteral("/software/phonetic/about/")))
    showAboutPage(this, dictionary.buildStamp());
}

void MainWindow::on_helpLink_clicked() {
  if (!openVendorPage(QStringLiteral("/software/phonetic/help/"))) showHelpPage(this);
}

void MainWindow::on_feedbackLink_clicked() {
  if (!openVendorPage(QStringLiteral("/software/phonetic/feedback/")))
    showFeedbackPage(this, feedbackText(ui->inputPhonetic->text(), searchMode != 0),
                     dictionary.buildStamp());
}

void MainWindow::on_slogan_linkActivated(const QString& link) {
  if (!openVendorLink(link)) showAboutPage(this, dictionary.buildStamp());
}
