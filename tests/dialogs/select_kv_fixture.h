// The program started headless on the test catalogue (the sample and the
// test-only rows), in a settings folder of its own, with a scripted user
// interface, and helpers that store a column and open the column and base
// dialog on it.
#pragma once

#include "dialogs/frmSelectKV.h"
#include "engine/kv.h"
#include "model/base_data.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/sections.h"
#include "model/startup.h"
#include "platform/store/store.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <unistd.h>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace selkvtest {

inline int32_t IdOf(const std::string& model)
{
    auto db = store::Database::open(KV_TEST_CATALOGUE, ";pwd=qmv41");
    auto rs = db.openRecordset("SELECT 柱脚.ID FROM 柱脚 WHERE ((柱脚.形式名)=" + store::Quote(model) + ")");
    if (rs.eof()) throw std::runtime_error("no model " + model + " in the test catalogue");
    return static_cast<int32_t>(rs.integer(0));
}

// A control of a dialog by its name.
template <typename W>
W* Child(QWidget* dialog, const char* name)
{
    W* w = dialog->findChild<W*>(QString::fromLatin1(name));
    if (!w) ADD_FAILURE() << "no control " << name;
    return w;
}

// The names of the column fields that differ, for failure messages.
inline std::string Differences(const model::ColumnDataTbl& a, const model::ColumnDataTbl& b)
{
    std::string out;
#define KV_FIELD(f) \
    if (!(a.f == b.f)) out += #f " ";
    KV_FIELD(KolvanID) KV_FIELD(KvV) KV_FIELD(AbNum) KV_FIELD(KvRotate) KV_FIELD(KvDir) KV_FIELD(ColV)
    KV_FIELD(ColSize) KV_FIELD(ColT) KV_FIELD(ColID) KV_FIELD(HDim) KV_FIELD(ColMatCode) KV_FIELD(ColF)
    KV_FIELD(ColSpec) KV_FIELD(ColSpecUser) KV_FIELD(ColXYDiffer) KV_FIELD(RBarMat) KV_FIELD(RBarVal)
    KV_FIELD(RmN) KV_FIELD(rD) KV_FIELD(cD) KV_FIELD(Fc) KV_FIELD(HoopSize) KV_FIELD(HoopMat) KV_FIELD(HoopN)
    KV_FIELD(HoopPitch) KV_FIELD(CenColWall) KV_FIELD(FShear) KV_FIELD(SlabQ_B1X) KV_FIELD(SlabQ_B1Y)
    KV_FIELD(SlabQ_B2X) KV_FIELD(SlabQ_B2Y) KV_FIELD(RtN) KV_FIELD(RqN) KV_FIELD(RTensN) KV_FIELD(SrcColSpec)
    KV_FIELD(SrcHDim) KV_FIELD(SrcDim5) KV_FIELD(cD2) KV_FIELD(RTabane) KV_FIELD(BPLen) KV_FIELD(LumoQuCond)
    KV_FIELD(RebarZone) KV_FIELD(CSizeKind) KV_FIELD(CSizeVal6) KV_FIELD(SlabFc) KV_FIELD(SlabQ_d1)
    KV_FIELD(SlabQ_d2) KV_FIELD(LoadTbl) KV_FIELD(LoadTblBR) KV_FIELD(ColName)
#undef KV_FIELD
    return out.empty() ? "other fields" : out;
}

// Types text into a box and leaves it.
inline void LeaveBox(QLineEdit* box, const QString& text)
{
    box->setText(text);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(box, &out);
}

// Shows the dialog and saves its picture under samples/dialogs.
inline void SaveShot(QWidget& dialog, const char* file)
{
    const std::filesystem::path dir = std::filesystem::path(KV_TEST_OUT_DIR) / "dialogs";
    std::filesystem::create_directories(dir);
    dialog.show();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.grab().save(QString::fromStdString((dir / file).string()))) << file;
}

inline QStringList Items(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}

class SelectKvTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("kv selkv " + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_.string()));
        {
            const std::filesystem::path catalogue(KV_TEST_CATALOGUE);
            QSettings s = model::AppSettings();
            s.beginGroup(QString::fromLatin1(model::kSettingsGroup));
            s.setValue("DataFilePath", QString::fromStdString(catalogue.parent_path().string()));
            s.setValue("DataFileName", QString::fromStdString("\\" + catalogue.filename().string()));
        }
        ui_ = std::make_unique<ui::testing::ScopedUi>(script);
        model::StartProgram(KV_SAMPLE_DIR, "");
        model::gCond.SMode = model::kTrue;
        model::gSIDisp = true;
        model::gShowKCModels = true;
        model::gShowDispF2 = false;
        model::gDispMode = 0;
        model::gDataChanged = false;
    }
    void TearDown() override
    {
        dlg.reset();
        ui_.reset();
        model::gKv.reset();
        model::gShowKCModels = true;
        model::gShowDispF2 = false;
        std::filesystem::remove_all(dir_);
    }

    // The current column as a box or round column of the catalogue, with
    // its section values, on the model's bolt variant abNum.
    void Store(int16_t shape, int16_t grade, double size, double t, const std::string& model, int16_t abNum = 1)
    {
        model::ColumnDataTbl& c = model::gColumns(model::gCurCol);
        c.ColV = shape;
        c.ColMatCode = grade;
        c.ColF = model::GetSteelFValue(grade);
        c.ColSize = size;
        c.ColT = t;
        c.ColSpecUser.fill(0);
        if (shape != 2) model::GetColumnSectionData(c);
        StoreModel(model, abNum);
    }
    // An H column of the sample's section 400 x 200 x 8 x 13 (柱.ID 501).
    void StoreH(int16_t grade, const std::string& model)
    {
        model::ColumnDataTbl& c = model::gColumns(model::gCurCol);
        c.ColV = 2;
        c.ColMatCode = grade;
        c.ColF = model::GetSteelFValue(grade);
        c.ColSize = 400;
        c.ColT = 200;
        c.ColID = 501;
        const double dims[] = {400, 200, 8, 13};
        for (int i = 1; i <= 4; ++i) c.HDim(i) = dims[i - 1];
        const double spec[] = {83.37, 1173, 1313, 173.6, 267};
        for (int k = 0; k < 5; ++k) c.ColSpec(k) = spec[k];
        c.ColSpecUser.fill(0);
        StoreModel(model, 1);
    }
    void StoreModel(const std::string& model, int16_t abNum)
    {
        model::ColumnDataTbl& c = model::gColumns(model::gCurCol);
        model::KvBaseTbl& b = model::gKvBase(model::gCurCol);
        c.KolvanID = IdOf(model);
        c.AbNum = abNum;
        b.AbNum = abNum;
        model::LoadKvBaseData(c.KolvanID, abNum, b);
        c.KvV = b.KvV;
    }

    // The current column as the SRC template on a model of its kind.
    void StoreSrc(int16_t kind, const std::string& model, int16_t dir = 0)
    {
        model::ColumnDataTbl& c = model::gColumns(model::gCurCol);
        c = model::gColumnDefaultSrc;
        c.ColV = kind;
        c.KolvanID = IdOf(model);
        c.KvDir = dir;
        c.KvRotate = static_cast<int16_t>(dir & 1);
        c.AbNum = 1;
        model::gKvBase(model::gCurCol).AbNum = 1;
        model::LoadKvBaseData(c.KolvanID, 1, model::gKvBase(model::gCurCol));
    }

    frmSelectKV& Open()
    {
        dlg = std::make_unique<frmSelectKV>();
        return *dlg;
    }

    // A control of the open dialog by its name.
    template <typename W>
    W* C(const char* name)
    {
        return Child<W>(dlg.get(), name);
    }
    // Fails for every message shown since the last look.
    void ExpectNoMessage(const std::string& what)
    {
        for (const auto& m : script.messages) ADD_FAILURE() << what << ": " << m.title << ": " << m.text;
        script.messages.clear();
    }
    // The user's choice of an item by its text.
    void Choose(const char* list, const QString& text)
    {
        QComboBox* c = C<QComboBox>(list);
        const int i = c->findText(text);
        ASSERT_GE(i, 0) << list << ": " << text.toStdString();
        c->setCurrentIndex(i);
        // The thickness box takes list choices as the user makes them.
        if (c->isEditable()) emit c->activated(i);
    }

    ui::testing::ScriptedUi script;
    std::unique_ptr<frmSelectKV> dlg;

private:
    std::unique_ptr<ui::testing::ScopedUi> ui_;
    std::filesystem::path dir_;
};

}  // namespace selkvtest
