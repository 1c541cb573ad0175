#include "key_tooltips.h"

#include <QCoreApplication>
#include <QPushButton>

#include "ui_mainwindow.h"

void setKeyTooltips(Ui_MainWindow& form) {
  const struct {
    QPushButton* key;
    const char* example;
  } keys[] = {
      {form.k230, "cat"},  {form.k240, "this"},    {form.k952, "think"},
      {form.k331, "sing"}, {form.k593, "father"},  {form.k601, "about"},
      {form.k609, "go"},   {form.k596, "hot"},     {form.k643, "ship"},
      {form.k652, "cup"},  {form.k658, "measure"}, {form.k603, "hair (\u025B\u0259)"},
  };
  for (const auto& [key, example] : keys) {
    key->setToolTip(QCoreApplication::translate("KeyTooltips", "%1 的读音如 %2")
                        .arg(key->text(), QString::fromUtf8(example)));
  }
}
