// Puts the string-table texts into a window as it loads. At design time a
// control carries only the id of its text, in dynamic properties:
//   "resTag"  on the window, labels, group boxes, buttons (caption) and on
//             menu actions (a menu action may carry the id as its text
//             instead, which the icon menus use as the item's key);
//   "resTip"  on any widget and on toolbar actions (tool tip);
//   "resTags", "resTips" (QStringList, one per tab or column) on tab
//             widgets and on tree views (column headers).
// Anything without a valid id keeps its design-time text.
#pragma once

class QWidget;

void LoadResStrings(QWidget* frm);
