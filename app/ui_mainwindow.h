#pragma once

// The main window's form: every widget of the window, its place, font and texts.

#include <QtCore/QCoreApplication>
#include <QtCore/QMetaObject>
#include <QtCore/QRect>
#include <QtGui/QFont>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTextEdit>
#include <QtWidgets/QWidget>

#include "vendor_site.h"

QT_BEGIN_NAMESPACE

class Ui_MainWindow {
public:
    QWidget *centralWidget;
    QLineEdit *inputPhonetic;
    QTextEdit *displayFull;
    QGroupBox *keyGroup;
    QPushButton *k643;
    QPushButton *k658;
    QPushButton *k331;
    QPushButton *k952;
    QPushButton *k240;
    QPushButton *k593;
    QPushButton *k652;
    QPushButton *k603;
    QPushButton *k596;
    QPushButton *k230;
    QPushButton *k601;
    QPushButton *k609;
    QGroupBox *manualGroup;
    QLabel *manualLabel;
    QListWidget *displayResult;
    QRadioButton *phoneticMode;
    QRadioButton *captionMode;
    QPushButton *feedbackLink;
    QPushButton *helpLink;
    QLabel *slogan;
    QPushButton *aboutLink;

    void setupUi(QMainWindow *MainWindow) {
        if (MainWindow->objectName().isEmpty())
            MainWindow->setObjectName(QString::fromUtf8("MainWindow"));
        MainWindow->resize(613, 397);
        MainWindow->setStyleSheet(QString::fromUtf8(
            "QPushButton {\n"
            "    background-color: palegoldenrod;\n"
            "    border-width: 2px;\n"
            "    border-color: darkkhaki;\n"
            "    border-style: solid;\n"
            "    border-radius: 5;\n"
            "    padding: 3px;\n"
            "    min-width: 9ex;\n"
            "    min-height: 2.5ex;\n"
            "}\n"
            "\n"
            "QPushButton:hover {\n"
            "   background-color: khaki;\n"
            "}\n"
            "\n"
            "/* Increase the padding, so the text is shifted when the button is\n"
            "   pressed. */\n"
            "QPushButton:pressed {\n"
            "    padding-left: 5px;\n"
            "    padding-top: 5px;\n"
            "    background-color: #d0d67c;\n"
            "}"));
        centralWidget = new QWidget(MainWindow);
        centralWidget->setObjectName(QString::fromUtf8("centralWidget"));
        inputPhonetic = new QLineEdit(centralWidget);
        inputPhonetic->setObjectName(QString::fromUtf8("inputPhonetic"));
        inputPhonetic->setGeometry(QRect(10, 130, 257, 20));
        QFont font;
        font.setFamily(QString::fromUtf8("Mensch"));
        inputPhonetic->setFont(font);
        displayFull = new QTextEdit(centralWidget);
        displayFull->setObjectName(QString::fromUtf8("displayFull"));
        displayFull->setEnabled(true);
        displayFull->setGeometry(QRect(280, 170, 321, 191));
        QFont font1;
        font1.setFamily(QString::fromUtf8("Mensch"));
        font1.setPointSize(11);
        displayFull->setFont(font1);
        displayFull->setContextMenuPolicy(Qt::NoContextMenu);
        keyGroup = new QGroupBox(centralWidget);
        keyGroup->setObjectName(QString::fromUtf8("keyGroup"));
        keyGroup->setGeometry(QRect(10, 10, 257, 101));
        QFont font2;
        font2.setFamily(QString::fromUtf8("Mensch"));
        font2.setPointSize(12);
        k643 = new QPushButton(keyGroup);
        k643->setObjectName(QString::fromUtf8("k643"));
        k643->setGeometry(QRect(90, 60, 37, 31));
        k643->setFont(font2);
        k658 = new QPushButton(keyGroup);
        k658->setObjectName(QString::fromUtf8("k658"));
        k658->setGeometry(QRect(170, 60, 37, 31));
        k658->setFont(font2);
        k331 = new QPushButton(keyGroup);
        k331->setObjectName(QString::fromUtf8("k331"));
        k331->setGeometry(QRect(130, 20, 37, 31));
        k331->setFont(font2);
        k952 = new QPushButton(keyGroup);
        k952->setObjectName(QString::fromUtf8("k952"));
        k952->setGeometry(QRect(90, 20, 37, 31));
        k952->setFont(font2);
        k240 = new QPushButton(keyGroup);
        k240->setObjectName(QString::fromUtf8("k240"));
        k240->setGeometry(QRect(50, 20, 37, 31));
        k240->setFont(font2);
        k593 = new QPushButton(keyGroup);
        k593->setObjectName(QString::fromUtf8("k593"));
        k593->setGeometry(QRect(170, 20, 37, 31));
        k593->setFont(font2);
        k652 = new QPushButton(keyGroup);
        k652->setObjectName(QString::fromUtf8("k652"));
        k652->setGeometry(QRect(130, 60, 37, 31));
        k652->setFont(font2);
        k603 = new QPushButton(keyGroup);
        k603->setObjectName(QString::fromUtf8("k603"));
        k603->setGeometry(QRect(210, 60, 37, 31));
        k603->setFont(font2);
        k596 = new QPushButton(keyGroup);
        k596->setObjectName(QString::fromUtf8("k596"));
        k596->setGeometry(QRect(50, 60, 37, 31));
        k596->setFont(font2);
        k230 = new QPushButton(keyGroup);
        k230->setObjectName(QString::fromUtf8("k230"));
        k230->setGeometry(QRect(10, 20, 37, 31));
        k230->setFont(font2);
        k601 = new QPushButton(keyGroup);
        k601->setObjectName(QString::fromUtf8("k601"));
        k601->setGeometry(QRect(210, 20, 37, 31));
        k601->setFont(font2);
        k609 = new QPushButton(keyGroup);
        k609->setObjectName(QString::fromUtf8("k609"));
        k609->setGeometry(QRect(10, 60, 37, 31));
        k609->setFont(font2);
        manualGroup = new QGroupBox(centralWidget);
        manualGroup->setObjectName(QString::fromUtf8("manualGroup"));
        manualGroup->setGeometry(QRect(280, 10, 271, 101));
        manualLabel = new QLabel(manualGroup);
        manualLabel->setObjectName(QString::fromUtf8("manualLabel"));
        manualLabel->setGeometry(QRect(10, 20, 261, 81));
        manualLabel->setFont(font);
        displayResult = new QListWidget(centralWidget);
        displayResult->setObjectName(QString::fromUtf8("displayResult"));
        displayResult->setGeometry(QRect(10, 170, 257, 191));
        phoneticMode = new QRadioButton(centralWidget);
        phoneticMode->setObjectName(QString::fromUtf8("phoneticMode"));
        phoneticMode->setGeometry(QRect(280, 130, 89, 17));
        phoneticMode->setChecked(true);
        captionMode = new QRadioButton(centralWidget);
        captionMode->setObjectName(QString::fromUtf8("captionMode"));
        captionMode->setGeometry(QRect(380, 130, 89, 17));
        feedbackLink = new QPushButton(centralWidget);
        feedbackLink->setObjectName(QString::fromUtf8("feedbackLink"));
        feedbackLink->setGeometry(QRect(150, 370, 50, 22));
        helpLink = new QPushButton(centralWidget);
        helpLink->setObjectName(QString::fromUtf8("helpLink"));
        helpLink->setGeometry(QRect(80, 370, 50, 22));
        slogan = new QLabel(centralWidget);
        slogan->setObjectName(QString::fromUtf8("slogan"));
        slogan->setGeometry(QRect(310, 370, 261, 22));
        aboutLink = new QPushButton(centralWidget);
        aboutLink->setObjectName(QString::fromUtf8("aboutLink"));
        aboutLink->setGeometry(QRect(7, 370, 50, 22));
        MainWindow->setCentralWidget(centralWidget);

        retranslateUi(MainWindow);

        QMetaObject::connectSlotsByName(MainWindow);
    }

