// The symbol keys above the input: each types its phonetic symbol into the input field and
// says in its tooltip which sound it types, with an English word that has it ("θ as in think").

#include <QCoreApplication>
#include <QPushButton>

#include "app/window/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::setUpSymbolKeys() {
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

void MainWindow::typeSymbol(char16_t codePoint) {
  ui->inputPhonetic->insert(QString(QChar(codePoint)));
  ui->inputPhonetic->setFocus(Qt::OtherFocusReason);
}

void MainWindow::on_k230_clicked() {
  typeSymbol(230);
}
void MainWindow::on_k240_clicked() {
  typeSymbol(240);
}
void MainWindow::on_k952_clicked() {
  typeSymbol(952);
}
void MainWindow::on_k331_clicked() {
  typeSymbol(331);
}
void MainWindow::on_k593_clicked() {
  typeSymbol(593);
}
void MainWindow::on_k596_clicked() {
  typeSymbol(596);
}
void MainWindow::on_k601_clicked() {
  typeSymbol(601);
}
void MainWindow::on_k603_clicked() {
  typeSymbol(603);
}
void MainWindow::on_k609_clicked() {
  typeSymbol(609);
}
void MainWindow::on_k643_clicked() {
  typeSymbol(643);
}
void MainWindow::on_k652_clicked() {
  typeSymbol(652);
}
void MainWindow::on_k658_clicked() {
  typeSymbol(658);
}
