#pragma once

#include <QString>

#include <string>

class QWidget;

// The help and about pages shipped with the program, shown in a window of their own
// whether or not the desktop has a browser. Both read the runtime folder (the working
// directory): help/help.<language>.html, the font's licence, the dictionary's build record.

// Opens (or raises) the help page in the interface's language.
void showHelpPage(QWidget* parent);
// Opens (or raises) the about page; `storedStamp` is the dictionary's own build record
// (PhoneticDictionary::buildStamp), read instead of the copy beside the file when given.
void showAboutPage(QWidget* parent, const std::string& storedStamp = {});

// What a learner sends us about a fault: the version, the interface language, the search mode
// and the text typed last, as plain text to paste into a message.
QString feedbackText(const QString& typed, bool spelling);
// Opens (or raises) the about page with a button that copies `feedback` to the clipboard:
// what the feedback link shows when there is no site to send it to.
void showFeedbackPage(QWidget* parent, const QString& feedback,
                      const std::string& storedStamp = {});

// The about page's text: version, where the data comes from, and its licences.
QString aboutText(const std::string& storedStamp = {});
// The help file of the interface's language, relative to the runtime folder.
QString helpFileName();
