// The import options and the base choice offscreen, and the main window's
// import command.
#include "tests/exchange/import_fixture.h"

#include "exchange/frmImport.h"
#include "exchange/frmSelImportKV.h"
#include "exchange/install_import.h"
#include "mainwin/frmMain.h"
#include "model/format.h"
#include "platform/qt/grid/flexgrid.h"
#include "platform/text/vb.h"
#include "widgets/zDLFlex8_Vendra.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

using namespace importtest;

template <typename W>
W* Child(QWidget* dialog, const char* name)
{
    W* w = dialog->findChild<W*>(QString::fromLatin1(name));
    if (!w) ADD_FAILURE() << "no control " << name;
    return w;
}

QStringList Items(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}

void SaveShot(QWidget& dialog, const char* file)
{
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    dialog.show();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.grab().save(QStringLiteral(KV_TEST_OUT_DIR "/") + QString::fromLatin1(file))) << file;
}

class Dialogs : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        gKvSeries = 1;
        gShowKCModels = true;
        gShowDispF2 = false;
    }
    // Column 1 of a one-column import, as the parser stores it before the choice.
    void Store(int16_t colV, double size, const char* name = "C1(A-1)")
    {
        gCond.ColCount = 1;
        gColumns.redim(1);
        gKvBase.redim(1);
        gResults.redim(1);
        ColumnDataTbl& c = gColumns(1);
        c.ColName = name;
        c.ColV = colV;
        c.ColSize = size;
        c.ColT = 22;
        c.ColMatCode = 0;
        c.KolvanID = 12345;
        c.AbNum = 3;
    }
    void StoreH(double tf)
    {
        Store(2, 600);
        const double dims[] = {600, 300, 12, tf};
        for (int i = 1; i <= 4; ++i) gColumns(1).HDim(i) = dims[i - 1];
    }
};

TEST_F(Dialogs, ImportOptions)
{
    {
        gShortLoadKind = 1;
        gCond.SymmetryX = gCond.SymmetryY = kFalse;
        frmImport d;
        EXPECT_EQ(d.windowTitle(), "インポート条件の指定");
        EXPECT_EQ(Child<QLabel>(&d, "Label1")->text(), "設計条件を指定してください。");
        EXPECT_EQ(Child<QCheckBox>(&d, "chkSymmetry")->text(), "対称");
        EXPECT_EQ(Child<QRadioButton>(&d, "optShortCondition_2")->text(), "積雪");
        EXPECT_EQ(Child<QPushButton>(&d, "cmdStart")->text(), "決定");
        d.show();
        d.close();
        EXPECT_EQ(gCond.SymmetryX, kTrue);
        EXPECT_EQ(gCond.SymmetryY, kTrue);
        EXPECT_EQ(gShortLoadKind, 0);
    }
    {
        frmImport d;
        Child<QCheckBox>(&d, "chkSymmetry")->click();
        Child<QRadioButton>(&d, "optShortCondition_2")->click();
        EXPECT_EQ(gCond.SymmetryX, kFalse);
        EXPECT_EQ(gCond.SymmetryY, kFalse);
        EXPECT_EQ(gShortLoadKind, 2);
        Child<QRadioButton>(&d, "optShortCondition_1")->click();
        EXPECT_EQ(gShortLoadKind, 1);
        Child<QPushButton>(&d, "cmdStart")->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(gShortLoadKind, 1);
    }
    frmImport d;
    SaveShot(d, "import_options.png");
}

