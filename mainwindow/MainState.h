#pragma once

#include <filesystem>
#include <string>

#include "mainwindow/GameOrder.h"
#include "replace/ReplacePatterns.h"

namespace kanaroll {

// The main window's state, held for the whole run.
struct MainState {
    std::filesystem::path exeDir;  // the program's folder: listinfo.txt, the name list, kanaroll.ini
    std::string mamePath;          // the MAME executable (Shift-JIS, as kanaroll.ini keeps it), or empty
    ReplaceRuleList replaceRules;
    int currentIndex = -1;  // the game in the detail panel, -1 when none
    std::string familyKey;  // ZIP name of the master whose family the family list shows
    int translatedCount = 0;
    bool modified = false;  // edits not yet written to a name list
    SortState sort;         // sortKey, sortColumn, sortAscending
    bool fillingDetails = false;
    bool syncingSelection = false;
    std::string undoJapaneseName;
    std::string undoReading;
};

}  // namespace kanaroll
