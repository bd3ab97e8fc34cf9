// The catalogue queries and the choice rules of the column and base selection:
// the grade criteria, the size, thickness, section, flange-width, nominal-size
// and model queries, the ordering of the size list, the series adjustment and
// the series options by shape and size, and the model-list filter.
#pragma once

#include "model/records.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace selkv {

// Column shapes (柱.柱種類).
inline constexpr int16_t kBox = 0;
inline constexpr int16_t kRound = 1;
inline constexpr int16_t kH = 2;

// The condition on 柱.規格 of a grade code, placed after "AND ((柱.規格)";
// the size list and the thickness and section queries use the same one.
// Empty for a code the shape does not list.
std::string GradeCriterion(int16_t shape, int16_t code);

// A catalogue or typed text as an SQL literal between the quote given: a
// quote inside is doubled, so that it neither ends nor widens the literal
// (single quotes by the store's own rule).
std::string SqlText(const std::string& text, char quote = '\'');

std::string SizeListQuery(int16_t shape, int16_t code);
std::string ThicknessListQuery(int16_t shape, const std::string& sizeText, int16_t code);
std::string SectionQuery(int16_t shape, const std::string& sizeText, int16_t code, const std::string& thicknessText);
std::string FlangeWidthQuery(const std::string& sizeText);
std::string NominalSizeQuery(const std::string& sizeText);
// seriesCondition from SeriesCondition; shape as the column's code.
std::string ModelListQuery(const std::string& nominalSize, const std::string& seriesCondition, int16_t shape);

// A catalogue text that enters a query unquoted, as the number it holds;
// empty when it holds none, and then the query is not run.
std::string UnquotedNumber(const std::string& text);

// The H sections of a nominal size and flange width, one section by its ID,
// and the H models for a section (unquoted texts from UnquotedNumber).
std::string HSectionListQuery(const std::string& sizeText, const std::string& widthText);
std::string HSectionQuery(int32_t id);
std::string HModelListQuery(const std::string& size, const std::string& width, int16_t kvSeries);
// A model's ID by its name, and its series and bolt diameters by its ID.
std::string ModelIdQuery(const std::string& name);
std::string ModelBoltsQuery(int32_t id);
// The inner dimensions E, F, W, G of a model, which an H column must fit.
std::string HFitQuery(int32_t id);

// An H column (H, B, tw, tf) fits inside a base of inner dimensions E, F, W, G
// (all mm) when E - 4 >= H, H - 2 tf >= F + 16, G - 10 > B and W / 1.5 > tw.
bool IsHColumnOnBase(double E, double F, double W, double G, double H, double B, double tw, double tf);

// The centre-column box of a model's series and name prefix.
enum class CentreCaption { Unchanged, CentreColumn, Pattern2 };  // -, 中柱, パターン２
struct CentreBox {
    CentreCaption caption = CentreCaption::Unchanged;
    bool shown = false;
    bool ticked = false;
};
CentreBox CentreColumnBox(int16_t series, const std::string& modelName);
// The first two characters of a trimmed model name.
std::string ModelPrefix(const std::string& modelName);
// A new model resets the direction when the old one was a "KC" or "KS" model
// and the new one has another prefix.
bool DirectionResets(const std::string& oldName, const std::string& newName);
// Directions a model allows: 4 for "KC"/"KS" names, 2 for names beginning
// "H", 0 otherwise.
int AllowedDirections(const std::string& modelName);
// KvRotate of a direction: Index Mod 2, always 0 for a "KC" model.
int16_t RotationOf(const std::string& modelName, int direction);
// The base plate is square: A and B have the same whole millimetres.
bool SquarePlate(const model::KvBaseTbl& base);

// The size list from the catalogue values: ascending, as text with as many
// decimals as needed, each text once.
std::vector<std::string> SizeListTexts(const std::vector<double>& values);

// The series code the model query asks for (box and round only).
int16_t AdjustSeriesForQuery(int16_t shape, double size, int16_t series);
// "((柱脚.KvV)=1) OR ((柱脚.KvV)=5)" for 1 and 5, "((柱脚.KvV)=4)" for 4,
// likewise 6; empty for a code without an option.
std::string SeriesCondition(int16_t series);

// The three series options (0 コルヴァン・ルモ, 1 オルタコルヴァン, 2 ソルヴェナス).
struct SeriesOption {
    bool arranged = false;  // false: the size has no arrangement; left as it was
    bool shown = false;
    int left = 0;           // twips inside the series frame
    int enabled = -1;       // 1 enabled, 0 disabled, -1 unchanged
};
std::array<SeriesOption, 3> ArrangeSeriesOptions(int16_t shape, double size);
// The option of a series code; -1 for a code without one.
int SeriesOptionOf(int16_t series);
// The series code an option sets for the shape and size.
int16_t SeriesOfOption(int option, int16_t shape, double size);

// One row of the model query.
struct ModelRow {
    std::string name;
    int32_t id = 0;
    int16_t dispF = 0;
};
// The names the model list shows: the working model's row always, the
// others by the display filter. kolvanId becomes the first row's ID once
// the first row has been looked at, as the list is filled.
std::vector<std::string> ListedModels(const std::vector<ModelRow>& rows, int32_t& kolvanId, bool showKCModels,
                                      bool showDispF2);

// Pedestal.

// Fc as the arrangement tables have it (N/mm2): old-unit values over 100 / 10.
double PedestalFc(double fc);
// "D" & size & "(" & grade & ")" of the column's main bar.
std::string MainBarText(const model::ColumnDataTbl& col);

// The grade codes a shape lists, first to last: box 0-4, round 5-6, H 7-10.
int16_t FirstGrade(int16_t shape);
int16_t LastGrade(int16_t shape);

// Commit rules.

// A stored BCP325 column below 300 mm is opened as BCR295.
bool Bcp325Replaced(double storedSize, int16_t storedGrade);
// A column of F 325: box BCP325 or STKR490, round STKN490.
bool F325Column(int16_t shape, int16_t grade);
// A コルヴァン・ルモ base with a plate over 40 mm on a column of F 325 is refused.
bool LumoPlateRefused(int16_t shape, int16_t grade, const model::KvBaseTbl& base);
// The section property boxes as the user left them: all five user values
// zero while every box shows its catalogue value as formatted, all five box
// values as soon as one differs.
void TakeUserSectionValues(model::ColumnDataTbl& col, const std::array<std::string, 5>& boxTexts);
// Zx and Zy differ, by the user values when there are any.
bool ColumnXYDiffer(const model::ColumnDataTbl& col);
// The widths of the slab check from the column and the pedestal.
void SetSlabWidths(model::ColumnDataTbl& col);
// Another base drops every shear-method choice.
void DropShearChoicesForNewBase(model::ColumnDataTbl& col, int32_t storedBaseId, int32_t newBaseId);

}  // namespace selkv
