// Base models, column sections, section properties and stiffness as text.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <span>
#include <string>

namespace model {

std::string GetKvDisplayName(const KvBaseTbl& kvb);
// The model text from the first nameChars characters of the name: with "-"
// and the bolt diameter for the series that offer several bolts.
std::string GetKvModelText(const KvBaseTbl& kvb, long nameChars);
std::string GetKvNameByIndex(int16_t iCol);

// iCol 999 is replaced by the current column in the caller's variable.
std::string GetColumnSectionText(int16_t& iCol, std::string& main, std::string& second, std::string& material);

// Overwrites texts[0] to texts[6]; the span must hold at least seven entries.
void GetSectionPropertyTexts(int16_t& iCol, std::span<std::string> texts);

std::string GetKbsText(int16_t iCol);

}  // namespace model
