// Points the program's catalogue at the test store for one test and restores
// the project settings afterwards.
#pragma once

#include "model/globals.h"

#include <filesystem>
#include <string>

namespace modeltest {

class CatalogueGlobals {
public:
    CatalogueGlobals()
        : path_(model::gDataFilePath), name_(model::gDataFileName), cond_(model::gCond)
    {
        const std::filesystem::path file(KV_TEST_CATALOGUE);
        model::gDataFilePath = file.parent_path().string();
        model::gDataFileName = "\\" + file.filename().string();
    }
    ~CatalogueGlobals()
    {
        model::gDataFilePath = path_;
        model::gDataFileName = name_;
        model::gCond = cond_;
    }
    CatalogueGlobals(const CatalogueGlobals&) = delete;
    CatalogueGlobals& operator=(const CatalogueGlobals&) = delete;

private:
    std::string path_;
    std::string name_;
    model::ProjectCondTbl cond_;
};

}  // namespace modeltest
