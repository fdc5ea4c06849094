#pragma once

#include <windows.h>

#include <vector>

namespace kanaroll {

enum Anchor : unsigned { kAnchorLeft = 1, kAnchorTop = 2, kAnchorRight = 4, kAnchorBottom = 8 };

// Keeps child controls where the layout of their parent at its design size put them: an edge that
// is anchored keeps its distance to the same edge of the parent, so a control anchored left and
// right stretches and one anchored top and right moves with the right edge.
class AnchorLayout {
public:
    explicit AnchorLayout(SIZE designSize) : m_designSize(designSize) {}

    void Add(HWND control, RECT designBounds, unsigned anchors);
    // Forgets every control and takes another design size, for a layout made again at another dpi.
    void Reset(SIZE designSize);
    // Places every control for the parent's current client size.
    void Apply(SIZE parentSize) const;

private:
    struct Entry {
        HWND control;
        RECT design;
        unsigned anchors;
    };
    SIZE m_designSize;
    std::vector<Entry> m_entries;
};

}  // namespace kanaroll