TEST_F(Dialogs, BaseChoiceListsAndChoices)
{
    Store(0, 600);
    frmSelImportKV d;
    EXPECT_EQ(d.windowTitle(), "コルヴァンの選択");
    EXPECT_EQ(Child<QLabel>(&d, "Label3")->text(), "インポート元のデータに不備があります。\nコルヴァンを選択してください。");
    EXPECT_EQ(Child<QLabel>(&d, "Label4")->text(), "柱名称 ： C1(A-1)");
    EXPECT_EQ(Child<QLabel>(&d, "Label5")->text(), "型　式 ： ");
    EXPECT_EQ(Child<QLabel>(&d, "Label1")->text(),
              "一方向偏心タイプ(KS)を選択された場合はインポート完了後に編集画面で方向を設定してください。");
    QComboBox* kv = Child<QComboBox>(&d, "cmbKV");
    QComboBox* ab = Child<QComboBox>(&d, "cmbAb");
    QPushButton* end = Child<QPushButton>(&d, "cmdEnd");
    EXPECT_EQ(Items(kv), (QStringList{"QA600", "KC600", "ZA600", "WA600", "KN600", "QE600"}));
    EXPECT_EQ(kv->currentIndex(), 0);
    EXPECT_TRUE(end->isEnabled());
    EXPECT_EQ(gColumns(1).KolvanID, IdOf("QA600"));
    EXPECT_EQ(gColumns(1).AbNum, 1);
    EXPECT_EQ(Items(ab), (QStringList{"M24", "M30"}));
    EXPECT_TRUE(ab->isEnabled());

    ab->setCurrentIndex(1);
    EXPECT_EQ(gColumns(1).AbNum, 2);
    kv->setCurrentIndex(kv->findText("ZA600"));
    EXPECT_EQ(gColumns(1).KolvanID, IdOf("ZA600"));
    EXPECT_TRUE(Items(ab).isEmpty());
    EXPECT_FALSE(ab->isEnabled());
    EXPECT_EQ(gColumns(1).AbNum, 1);
    kv->setCurrentIndex(kv->findText("QE600"));
    EXPECT_EQ(Items(ab), QStringList{"M24"});
    EXPECT_FALSE(ab->isEnabled());
    kv->setCurrentIndex(kv->findText("WA600"));
    EXPECT_EQ(Items(ab), (QStringList{"M24", "M30", "M36"}));
    ab->setCurrentIndex(2);
    EXPECT_EQ(gColumns(1).AbNum, 3);
    // Another model starts on its first diameter.
    kv->setCurrentIndex(kv->findText("KN600"));
    EXPECT_EQ(ab->currentIndex(), 0);
    EXPECT_EQ(gColumns(1).AbNum, 1);
    ab->setCurrentIndex(3);
    end->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(gColumns(1).KolvanID, IdOf("KN600"));
    EXPECT_EQ(gColumns(1).AbNum, 4);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Dialogs, CancelAndTheCloseBoxSkipTheColumn)
{
    Store(0, 600);
    {
        frmSelImportKV d;
        Child<QPushButton>(&d, "cmdCancel")->click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(gColumns(1).KolvanID, 0);
    }
    Store(0, 600);
    frmSelImportKV d;
    d.show();
    EXPECT_EQ(gColumns(1).KolvanID, IdOf("QA600"));
    d.close();
    EXPECT_EQ(gColumns(1).KolvanID, 0);
}

TEST_F(Dialogs, NoCandidateOrNoSize)
{
    const QString none = "選択できるコルヴァンがありません。データを読み飛ばしますのでキャンセルを押してください。";
    {
        // Rows returned, none fits: the first row's ID until the cancel.
        StoreH(21);
        frmSelImportKV d;
        EXPECT_TRUE(Items(Child<QComboBox>(&d, "cmbKV")).isEmpty());
        EXPECT_FALSE(Child<QPushButton>(&d, "cmdEnd")->isEnabled());
        EXPECT_EQ(Child<QLabel>(&d, "Label1")->text(), none);
        EXPECT_EQ(gColumns(1).KolvanID, IdOf("HA600"));
        Child<QPushButton>(&d, "cmdEnd")->click();
        EXPECT_NE(d.result(), QDialog::Accepted);
        Child<QPushButton>(&d, "cmdCancel")->click();
        EXPECT_EQ(gColumns(1).KolvanID, 0);
    }
    {
        // 柱成 not in 柱.
        Store(0, 777);
        frmSelImportKV d;
        EXPECT_EQ(gColumns(1).KolvanID, 0);
        EXPECT_TRUE(Items(Child<QComboBox>(&d, "cmbKV")).isEmpty());
        EXPECT_FALSE(Child<QPushButton>(&d, "cmdEnd")->isEnabled());
    }
    {
        // H models that fit, with the model the file named.
        StoreH(20);
        gKvBase(1).KvName = "H600X1";
        frmSelImportKV d;
        EXPECT_EQ(Child<QLabel>(&d, "Label5")->text(), "型　式 ： H600X1");
        EXPECT_EQ(Items(Child<QComboBox>(&d, "cmbKV")), (QStringList{"HA600", "KCH600"}));
        EXPECT_TRUE(Child<QPushButton>(&d, "cmdEnd")->isEnabled());
    }
}

TEST_F(Dialogs, Screenshot)
{
    Store(0, 600);
    gColumns(1).ColSize = 600;
    frmSelImportKV d;
    SaveShot(d, "select_import_kv.png");
}

