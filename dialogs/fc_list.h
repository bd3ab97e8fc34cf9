// The list of concrete strengths the catalogue offers, in the shown unit.
#pragma once

class QComboBox;

// Fills the list (SI or old units by gSIDisp) and selects the entry of the
// integer part of fc in either unit; an unset fc (999 or more) becomes the
// project kind's default in the caller's variable first. The list is filled
// without selection signals; only the final selection is announced.
void FillFcCombo(QComboBox* list, double& fc);
