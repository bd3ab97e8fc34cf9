// The program's string table: the texts of window titles, labels, buttons,
// menus and tool tips by numeric id, read once from the embedded table.
#pragma once

#include <QString>
#include <optional>

// The text of `id`; nullopt when the table has no such id.
std::optional<QString> FindResString(int id);
// The text of `id`; empty when the table has no such id.
QString LoadResString(int id);
