// A small S-mode project of n columns for the base-rebar list tests, and a
// temporary folder that is removed again.
#pragma once

#include "model/globals.h"
#include "model/rebar_handover.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace model::testing {

class TempFolder {
public:
    explicit TempFolder(const std::string& name = "rebar test")
    {
        path_ = std::filesystem::temp_directory_path() /
                (name + " " + std::to_string(::getpid()) + "_" + std::to_string(n_++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string dir() const { return path_.string() + "/"; }

private:
    static inline int n_ = 0;
    std::filesystem::path path_;
};

class RebarProject : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedCond = gCond;
        savedList = gFendral;
        gCond = MakeCondDefault(true, 0, "", "");
        gCond.SMode = kTrue;
        MakeColumns(3);
    }
    void TearDown() override
    {
        gCond = savedCond;
        gFendral = savedList;
        gColumns.redim(0);
        gKvBase.redim(0);
        gResults.redim(0);
    }
    // Columns "C1".."Cn" on the base WP200-4 (series 4), column i with Fc 20 + i.
    void MakeColumns(int n)
    {
        gCond.ColCount = static_cast<int16_t>(n);
        gColumns.redim(n);
        gKvBase.redim(n);
        gResults.redim(n);
        for (int i = 1; i <= n; ++i) {
            ColumnDataTbl& c = gColumns(i);
            c.ColName = "C" + std::to_string(i);
            c.Fc = 20 + i;
            c.KvRotate = 1;
            c.KvDir = 2;
            KvBaseTbl& b = gKvBase(i);
            b.KvV = 4;
            b.KvName = "WP200-4";
            b.AbD = 24;
        }
    }
    std::string ListNames() const
    {
        std::string s;
        FendralTbl r;
        for (int32_t i = 1; i <= gFendral.GetCount(); ++i) {
            gFendral.Get_Data(i, r, 1);
            s += r.ColName + "#" + std::to_string(r.ID) + " ";
        }
        return s;
    }

    ProjectCondTbl savedCond;
    clsFendral savedList;
};

}  // namespace model::testing
