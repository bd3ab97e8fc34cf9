#include "mainwin/flmImmunity.h"

#include "mainwin/load_res_strings.h"
#include "platform/qt/font_map.h"
#include "platform/qt/twips.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cmath>

std::function<void()> flmImmunity::EndProgram = [] { QCoreApplication::exit(0); };

QString flmImmunity::TermsText()
{
    return QStringLiteral(
        "１．本ソフトウェアおよび付属の文書は無償でご利用いただけます。"
        "本ソフトウェアおよび付属の文書に関する一切の権利はヴェンドラが保有します。\n"
        "\n"
        "２．本ソフトウェアのインストールおよび使用は、利用者ご自身の責任において行ってください。"
        "本ソフトウェアの使用により生じたいかなる損害についても、ヴェンドラは一切の責任を負いません。\n"
        "\n"
        "３．本ソフトウェアを、いかなる形においても、改変、翻訳およびリバースエンジニアリングすることを禁止します。\n"
        "\n"
        "４．本ソフトウェアおよび付属の文書から、利用条件および権利の表示を削除しないでください。\n"
        "\n"
        "５．本ソフトウェアの仕様は予告なく変更することがあります。"
        "最新版はヴェンドラのホームページで配布しています。\n"
        "\n"
        "６．最新版を変更を加えずに完全な形で渡す場合に限り、本ソフトウェアの再配布は自由です。"
        "再配布により生じた損害について、ヴェンドラは一切の責任を負いません。");
}

flmImmunity::flmImmunity(QWidget* mainWindow, QWidget* parent)
    : QDialog(parent ? parent : mainWindow), main_(mainWindow)
{
    setObjectName("flmImmunity");
    // No string id: the title stays as designed.
    setWindowTitle(QStringLiteral("利用規約"));
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));

    Label1 = new QLabel(TermsText(), this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setFixedWidth(static_cast<int>(std::lround(6900 / vbqt::TwipsPerPixelX(*this))));
    Label1->setFrameShape(QFrame::Panel);
    Label1->setFrameShadow(QFrame::Sunken);
    Label1->setMargin(8);
    Label1->setBackgroundRole(QPalette::Base);
    Label1->setAutoFillBackground(true);
    Label2 = new QLabel(QStringLiteral("同意いただけますか？"), this);
    Label2->setObjectName("Label2");
    cmdAccept = new QPushButton(QStringLiteral("同意する"), this);
    cmdAccept->setObjectName("cmdAccept");
    cmdNotAccept = new QPushButton(QStringLiteral("同意しない"), this);
    cmdNotAccept->setObjectName("cmdNotAccept");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label2);
    buttons->addStretch();
    buttons->addWidget(cmdAccept);
    buttons->addWidget(cmdNotAccept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdAccept, &QPushButton::clicked, this, &flmImmunity::cmdAccept_Click);
    connect(cmdNotAccept, &QPushButton::clicked, this, &flmImmunity::cmdNotAccept_Click);
}

int flmImmunity::ShowModal(QWidget* mainWindow, std::function<bool()> beforeRefuse)
{
    flmImmunity dlg(mainWindow);
    dlg.beforeRefuse = std::move(beforeRefuse);
    return dlg.exec();
}

void flmImmunity::showEvent(QShowEvent* event)
{
    if (!loaded_) Form_Load();
    QDialog::showEvent(event);
}

void flmImmunity::Form_Load()
{
    if (loaded_) return;
    loaded_ = true;
    LoadResStrings(this);
    adjustSize();
    if (main_) {
        const QRect m = main_->frameGeometry();
        const QRect own = frameGeometry();
        const int left = static_cast<int>(std::lround(m.width() / 2.0 + m.x() - own.width() / 2.0));
        const int top = static_cast<int>(std::lround(m.height() / 2.0 + m.y() - own.height() / 2.0));
        move(left, top);
    }
    // Enter refuses unless the user moves to the other button.
    cmdNotAccept->setDefault(true);
    cmdNotAccept->setFocus();
}

void flmImmunity::cmdAccept_Click() { accept(); }

void flmImmunity::cmdNotAccept_Click()
{
    if (beforeRefuse && !beforeRefuse()) return;
    if (EndProgram) EndProgram();
    reject();
}
