#pragma once

#include <vector>

#include "bench/gui/GuiBench.h"

namespace kanaroll::bench::gui {

// The recovery journal's cases (JournalCases.cpp), after the keystroke and Enter cases.
void AddJournalCases(std::vector<GuiCase>& cases);

}  // namespace kanaroll::bench::gui
