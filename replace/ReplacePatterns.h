#pragma once

#include "catalogue/TReplacePatterns.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {

// The eight rules in force when the settings hold none, in the codec of the catalogue.
ReplaceRuleList DefaultReplaceRules(const TextCodec& codec = ShiftJisCodec());

}  // namespace kanaroll
