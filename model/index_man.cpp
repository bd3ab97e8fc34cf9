#include "model/index_man.h"

#include "platform/text/vbarray.h"

#include <algorithm>
#include <utility>

namespace model {

void clsIndexMan_Str_Vendra::Clear()
{
    mCount = 0;
    mIndexMax = 0;
    mCapacity = 0;
    mUnsorted = false;
    mKeys.assign(1, std::string());
    mOrder.assign(1, 0);
}

clsIndexMan_Str_Vendra::Found clsIndexMan_Str_Vendra::FindKey(const std::string& key) const
{
    if (mCount == 0) return {0, 0};
    if (mUnsorted) {
        // Index_Max may have been set past the slots; never scan beyond them.
        const int32_t last = std::min(mIndexMax, mCapacity);
        for (int32_t slot = 1; slot <= last; ++slot) {
            if (mKeys[static_cast<std::size_t>(slot)] == key) return {mIndexMax, slot};
        }
        return {mIndexMax, mInvalidIndex};
    }
    int32_t lo = 1;
    int32_t hi = mCount;
    while (lo <= hi) {
        const int32_t mid = (lo + hi) / 2;
        const int32_t idx = mOrder[static_cast<std::size_t>(mid)];
        const int c = key.compare(mKeys[static_cast<std::size_t>(idx)]);
        if (c < 0) {
            hi = mid - 1;
        } else if (c > 0) {
            lo = mid + 1;
        } else {
            return {mid, idx};
        }
    }
    return {lo, mInvalidIndex};
}

void clsIndexMan_Str_Vendra::Grow(int32_t upper)
{
    mCapacity = upper;
    mKeys.resize(static_cast<std::size_t>(upper) + 1);
    mOrder.resize(static_cast<std::size_t>(upper) + 1);
}

void clsIndexMan_Str_Vendra::Register(const std::string& vstrKey, int32_t vlngIndex)
{
    Found found{0, 0};
    if (mAddSortFlag) {
        found = FindKey(vstrKey);
        if (found.index != 0) return;
    } else {
        mUnsorted = true;
    }
    if (vlngIndex == -1) {
        vlngIndex = mIndexMax + 1;
        mIndexMax = vlngIndex;
    } else if (vlngIndex > mIndexMax) {
        mIndexMax = vlngIndex;
    }
    if (vlngIndex < 0) vb::ThrowSubscript(vlngIndex, 0, mCapacity);
    // The order list needs one place per key, even when a caller reuses an
    // index: grow for either need instead of running off the list.
    if (vlngIndex > mCapacity || mCount + 1 > mCapacity) Grow(std::max(vlngIndex, mCount + 1) + 100);

    const int32_t oldCount = mCount;
    ++mCount;
    mKeys[static_cast<std::size_t>(vlngIndex)] = vstrKey;
    if (mAddSortFlag) {
        const int32_t pos = oldCount == 0 ? 1 : found.position;
        for (int32_t p = oldCount; p >= pos; --p) mOrder[static_cast<std::size_t>(p) + 1] = mOrder[static_cast<std::size_t>(p)];
        mOrder[static_cast<std::size_t>(pos)] = vlngIndex;
    } else {
        mOrder[static_cast<std::size_t>(mCount)] = vlngIndex;
    }
}

void clsIndexMan_Str_Vendra::UnRegister(const std::string& vstrKey)
{
    const Found found = FindKey(vstrKey);
    if (found.index == mInvalidIndex) return;
    mKeys[static_cast<std::size_t>(found.index)].clear();
    // Remove the entry that holds the key's index: in unsorted mode the
    // search does not report the key's place in the list.
    auto first = mOrder.begin() + 1;
    auto last = mOrder.begin() + mCount + 1;
    auto it = std::find(first, last, found.index);
    if (it != last) {
        std::move(it + 1, last, it);
        *(last - 1) = 0;
    }
    --mCount;
}

int32_t clsIndexMan_Str_Vendra::GetIndex(const std::string& vstrKey) const
{
    return FindKey(vstrKey).index;
}

void clsIndexMan_Str_Vendra::setAddSortFlag(bool vNewValue)
{
    mAddSortFlag = vNewValue;
    if (vNewValue && mUnsorted) Sort();
}

void clsIndexMan_Str_Vendra::Sort()
{
    if (!mUnsorted) return;
    auto key = [this](int32_t pos) -> const std::string& {
        return mKeys[static_cast<std::size_t>(mOrder[static_cast<std::size_t>(pos)])];
    };
    for (int32_t gap = mCount / 2; gap >= 1; gap /= 2) {
        for (int32_t i = 1; i <= mCount - gap; ++i) {
            for (int32_t j = i; j >= 1 && key(j) > key(j + gap); j -= gap) {
                std::swap(mOrder[static_cast<std::size_t>(j)], mOrder[static_cast<std::size_t>(j + gap)]);
            }
        }
    }
    mUnsorted = false;
}

}  // namespace model
