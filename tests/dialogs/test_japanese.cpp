// The program speaks Japanese on a desktop whose locale is not Japanese (the
// test runs under LANG=C.UTF-8): Qt's own dialogs and the dates it shows.
#include "tests/mainwin/window_fixture.h"

#include "dialogs/frmBukken.h"
#include "platform/qt/japanese.h"
#include "platform/qt/qt_user_interface.h"
#include "tests/platform/qt/on_modal.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

using namespace model;

using qttest::OnModal;

QStringList Texts(const QWidget* w)
{
    QStringList out;
    for (const auto* b : w->findChildren<QAbstractButton*>())
        if (b->isVisible() && !b->text().isEmpty()) out << b->text();
    for (const auto* l : w->findChildren<QLabel*>())
        if (l->isVisible() && !l->text().isEmpty()) out << l->text();
    return out;
}

class Japanese : public mainwintest::WindowTest {
protected:
    static void SetUpTestSuite()
    {
        // The desktop here is not Japanese: what follows comes from the program.
        ASSERT_NE(QLocale::system().language(), QLocale::Japanese);
        ASSERT_TRUE(ui::InstallJapanese(*qApp));
    }
};

TEST_F(Japanese, FileDialogSpeaksJapanese)
{
    ui::QtUserInterface qui;
    qui.setNativeFileDialogs(false);
    ui::FileRequest r;
    r.save = true;
    r.title = "名前を付けて保存";
    r.initDir = QDir::tempPath().toStdString();
    r.filter = "検討ﾃﾞｰﾀﾌｧｲﾙ (*.kud)|*.kud";
    QStringList seen;
    OnModal([&](QWidget* w) {
        w->resize(640, 400);
        seen = Texts(w);
        w->grab().save(QStringLiteral(KV_TEST_OUT_DIR "/dialogs/file_dialog_ja.png"));
        static_cast<QDialog*>(w)->reject();
    });
    QDir().mkpath(QStringLiteral(KV_TEST_OUT_DIR "/dialogs"));
    EXPECT_FALSE(qui.chooseFile(r));
    const QString all = seen.join(QLatin1Char('|'));
    for (const char* english : {"Save", "Cancel", "Look in:", "File name:", "Files of type:"})
        EXPECT_FALSE(seen.contains(QString::fromLatin1(english))) << english << " in " << all.toStdString();
    for (const char* japanese : {"保存", "キャンセル", "ファイル名"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(japanese))) << japanese << " not in " << all.toStdString();
}

TEST_F(Japanese, MessageBoxButtonsSpeakJapanese)
{
    QStringList seen;
    OnModal([&](QWidget* w) {
        seen = Texts(w);
        static_cast<QMessageBox*>(w)->reject();
    });
    ui::QtUserInterface qui;
    qui.question("保存しますか？", "", ui::Buttons::YesNoCancel);
    const QString all = seen.join(QLatin1Char('|'));
    for (const char* japanese : {"はい", "いいえ", "キャンセル"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(japanese))) << japanese << " not in " << all.toStdString();
}

TEST_F(Japanese, ProjectDetailsShowTheDateAsTheReportsPrintIt)
{
    gCond.BukkenDate = 45000;  // 2023-03-15
    frmBukken d;
    EXPECT_EQ(d.txtDate->text(), QStringLiteral("2023/03/15"));
    EXPECT_EQ(frmBukken::ReadDate(d.txtDate->text()), 45000.0);
}

}  // namespace
