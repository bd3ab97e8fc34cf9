// SRC_Okv. The windows are not built yet: the start-up reads the settings,
// creates the engine on the catalogue, builds the templates and opens the
// project named on the command line (or the one-column default), then
// reports what it holds.
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/texts.h"
#include "platform/text/vb.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    try {
        model::StartProgram(QCoreApplication::applicationDirPath().toStdString(), commandLine);
    } catch (const std::exception& e) {
        std::cerr << "データベースが開けません: " << e.what() << "\n";
        return 1;
    }
    std::cout << "柱脚検討 -\"" << model::gFileName << "\": " << model::gCond.ColCount << " 本\n";
    for (long i = 1; i <= model::gCond.ColCount; ++i)
        std::cout << "  " << vb::Trim(model::gColumns(i).ColName.value()) << "  "
                  << model::GetKvDisplayName(model::gKvBase(i)) << "\n";
    model::ReleaseGlobalObjects();
    return 0;
}
