#pragma once

#include "catalogue/TReplacePatterns.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {

// What the replace dialog and the condition editor need from the window whose title they rewrite,
// and all they know of it: the main window implements it, and tests give the dialogs a small fake.
class ReplaceHost {
public:
    virtual ~ReplaceHost() = default;

    // The rules the dialogs list and edit, in the catalogue's codec.
    virtual ReplaceRuleList& ReplaceRules() = 0;
    virtual const TextCodec& Codec() const = 0;
    // Runs the rules over the current title; false when they changed nothing.
    virtual bool ApplyReplaceRules() = 0;
    // The dialog has closed: the keyboard focus goes back to the window's title field.
    virtual void ReturnFocus() = 0;
};

}  // namespace kanaroll
