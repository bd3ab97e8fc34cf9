// The base-rebar list: one record per column, exchanged with the separate
// rebar-setting program, and its line-oriented file.
#pragma once

#include "platform/text/vbarray.h"

#include <cstdint>
#include <string>
#include <vector>

namespace model {

struct FendralPair {
    uint8_t First = 0;
    uint8_t Second = 0;
    bool operator==(const FendralPair&) const = default;
};

struct FendralItem {
    uint8_t Kind = 0;
    double Value = 0;
    bool operator==(const FendralItem&) const = default;
};

// Carried for the rebar-setting program only.
struct FendralSideTbl {
    double Value = 0;
    int16_t Count1 = 0;
    int16_t Count2 = 0;
    double Value2 = 0;
    double Value3 = 0;
    int32_t PairCount = 0;
    std::vector<FendralPair> Pairs{FendralPair{}};  // 0..PairCount, element 0 blank
    int32_t ItemCount = 0;
    std::vector<FendralItem> Items{FendralItem{}};  // 0..ItemCount, element 0 blank

    bool operator==(const FendralSideTbl&) const = default;
};

struct FendralBlockTbl {
    uint8_t Kind = 0;
    std::string Name;
    vb::Array<double, 1, 6> Values{};
    double Extra = 0;
    vb::Array<FendralSideTbl, 0, 1> Sides{};

    bool operator==(const FendralBlockTbl&) const = default;
};

struct FendralTbl {
    int32_t ID = 0;
    uint8_t Flag = 0;
    std::string ColName;
    std::string ModelName;
    int16_t ProductCode = 0;
    int16_t SeriesCode = 0;
    uint8_t WallCode = 0;
    uint8_t RebarZone = 0;
    double cDx = 0;
    double cDy = 0;
    int16_t RmNx = 0;
    int16_t RmNy = 0;
    double BarDia = 0;
    double HoopDia = 0;
    double HoopPitch = 0;
    double rDx = 0;
    double AbD = 0;
    int16_t AbV = 0;
    int16_t RotateMode = 0;  // Boolean, -1 / 0
    vb::Array<double, 1, 6> KvLen{};
    vb::Array<double, 0, 1> HenshinE{};
    int16_t Rotation = 0;
    int16_t BaseDir = 0;
    double DefaultExtra = 0;
    std::string Text1;
    std::string Text2;
    vb::Array<double, 0, 1> Pair{};
    double Fc = 0;
    vb::Array<FendralBlockTbl, 0, 4> Blocks{};  // 1..4 used

    bool operator==(const FendralTbl&) const = default;
};

class clsFendral {
public:
    static constexpr const char* kTitle = "ベース主筋データ";
    static constexpr const char* kVersion = "1.04";

    // ids is rebuilt as 0..count with ids[i] the ID of record i.
    int32_t GetList(std::vector<int32_t>& ids) const;

    // Replaces the whole list with the file's contents; a missing file gives
    // an empty list and version "". A file that cannot be read throws and
    // leaves the list as it was.
    int32_t Data_Read(const std::string& vstrPath, const std::string& vstrFolderName = "****",
                      const std::string& vstrFileName = "");
    // Writes the whole list in the current version; throws when the file
    // cannot be written.
    int32_t Data_Write(const std::string& vstrPath, const std::string& vstrFolderName = "****",
                       const std::string& vstrFileName = "") const;
    // What Data_Write writes, for callers that write the file themselves.
    std::string FileBytes() const;

    int32_t Get_Data(int32_t key, FendralTbl& rec, uint8_t byPosition) const;
    int32_t Add_Data(FendralTbl& rec, uint8_t flag);
    void Edit_DataPosPos(int16_t vintPos1, int16_t vintPos2);
    int32_t Del_Data(int32_t vlngID, uint8_t vbytType = 0);
    int32_t Set_Data(int32_t key, const FendralTbl& rec, uint8_t byPosition);
    int32_t Set_DataFlag(int32_t id, uint8_t flag);
    bool CheckNameExist(const std::string& vstrName, int32_t vlngCheckID) const;
    int16_t OrderData(int32_t vlngIDCt, const std::vector<int32_t>& vlngID);
    int32_t GetCount() const { return static_cast<int32_t>(recs_.size()) - 1; }
    void Swap_DataByIndex(int32_t vlngIndex1, int32_t vlngIndex2);
    const std::string& prpReadVersion() const { return readVersion_; }

    // The highest ID given out or read so far.
    int32_t MaxID() const { return maxId_; }

    // The file a read or write with these arguments uses.
    static std::string ResolvePath(const std::string& vstrPath, const std::string& vstrFolderName,
                                   const std::string& vstrFileName);

    bool operator==(const clsFendral&) const = default;

private:
    std::size_t slot(long pos) const;
    long findId(int32_t id) const;  // position, or 0

    std::vector<FendralTbl> recs_{FendralTbl{}};  // 0..count, element 0 blank
    int32_t maxId_ = 0;
    std::string readVersion_;
};

// The program's list, record n for column n.
extern clsFendral gFendral;

// A double as the list file writes it: the shortest text that reads back to
// the same value, with an exponent like 1E-05 for very small or large values.
std::string FendralNumberText(double v);

}  // namespace model
