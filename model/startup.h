// Start-up and release of the program, without its windows: settings, the
// engine, the templates and the first project.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

class QSettings;

namespace model {

// The values kept in the user's settings ("Settings" section).
struct StartupSettings {
    int16_t kvSeries = 1;                 // "KvV"
    bool siDisp = true;                   // "DispSIFlag"
    std::string dataFilePath;             // "DataFilePath", default the program folder
    std::string dataFileName = "\\data.mdb";  // "DataFileName"
    double fcUpperLimit = 240;            // "FcUpperLimit", always kgf/cm2
};

// The program's settings store, and the group its values live in.
QSettings AppSettings();
inline constexpr const char* kSettingsGroup = "Settings";

// One value of the current group; nothing when the key is missing or its text
// is no such value. Booleans are "True"/"False" in any letter case or a
// number; a text of blanks only is no text.
std::optional<double> NumberSetting(const QSettings& s, const char* key);
std::optional<bool> BooleanSetting(const QSettings& s, const char* key);
std::optional<std::string> TextSetting(const QSettings& s, const char* key);

// Reads the settings; a value that is missing or unusable (not a number, a
// "KvV" without a template model, a "DispSIFlag" that is no Boolean or out of
// range, an "FcUpperLimit" not above 0, a blank "DataFilePath" or
// "DataFileName") takes its default.
StartupSettings ReadStartupSettings(QSettings& settings, const std::string& programFolder);
StartupSettings ReadStartupSettings(const std::string& programFolder);

// Copies the settings into the program-wide values (gKvSeries, gSIDisp,
// gDataFilePath, gDataFileName, gFcUpperLimit in the display unit).
void ApplyStartupSettings(const StartupSettings& s);

// Writes the program-wide values back, FcUpperLimit in kgf/cm2.
void WriteStartupSettings(QSettings& settings);
void WriteStartupSettings();

// values into a(start), a(start + 1), ...
template <typename Array>
void FillDoubleArray(Array& a, int16_t start, std::initializer_list<double> values)
{
    long i = start;
    for (double v : values) a(i++) = v;
}

// Templates, start values of the display and the template base. Needs gKv,
// gSIDisp, gKvSeries, gDataFilePath and gDataFileName; programFolder is
// where the "LLumo" entry is looked for.
void InitDefaults(const std::string& programFolder);

// A command line naming a project: folder up to and including the last
// separator ("\" or "/"), and the rest. Quotes around the whole are dropped.
void SplitCommandLine(const std::string& commandLine, std::string& dir, std::string& name);

}  // namespace model
