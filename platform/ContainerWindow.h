#pragma once

#include <string>

#include "platform/AnchorLayout.h"
#include "platform/DpiScale.h"
#include "platform/Window.h"

namespace kanaroll {

// A child window that holds controls: a plain panel, or a group frame with an optional title. It
// keeps its children anchored and hands their notifications to its parent, so the form that owns
// the controls hears them wherever they stand.
class ContainerWindow : public Window {
public:
    enum class Frame { None, Group };

    ContainerWindow(HWND parent, RECT bounds, Frame frame, SIZE designSize);

    AnchorLayout& Layout() { return m_layout; }
    // Starts the layout over for another design size, that of the container at a dpi, which the
    // frame's title is drawn for too.
    void Rescale(SIZE designSize, DpiScale scale);
    // Places the controls for the container's present size.
    void Relayout();
    void SetTitle(std::wstring_view title, HFONT font);
    // The same title in another font (the old one may then go).
    void SetTitleFont(HFONT font);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(NMHDR& header) override;

private:
    void Paint();

    Frame m_frame;
    AnchorLayout m_layout;
    DpiScale m_scale;
    std::wstring m_title;
    HFONT m_titleFont = nullptr;
};

}  // namespace kanaroll
