#pragma once

#include <QObject>

class ContextMenus;
class PhoneticDictionary;
class SpeechControls;
class QMainWindow;
class Ui_MainWindow;

// What the window offers beyond its form's fixed behaviour: buttons that keep the form's
// boxes and show focus, Tab in reading order, the keys' tooltips, the notice of a missing
// dictionary, the copy menus and the speech controls. It is made once, at the end of the
// window's constructor, and lives as the window's child.
class WindowAdditions : public QObject {
  Q_OBJECT

 public:
  WindowAdditions(QMainWindow* window, Ui_MainWindow& form, PhoneticDictionary& dictionary);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QMainWindow* window_;
  Ui_MainWindow& form_;
  PhoneticDictionary& dictionary_;
  ContextMenus* menus_ = nullptr;
  SpeechControls* speech_ = nullptr;
};
