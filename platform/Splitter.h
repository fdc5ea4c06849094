#pragma once

#include <functional>

#include "platform/Window.h"

namespace kanaroll {

// A horizontal bar between an upper and a lower control that the user drags to share the height.
// The owner says how tall the lower control may be; the bar reports the new height while dragging.
class Splitter : public Window {
public:
    using Moved = std::function<void(int lowerHeight)>;
    using Limits = std::function<std::pair<int, int>()>;  // lowest and highest lower height

    Splitter(HWND parent, int id, Moved moved, Limits limits);

    // The height of the lower control at the start of a drag.
    void SetLowerHeight(int height) { m_lowerHeight = height; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Moved m_moved;
    Limits m_limits;
    int m_lowerHeight = 0;
    int m_dragStartY = 0;
    int m_dragStartHeight = 0;
    bool m_dragging = false;
};

}  // namespace kanaroll
