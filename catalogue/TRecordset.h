#pragma once

#include <cstdint>
#include <string>

namespace kanaroll {

// One game of the catalogue, built from one block of listinfo.txt. Texts are bytes in the
// catalogue's codec (Shift-JIS unless the name list was UTF-8), empty when unset.
struct TRecordset {
    std::string zipName;
    std::string englishName;
    std::string japaneseName;
    std::string reading;
    std::string manufacturer;
    std::string year = "????";
    bool isMaster = true;
    std::string parentName;
    bool translated = false;
    bool isNeoGeo = false;
    bool isVector = false;
    std::string controlType;
    bool hasSamples = false;
    bool statusGood = false;
    std::int32_t soundChannels = 0;
    std::int32_t listOrder = 0;
    std::string cpuText;
    std::string soundText;
    std::int32_t paletteSize = 0;
    std::string videoText;

    // The ZIP name of the master whose family the game belongs to.
    const std::string& FamilyKey() const { return isMaster ? zipName : parentName; }
};

}  // namespace kanaroll