    void retranslateUi(QMainWindow *MainWindow) {
        MainWindow->setWindowTitle(QCoreApplication::translate(
            "MainWindow", "Quorvi英语听音查词 V1.7 --音标查词，听音查字的利器", nullptr));
        inputPhonetic->setText(QCoreApplication::translate("MainWindow", "igzɑ:mpl", nullptr));
        keyGroup->setTitle(QCoreApplication::translate("MainWindow", "特殊音标符号", nullptr));
        k643->setText(QCoreApplication::translate("MainWindow", "ʃ", nullptr));
        k658->setText(QCoreApplication::translate("MainWindow", "ʒ", nullptr));
        k331->setText(QCoreApplication::translate("MainWindow", "ŋ", nullptr));
        k952->setText(QCoreApplication::translate("MainWindow", "θ", nullptr));
        k240->setText(QCoreApplication::translate("MainWindow", "ð", nullptr));
        k593->setText(QCoreApplication::translate("MainWindow", "ɑ", nullptr));
        k652->setText(QCoreApplication::translate("MainWindow", "ʌ", nullptr));
        k603->setText(QCoreApplication::translate("MainWindow", "ɛ", nullptr));
        k596->setText(QCoreApplication::translate("MainWindow", "ɔ", nullptr));
        k230->setText(QCoreApplication::translate("MainWindow", "æ", nullptr));
        k601->setText(QCoreApplication::translate("MainWindow", "ə", nullptr));
        k609->setText(QCoreApplication::translate("MainWindow", "ɡ", nullptr));
        manualGroup->setTitle(QCoreApplication::translate("MainWindow", "使用说明", nullptr));
        manualLabel->setText(QCoreApplication::translate(
            "MainWindow",
            "  输入音标后，软件会根据读音，搜索出单词！\n"
            "\n"
            "  特殊音标点击按钮，其它用键盘输入。\n"
            "\n"
            "  如输入[igzɑ:mpl]即可查得example",
            nullptr));
        phoneticMode->setText(QCoreApplication::translate("MainWindow", "听音查词", nullptr));
        captionMode->setText(QCoreApplication::translate("MainWindow", "模糊查词", nullptr));
        feedbackLink->setText(QCoreApplication::translate("MainWindow", "反馈", nullptr));
        helpLink->setText(QCoreApplication::translate("MainWindow", "帮助", nullptr));
        slogan->setText(QCoreApplication::translate(
            "MainWindow",
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
            "<html><head><meta name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\n"
            "p, li { white-space: pre-wrap; }\n"
            "</style></head><body style=\" font-family:'宋体'; font-size:9pt; font-weight:400; font-style:normal;\">\n"
            "<p style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;\">"
            "<a href=\"" QUORVI_VENDOR_SITE "/\"><span style=\" text-decoration: underline; color:#000;\">"
            "英语听力训练，Quorvi英语听音查词词典最力！</span></a></p></body></html>",
            nullptr));
        aboutLink->setText(QCoreApplication::translate("MainWindow", "关于", nullptr));
    }
};

namespace Ui {
class MainWindow : public Ui_MainWindow {};
}  // namespace Ui

QT_END_NAMESPACE
