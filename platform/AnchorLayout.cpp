#include "platform/AnchorLayout.h"

namespace kanaroll {

void AnchorLayout::Add(HWND control, RECT designBounds, unsigned anchors) {
    m_entries.push_back({control, designBounds, anchors});
}

void AnchorLayout::Reset(SIZE designSize) {
    m_designSize = designSize;
    m_entries.clear();
}

namespace {
// One axis: the new start and end of a control for a parent that grew by `delta`.
void Place(LONG designStart, LONG designEnd, bool anchoredStart, bool anchoredEnd, LONG delta, LONG& start,
           LONG& end) {
    start = designStart;
    end = designEnd;
    if (anchoredEnd && anchoredStart) {
        end += delta;
    } else if (anchoredEnd) {
        start += delta;
        end += delta;
    } else if (!anchoredStart) {
        start += delta / 2;  // anchored to neither edge: keeps its place in the middle
        end += delta / 2;
    }
    if (end < start) end = start;
}
}  // namespace

void AnchorLayout::Apply(SIZE parentSize) const {
    const LONG dx = parentSize.cx - m_designSize.cx;
    const LONG dy = parentSize.cy - m_designSize.cy;
    HDWP batch = BeginDeferWindowPos(static_cast<int>(m_entries.size()));
    for (const auto& entry : m_entries) {
        RECT bounds{};
        Place(entry.design.left, entry.design.right, entry.anchors & kAnchorLeft,
              entry.anchors & kAnchorRight, dx, bounds.left, bounds.right);
        Place(entry.design.top, entry.design.bottom, entry.anchors & kAnchorTop,
              entry.anchors & kAnchorBottom, dy, bounds.top, bounds.bottom);
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (batch) {
            batch = DeferWindowPos(batch, entry.control, nullptr, bounds.left, bounds.top,
                                   bounds.right - bounds.left, bounds.bottom - bounds.top, flags);
        } else {
            SetWindowPos(entry.control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top, flags);
        }
    }
    if (batch) EndDeferWindowPos(batch);
}

}  // namespace kanaroll