// Answers whichever import dialog is open: the base choice with its first
// model, the options with their initial choices.
class DialogAnswers : public QObject {
public:
    DialogAnswers()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* c = qobject_cast<frmSelImportKV*>(w)) {
                ++choices;
                c->cmdEnd->click();
            } else if (auto* o = qobject_cast<frmImport*>(w)) {
                ++options;
                o->cmdStart->click();
            }
        });
        timer_.start();
    }
    int choices = 0;
    int options = 0;

private:
    QTimer timer_;
};

class MainWindowImport : public Dialogs {
protected:
    void SetUp() override
    {
        Dialogs::SetUp();
        gAutoRefresh = true;
        if (!gzDLGetSys) gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        w = std::make_unique<frmMain>();
        w->setIndexArray();
        w->msub_SetUpTable();
    }
    void TearDown() override
    {
        w.reset();
        Dialogs::TearDown();
    }
    std::unique_ptr<frmMain> w;
};

TEST_F(MainWindowImport, FileMenuRunsTheImport)
{
    w->Form_Load();
    EXPECT_FALSE(w->mnuFileImport->isEnabled());
    InstallImportCommand(*w);
    w->msub_ShowProject();
    EXPECT_EQ(w->mnuFileImport->text(), "データのインポート（&I)...");
    EXPECT_TRUE(w->mnuFileImport->isEnabled());
    gCond.SMode = kFalse;
    w->msub_ShowProject();
    EXPECT_FALSE(w->mnuFileImport->isEnabled());
    gCond.SMode = kTrue;
    w->msub_ShowProject();
    ASSERT_TRUE(w->mnuFileImport->isEnabled());

    Lines l = TwoColumnFile();
    l[18] = "KVNAME,UNKNOWN1";  // the first column's base is chosen by the user
    gDataChanged = false;
    gDispMode = 4;
    script.files.push_back(Write("two.txt", l));
    DialogAnswers answers;
    w->mnuFileImport->trigger();
    EXPECT_EQ(answers.choices, 1);
    EXPECT_EQ(answers.options, 1);
    EXPECT_TRUE(script.messages.empty());
    ASSERT_EQ(gCond.ColCount, 2);
    EXPECT_NE(gColumns(1).KolvanID, 0);
    EXPECT_EQ(vb::Trim(text::FieldText(gColumns(1).ColName)), "C1(X2-Y3)");
    EXPECT_EQ(gFileName, "untitled.kud");
    EXPECT_TRUE(w->windowTitle().contains("untitled.kud"));
    EXPECT_EQ(gDispMode, 0);
    EXPECT_EQ(gCurCol, 1);
    EXPECT_EQ(gFendral.GetCount(), 2);
    EXPECT_FALSE(w->Commands().mblnLoading);
    EXPECT_EQ(w->grdList->Rows() - w->grdList->FixedRows(), 2);
}

// The editor the user left open on the long-term N shows the imported
// project's value afterwards (or is closed), never the old project's.
TEST_F(MainWindowImport, EditorShowsTheImportedStress)
{
    InstallImportCommand(*w);
    w->resize(1000, 760);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    qtgrid::FlexGrid* g = w->grdView1;
    w->mobjFlexInput1->Resize();
    g->setFocus();
    g->Select(13, 18);
    g->Select(4, 2);
    QApplication::processEvents();
    ASSERT_TRUE(w->fraInput1->isVisible());
    ASSERT_EQ(w->txtInput1->text(), "0.00");

    Lines l = TwoColumnFile();
    l[21] = "BPLL,600,19.6133,9.80665,29.41995,4.903325";
    gDataChanged = false;
    script.files.push_back(Write("two.txt", l));
    DialogAnswers answers;
    w->mnuFileImport->trigger();
    QApplication::processEvents();
    ASSERT_EQ(gCond.ColCount, 2);
    ASSERT_TRUE(script.messages.empty());

    const QString shown = g->TextMatrix(4, 2);
    EXPECT_EQ(shown.toStdString(), FormatValue(gResults(1).DesignStress(1, 1) * gUnitFactor, 2));
    EXPECT_NE(shown, "0.00");
    if (w->mobjFlexInput1->inputMode() != 0) {
        EXPECT_EQ(w->mobjFlexInput1->editRow(), 4);
        EXPECT_EQ(w->mobjFlexInput1->editCol(), 2);
        EXPECT_EQ(w->txtInput1->text(), shown);
    }
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    EXPECT_TRUE(w->grab().save(QStringLiteral(KV_TEST_OUT_DIR "/main_window_after_import.png")));
    gDataChanged = false;
}

}  // namespace
