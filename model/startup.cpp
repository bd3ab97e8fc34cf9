#include "model/startup.h"

#include "engine/kv.h"
#include "model/base_data.h"
#include "model/globals.h"
#include "model/sections.h"
#include "model/settings_store.h"
#include "platform/text/vb.h"
#include "platform/text/vberror.h"

#include <QSettings>
#include <QString>

#include <cmath>
#include <filesystem>
#include <optional>

namespace model {

QSettings AppSettings()
{
    // While the program runs it works on its copy of the user's file.
    const QString session = SettingsSessionFile();
    if (!session.isEmpty()) return QSettings(session, QSettings::IniFormat);
    return QSettings(QStringLiteral("Vendra"), QStringLiteral("SRC_Okv"));
}

std::optional<double> NumberSetting(const QSettings& s, const char* key)
{
    if (!s.contains(QString::fromLatin1(key))) return std::nullopt;
    const std::string text = s.value(QString::fromLatin1(key)).toString().toStdString();
    if (!vb::IsNumeric(text)) return std::nullopt;
    try {
        const double v = vb::Val(text);
        if (std::isfinite(v)) return v;
    } catch (const vb::Error&) {
        // out of the range of a double
    }
    return std::nullopt;
}

// "True"/"False" as written, any letter case; numbers as VB reads them.
std::optional<bool> BooleanSetting(const QSettings& s, const char* key)
{
    if (!s.contains(QString::fromLatin1(key))) return std::nullopt;
    const std::string text = vb::LCase(vb::Trim(s.value(QString::fromLatin1(key)).toString().toStdString()));
    if (text == "true") return true;
    if (text == "false") return false;
    if (!vb::IsNumeric(text)) return std::nullopt;
    try {
        return vb::Val(text) != 0;
    } catch (const vb::Error&) {
        // out of the range of a double
    }
    return std::nullopt;
}

// A blank text names no file; the default stands then.
std::optional<std::string> TextSetting(const QSettings& s, const char* key)
{
    if (!s.contains(QString::fromLatin1(key))) return std::nullopt;
    std::string text = s.value(QString::fromLatin1(key)).toString().toStdString();
    if (vb::Trim(text).empty()) return std::nullopt;
    return text;
}

StartupSettings ReadStartupSettings(QSettings& settings, const std::string& programFolder)
{
    StartupSettings out;
    out.dataFilePath = programFolder;
    settings.beginGroup(QString::fromLatin1(kSettingsGroup));
    if (auto v = NumberSetting(settings, "KvV")) {
        // Only these series have a template model.
        if (*v == 0 || *v == 1 || *v == 4 || *v == 6) out.kvSeries = static_cast<int16_t>(*v);
    }
    if (auto v = BooleanSetting(settings, "DispSIFlag")) out.siDisp = *v;
    if (auto v = TextSetting(settings, "DataFilePath")) out.dataFilePath = *v;
    if (auto v = TextSetting(settings, "DataFileName")) out.dataFileName = *v;
    // Strengths are capped at the limit; one not above 0 leaves nothing to compute with.
    if (auto v = NumberSetting(settings, "FcUpperLimit"); v && *v > 0) out.fcUpperLimit = *v;
    settings.endGroup();
    return out;
}

StartupSettings ReadStartupSettings(const std::string& programFolder)
{
    QSettings s = AppSettings();
    return ReadStartupSettings(s, programFolder);
}

void ApplyStartupSettings(const StartupSettings& s)
{
    gKvSeries = s.kvSeries;
    gSIDisp = s.siDisp;
    gDataFilePath = s.dataFilePath;
    gDataFileName = s.dataFileName;
    gFcUpperLimit = s.siDisp ? s.fcUpperLimit / 10 : s.fcUpperLimit;
}

void WriteStartupSettings(QSettings& settings)
{
    settings.beginGroup(QString::fromLatin1(kSettingsGroup));
    settings.setValue(QStringLiteral("KvV"), QString::number(gKvSeries));
    settings.setValue(QStringLiteral("DispSIFlag"), gSIDisp ? QStringLiteral("True") : QStringLiteral("False"));
    settings.setValue(QStringLiteral("DataFilePath"), QString::fromStdString(gDataFilePath));
    settings.setValue(QStringLiteral("DataFileName"), QString::fromStdString(gDataFileName));
    settings.setValue(QStringLiteral("FcUpperLimit"),
                      QString::fromStdString(vb::Trim(vb::Str(gSIDisp ? gFcUpperLimit * 10 : gFcUpperLimit))));
    settings.endGroup();
    settings.sync();
}

void WriteStartupSettings()
{
    QSettings s = AppSettings();
    WriteStartupSettings(s);
}

namespace {

void TakeTemplateSection(ColumnDataTbl& col)
{
    // The steel template's section values are its catalogue section's, as
    // the column dialog shows them; without that row the fixed ones stay.
    ColumnDataTbl found = col;
    try {
        GetColumnSectionData(found);
    } catch (const std::exception&) {
        return;
    }
    if (found.ColSpec(0) > 0.01) col.ColSpec = found.ColSpec;
}

}  // namespace

void InitDefaults(const std::string& programFolder)
{
    FillDoubleArray(gAxisStepsA, 1, {5, 10, 25, 50, 100, 250, 500, 1000, 5000, 10000});
    FillDoubleArray(gAxisStepsB, 1, {50, 100, 250, 500, 1000, 2500, 5000, 10000, 50000, 100000});
    gFileName = "untitled.kud";
    gCondDefault = MakeCondDefault(gSIDisp, TodayOleDate(), gImportDir, gImportFile);
    gUnitFactor = gSIDisp ? gCondDefault.GFactor : 1.0;
    gKv->setSIFlag(gSIDisp);
    gKv->setFc(gCondDefault.Fc);
    gColumnDefault = MakeColumnDefault(gKvSeries, gSIDisp, gCondDefault.Fc);
    gColumnDefaultSrc = MakeColumnDefaultSrc(gColumnDefault, gSIDisp);

    gKvBaseDefault.AbNum = gColumnDefault.AbNum;
    gCond.SMode = kTrue;
    LoadKvBaseData(*gKv, gColumnDefault.KolvanID, gColumnDefault.AbNum, gKvBaseDefault);
    SetColumnBaseGeometry(gColumnDefault, gKvBaseDefault);
    TakeTemplateSection(gColumnDefault);

    gShowKCModels = true;
    std::error_code ec;
    gShowDispF2 = std::filesystem::exists(std::filesystem::path(programFolder) / "LLumo", ec);
    gColorDraw = true;
    gNMCurveShow(0) = true;
    gNMCurveShow(1) = true;
    gNMCurveShow(2) = false;
    gNMCurveShow(3) = false;
    gDispMode = 0;
    gKv->setDataFilePath(gDataFilePath);
    gKv->setDataFileName(gDataFileName);
}

void SplitCommandLine(const std::string& commandLine, std::string& dir, std::string& name)
{
    std::string s = commandLine;
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    const auto cut = s.find_last_of("\\/");
    if (cut == std::string::npos) {
        dir.clear();
        name = s;
    } else {
        dir = s.substr(0, cut + 1);
        name = s.substr(cut + 1);
    }
}

}  // namespace model
