// The project details dialog.
#include "tests/mainwin/window_fixture.h"

#include "dialogs/frmBukken.h"
#include "dialogs/install.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"

#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

namespace {

using namespace model;

class Bukken : public mainwintest::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        gCond.Bukken = "本社ビル";
        gCond.Tantou = "設計 太郎";
        gCond.BukkenDate = 45000;  // 2023-03-15
        gDataChanged = false;
    }
};

TEST_F(Bukken, LoadShowsTheStoredValues)
{
    frmBukken d;
    EXPECT_EQ(d.windowTitle(), "詳細情報の設定");
    EXPECT_EQ(d.txtBukken->text(), "本社ビル");
    EXPECT_EQ(d.txtTantou->text(), "設計 太郎");
    EXPECT_EQ(frmBukken::ReadDate(d.txtDate->text()), 45000.0);
    EXPECT_EQ(d.txtDate->text(), frmBukken::DateText(45000));
}

TEST_F(Bukken, OkStoresAndMarksOnlyRealChanges)
{
    const double today = TodayOleDate();
    struct Case {
        const char* name;
        const char* person;
        QString date;  // null: leave the box as loaded
        bool today;    // press 今日
        bool changed;
        double stored;
    } cases[] = {
        {"本社ビル", "設計 太郎", QString(), false, false, 45000},
        {"  本社ビル  ", " 設計 太郎", QString(), false, false, 45000},
        {"本社ビル2", "設計 太郎", QString(), false, true, 45000},
        {"本社ビル", "設計 次郎", QString(), false, true, 45000},
        {"本社ビル", "設計　太郎", QString(), false, true, 45000},  // full-width blank counts
        {"ＨＯＮＳＨＡ", "設計 太郎", QString(), false, true, 45000},
        {"本社ビル", "設計 太郎", QString(), true, true, today},
        {"本社ビル", "設計 太郎", QStringLiteral(""), false, true, today},
        {"本社ビル", "設計 太郎", QStringLiteral("いつか"), false, true, today},
        {"本社ビル", "設計 太郎", QStringLiteral("2024-02-29"), false, true, 45351},
        {"本社ビル", "設計 太郎", QStringLiteral("2023/03/15"), false, false, 45000},
    };
    for (const Case& c : cases) {
        gCond.Bukken = "本社ビル";
        gCond.Tantou = "設計 太郎";
        gCond.BukkenDate = 45000;
        gDataChanged = false;
        frmBukken d;
        d.txtBukken->setText(QString::fromUtf8(c.name));
        d.txtTantou->setText(QString::fromUtf8(c.person));
        if (!c.date.isNull()) d.txtDate->setText(c.date);
        if (c.today) d.cmdToday->click();
        d.cmdOK->click();
        EXPECT_EQ(gDataChanged, c.changed) << c.name << " " << c.person << " " << c.date.toStdString();
        EXPECT_EQ(gCond.BukkenDate, c.stored) << c.date.toStdString();
        EXPECT_EQ(vb::Trim(gCond.Bukken.value()), vb::Trim(c.name));
        EXPECT_EQ(vb::Trim(gCond.Tantou.value()), vb::Trim(c.person));
    }
}

TEST_F(Bukken, LongTextsAreCutToFiftyCharactersAndCancelKeepsAll)
{
    const std::string long60 = "物件" + std::string(58, 'X');
    {
        frmBukken d;
        d.txtBukken->setText(QString::fromStdString(long60));
        d.cmdOK->click();
    }
    EXPECT_EQ(vb::Trim(gCond.Bukken.value()), text::Left(long60, 50));
    EXPECT_TRUE(gDataChanged);

    gDataChanged = false;
    const ProjectCondTbl before = gCond;
    frmBukken d;
    d.txtBukken->setText("別の名前");
    d.txtTantou->setText("別の人");
    d.txtDate->setText("");
    d.cmdCancel->click();
    EXPECT_TRUE(gCond == before);
    EXPECT_FALSE(gDataChanged);
}

TEST_F(Bukken, TimeOfDayIsShownAndReadBack)
{
    const double noon = 45000.5;
    const QString text = frmBukken::DateText(noon);
    EXPECT_GT(text.size(), frmBukken::DateText(45000).size());
    EXPECT_EQ(frmBukken::ReadDate(text), noon);
}

TEST_F(Bukken, TheDetailButtonOpensItAndTheNameBoxFollows)
{
    InstallMainWindowDialogs(*w);
    w->Form_Load();
    QTimer::singleShot(0, [&] {
        if (auto* d = qobject_cast<frmBukken*>(QApplication::activeModalWidget())) {
            d->txtBukken->setText("新しい物件名");
            d->cmdOK->click();
        }
    });
    w->cmdBDetail->click();
    EXPECT_EQ(w->txtBukken->text(), "新しい物件名");
    EXPECT_EQ(vb::Trim(gCond.Bukken.value()), "新しい物件名");
}

TEST_F(Bukken, Screenshot)
{
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    frmBukken d;
    d.show();
    ASSERT_TRUE(d.grab().save(QStringLiteral(KV_TEST_OUT_DIR "/project_details.png")));
}

}  // namespace
