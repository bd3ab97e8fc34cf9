#include "exchange/frmImport.h"

#include "mainwin/load_res_strings.h"
#include "model/globals.h"
#include "platform/qt/font_map.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace model;

frmImport::frmImport(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmImport");
    setWindowTitle(QStringLiteral("インポート条件の指定"));
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));

    Label1 = new QLabel(QStringLiteral("設計条件を指定してください。"), this);
    Label1->setObjectName("Label1");
    Label1->setProperty("resTag", 1335);
    Frame1 = new QGroupBox(QStringLiteral("建物形状"), this);
    Frame1->setObjectName("Frame1");
    Frame1->setProperty("resTag", 1276);
    chkSymmetry = new QCheckBox(QStringLiteral("対称"), Frame1);
    chkSymmetry->setObjectName("chkSymmetry");
    chkSymmetry->setProperty("resTag", 1277);
    Frame2 = new QGroupBox(QStringLiteral("短期計算荷重"), this);
    Frame2->setObjectName("Frame2");
    Frame2->setProperty("resTag", 1287);
    const char* const kinds[] = {"地震", "暴風", "積雪"};
    auto* options = new QHBoxLayout(Frame2);
    for (int i = 0; i < 3; ++i) {
        optShortCondition[i] = new QRadioButton(QString::fromUtf8(kinds[i]), Frame2);
        optShortCondition[i]->setObjectName(QStringLiteral("optShortCondition_%1").arg(i));
        optShortCondition[i]->setProperty("resTag", 1284 + i);
        options->addWidget(optShortCondition[i]);
    }
    auto* symmetry = new QHBoxLayout(Frame1);
    symmetry->addWidget(chkSymmetry);
    cmdStart = new QPushButton(QStringLiteral("決定"), this);
    cmdStart->setObjectName("cmdStart");
    cmdStart->setProperty("resTag", 1112);
    cmdStart->setDefault(true);

    auto* frames = new QHBoxLayout;
    frames->addWidget(Frame1);
    frames->addWidget(Frame2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdStart);
    auto* all = new QVBoxLayout(this);
    all->addWidget(Label1);
    all->addLayout(frames);
    all->addLayout(buttons);

    Form_Load();
    connect(chkSymmetry, &QCheckBox::clicked, this, &frmImport::chkSymmetry_Click);
    for (int i = 0; i < 3; ++i)
        connect(optShortCondition[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optShortCondition_Click(i);
        });
    connect(cmdStart, &QPushButton::clicked, this, &frmImport::cmdStart_Click);
}

void frmImport::Form_Load()
{
    LoadResStrings(this);
    gShortLoadKind = 0;
    gCond.SymmetryX = kTrue;
    gCond.SymmetryY = kTrue;
    chkSymmetry->setChecked(true);
    optShortCondition[0]->setChecked(true);
}

void frmImport::chkSymmetry_Click()
{
    const int16_t on = chkSymmetry->isChecked() ? kTrue : kFalse;
    gCond.SymmetryX = on;
    gCond.SymmetryY = on;
}

void frmImport::optShortCondition_Click(int Index) { gShortLoadKind = static_cast<int16_t>(Index); }

void frmImport::cmdStart_Click() { accept(); }
