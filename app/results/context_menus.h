#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class LearnerWords;
class PhoneticDictionary;
class QListWidget;
class QMenu;
class QPoint;
class QTextEdit;
class QWidget;

// Right-click menus on the result list and on the entry pane: copy the headword, copy the
// whole entry, pronounce the headword and each of its stored transcriptions. On the entry
// pane, a selection can be copied as well.
class ContextMenus : public QObject {
  Q_OBJECT

 public:
  ContextMenus(QListWidget* list, QTextEdit* pane, PhoneticDictionary& dictionary, QObject* parent);

  // The menus as they would open at `position` (in the widget's coordinates); null where
  // there is nothing to act on. The caller owns the menu.
  QMenu* listMenu(const QPoint& position);
  QMenu* paneMenu();
  // Adds the learner's entries (my words, history) to both menus from now on.
  void setLearnerWords(LearnerWords* learner) { learner_ = learner; }

 signals:
  // Emitted from the event loop after the menu item was chosen, not inside the menu's handling.
  void pronounceWord(const QString& headword);
  void pronounceTranscription(const QString& transcription);

 private:
  QMenu* entryMenu(const QString& headword, const QString& selection);
  void addPronunciations(QMenu* menu, const QString& headword, const QStringList& entry);
  void popUp(QMenu* menu, QWidget* widget, const QPoint& position);

  QListWidget* list_;
  QTextEdit* pane_;
  PhoneticDictionary& dictionary_;
  LearnerWords* learner_ = nullptr;
};
