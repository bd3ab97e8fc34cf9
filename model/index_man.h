// Text keys mapped to integer indexes, with a key list kept sorted on
// request. Keys compare by character code, with case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace model {

class clsIndexMan_Str_Vendra {
public:
    void Clear();
    // vlngIndex -1 numbers the key after the highest index ever used.
    void Register(const std::string& vstrKey, int32_t vlngIndex = -1);
    void UnRegister(const std::string& vstrKey);
    int32_t InvalidIndex() const { return mInvalidIndex; }
    int32_t GetIndex(const std::string& vstrKey) const;
    int32_t Index_Max() const { return mIndexMax; }
    void setIndex_Max(int32_t vNewValue) { mIndexMax = vNewValue; }
    bool AddSortFlag() const { return mAddSortFlag; }
    void setAddSortFlag(bool vNewValue);
    void Sort();

    // Upper bound of the key slots and the order list (for inspection).
    int32_t capacity() const { return mCapacity; }

private:
    struct Found {
        int32_t position;
        int32_t index;
    };
    Found FindKey(const std::string& key) const;
    void Grow(int32_t upper);

    int32_t mCapacity = 0;
    bool mUnsorted = false;
    std::vector<std::string> mKeys{std::string()};
    int32_t mCount = 0;
    std::vector<int32_t> mOrder{0};
    int32_t mInvalidIndex = 0;
    int32_t mIndexMax = 0;
    bool mAddSortFlag = true;
};

}  // namespace model
