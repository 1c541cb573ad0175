// The symbol keys' tooltips: which sound each types, with an English word that has it ("θ as in
// think"). The keys' slots, which type the symbols, are the window's (mainwindow.cpp).

#include "app/window/symbol_keys.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QString>

#include "ui_mainwindow.h"

void nameSymbolKeys(Ui_MainWindow& form) {
  Ui_MainWindow* ui = &form;
  const struct {
    QPushButton* key;
    const char* example;
  } keys[] = {
      {ui->k230, "cat"},  {ui->k240, "this"},    {ui->k952, "think"},
      {ui->k331, "sing"}, {ui->k593, "father"},  {ui->k601, "about"},
      {ui->k609, "go"},   {ui->k596, "hot"},     {ui->k643, "ship"},
      {ui->k652, "cup"},  {ui->k658, "measure"}, {ui->k603, "hair (\u025B\u0259)"},
  };
  for (const auto& [key, example] : keys) {
    key->setToolTip(QCoreApplication::translate("KeyTooltips", "%1 的读音如 %2")
                        .arg(key->text(), QString::fromUtf8(example)));
  }
}
