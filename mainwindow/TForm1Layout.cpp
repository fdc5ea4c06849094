#include <algorithm>
#include <iterator>

#include "mainwindow/ControlIds.h"
#include "mainwindow/Resources.h"
#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "platform/Dpi.h"
#include "platform/Fonts.h"
#include "platform/FormSupport.h"

namespace kanaroll {

using forms::Bounds;
using forms::CreateChild;

namespace {

// Sizes at 96 dpi; the layout scales them by the window's dpi.
constexpr int kSplitterHeight = 6;
constexpr int kMinimumListHeight = 80;  // the splitter's minimum on the list's side
constexpr int kMinimumListWidth = 800;
constexpr int kMinimumPanelHeight = 150;
constexpr SIZE kPanelDesignSize{942, 285};
constexpr int kIconSize = 16;
constexpr int kStatusBarHeight = 21;  // before the bar has measured its font
constexpr int kStatusPanelWidths[] = {200, 150, 150};

// A right-aligned label sizes itself to its text and keeps its right edge, as the designer's labels
// do, so that its text shows whole in whatever face the platform puts in for the font.
RECT LabelBounds(HFONT font, const wchar_t* text, RECT designBounds) {
    WindowDc dc(nullptr);
    SelectedObject selected(dc.Get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    const LONG width = designBounds.right - designBounds.left;
    const LONG height = designBounds.bottom - designBounds.top;
    return {designBounds.right - std::max<LONG>(width, extent.cx), designBounds.top, designBounds.right,
            designBounds.top + std::max<LONG>(height, metrics.tmHeight)};
}

// A control of a container at its design position, anchored.
void Place(ContainerWindow& parent, HWND control, RECT bounds, unsigned anchors) {
    parent.Layout().Add(control, bounds, anchors);
    SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE SizeOf(RECT bounds) {
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

constexpr struct {
    const wchar_t* caption;
    int width;
} kGameColumns[] = {{L"ZIP名", 80},  {L"英語名", 230}, {L"日本語名", 300}, {L"メーカー", 140},
                    {L"製造年", 60}, {L"マスタ", 70},  {L"訳", 40}};

void AddGameColumns(HWND list, DpiScale scale) {
    int index = 0;
    for (const auto& column : kGameColumns)
        listview::AddColumn(list, index++, column.caption, scale(column.width));
}

// Columns keep the width the user gave them, at the new dpi.
void RescaleColumns(HWND list, int count, DpiScale from, DpiScale to) {
    for (int column = 0; column < count; ++column)
        listview::SetColumnWidth(list, column, to.From(listview::ColumnWidth(list, column), from.Dpi()));
}

constexpr DWORD kListExtendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;

}  // namespace

void TForm1::CreateControls() {
    m_scale = dpi::OfWindow(Handle());

    // The game list: rows supplied on demand, disabled until the catalogue is loaded.
    m_ui.ListView1 = CreateChild(Handle(), WC_LISTVIEWW, L"",
                                 WS_TABSTOP | WS_DISABLED | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                     LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                                 ids::kListView1, {}, WS_EX_CLIENTEDGE);
    listview::SetExtendedStyle(m_ui.ListView1, kListExtendedStyle);
    AddGameColumns(m_ui.ListView1, m_scale);
    if (HWND header = listview::Header(m_ui.ListView1)) {
        SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) | HDS_FULLDRAG);
    }

    m_splitter = std::make_unique<Splitter>(
        Handle(), ids::kSplitter1, [this](int height) { OnSplitterMoved(height); },
        [this] {
            RECT client{};
            GetClientRect(Handle(), &client);
            RECT bar = window::BoundsInParent(m_ui.StatusBar1);
            const int available = client.bottom - (bar.bottom - bar.top) - m_scale(kSplitterHeight);
            return std::pair{m_scale(kMinimumPanelHeight), available - m_scale(kMinimumListHeight)};
        });
    m_ui.Splitter1 = m_splitter->Handle();

    CreateLowerPane();

    m_ui.StatusBar1 = CreateChild(Handle(), STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, ids::kStatusBar1, {});

    CreatePopupMenu1();

    m_panelHeight = m_scale(kPanelDesignSize.cy);
    ApplyScale();
}

void TForm1::CreateLowerPane() {
    m_panel2 = std::make_unique<ContainerWindow>(Handle(), RECT{}, ContainerWindow::Frame::None, SIZE{});
    m_ui.Panel2 = m_panel2->Handle();

    // Created in tab order: the detail frame, the family list, the format choice, the output
    // button, the hardware frame. ApplyScale places them.
    m_groupBox1 =
        std::make_unique<ContainerWindow>(m_ui.Panel2, RECT{}, ContainerWindow::Frame::Group, SIZE{});
    m_ui.GroupBox1 = m_groupBox1->Handle();
    const HWND group1 = m_ui.GroupBox1;
    const auto addLabel = [](HWND parent, const wchar_t* text, int id) {
        CreateChild(parent, L"STATIC", text, SS_RIGHT | SS_NOPREFIX, id, {});
    };
    addLabel(group1, L"英語名:", ids::kLabelEnglish);
    addLabel(group1, L"日本語名:", ids::kLabelJapanese);
    m_ui.Edit1 = CreateChild(group1, WC_EDITW, L"", WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL, ids::kEdit1,
                             {}, WS_EX_CLIENTEDGE);
    addLabel(group1, L"よみがな:", ids::kLabelReading);
    m_ui.Edit2 = CreateChild(group1, WC_EDITW, L"", WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL, ids::kEdit2,
                             {}, WS_EX_CLIENTEDGE);
    m_ui.Edit3 =
        CreateChild(group1, WC_EDITW, L"", WS_DISABLED | ES_READONLY | ES_AUTOHSCROLL, ids::kEdit3, {});
    addLabel(group1, L"候補:", ids::kLabelProposal);
    m_ui.TitleProposal =
        CreateChild(group1, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, ids::kTitleProposal, {});
    m_ui.Button3 = CreateChild(group1, WC_BUTTONW, L"置換(&R)...", WS_DISABLED, ids::kButton3, {});
    m_ui.Button1 = CreateChild(group1, WC_BUTTONW, L"リセット", WS_DISABLED, ids::kButton1, {});
    m_ui.Button2 = CreateChild(group1, WC_BUTTONW, L"元に戻す", WS_DISABLED, ids::kButton2, {});

    m_ui.ListView2 = CreateChild(m_ui.Panel2, WC_LISTVIEWW, L"",
                                 WS_TABSTOP | WS_DISABLED | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                     LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS,
                                 ids::kListView2, {}, WS_EX_CLIENTEDGE);
    listview::SetExtendedStyle(m_ui.ListView2, kListExtendedStyle);
    AddGameColumns(m_ui.ListView2, m_scale);

    m_ui.RadioButton1 =
        CreateChild(m_ui.Panel2, WC_BUTTONW, L"Mame32J形式",
                    WS_TABSTOP | WS_GROUP | WS_DISABLED | BS_AUTORADIOBUTTON, ids::kRadioButton1, {});
    m_ui.RadioButton2 = CreateChild(m_ui.Panel2, WC_BUTTONW, L"MANE32J形式", WS_DISABLED | BS_AUTORADIOBUTTON,
                                    ids::kRadioButton2, {});
    m_ui.RadioButton3 = CreateChild(m_ui.Panel2, WC_BUTTONW, L"MAME UI", WS_DISABLED | BS_AUTORADIOBUTTON,
                                    ids::kRadioButton3, {});
    button::SetChecked(m_ui.RadioButton1, true);
    m_ui.BitBtn1 = CreateChild(m_ui.Panel2, WC_BUTTONW, L"出力(&S)...", WS_TABSTOP | WS_GROUP | WS_DISABLED,
                               ids::kBitBtn1, {});

    m_groupBox2 =
        std::make_unique<ContainerWindow>(m_ui.Panel2, RECT{}, ContainerWindow::Frame::Group, SIZE{});
    m_ui.GroupBox2 = m_groupBox2->Handle();
    const HWND group2 = m_ui.GroupBox2;
    const DWORD memo = ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL;
    addLabel(group2, L"CPU:", ids::kLabelCpu);
    m_ui.Memo1 = CreateChild(group2, WC_EDITW, L"", memo, ids::kMemo1, {});
    addLabel(group2, L"Sound:", ids::kLabelSound);
    m_ui.Memo2 = CreateChild(group2, WC_EDITW, L"", memo, ids::kMemo2, {});
    addLabel(group2, L"Video:", ids::kLabelVideo);
    m_ui.Edit4 = CreateChild(group2, WC_EDITW, L"", ES_READONLY | ES_AUTOHSCROLL, ids::kEdit4, {});
}

// Everything whose size depends on the dpi: the fonts, the icons, the columns, the status panels
// and the places of the lower pane's controls. Run at creation and whenever the dpi changes;
// `previous` is the dpi the columns were sized for.
void TForm1::ApplyScale(std::optional<DpiScale> previous) {
    UniqueFont font = CreateUiFont(m_scale);
    UniqueFont boldFont = CreateUiFont(m_scale, true);
    ApplyFont(Handle(), font.Get());
    ApplyFont(m_ui.Edit3, boldFont.Get(), false);
    m_groupBox1->SetTitleFont(boldFont.Get());
    m_font = std::move(font);  // the old fonts go once no control uses them
    m_boldFont = std::move(boldFont);

    LoadIcons();
    if (previous) {
        RescaleColumns(m_ui.ListView1, static_cast<int>(std::size(kGameColumns)), *previous, m_scale);
        RescaleColumns(m_ui.ListView2, static_cast<int>(std::size(kGameColumns)), *previous, m_scale);
    }
    statusbar::SetParts(m_ui.StatusBar1, {m_scale(kStatusPanelWidths[0]), m_scale(kStatusPanelWidths[1]),
                                          m_scale(kStatusPanelWidths[2]), -1});
    PlaceLowerPane();
    LayoutClient();
    // A container whose size did not change heard no WM_SIZE: it takes its new layout here.
    for (ContainerWindow* container : {m_panel2.get(), m_groupBox1.get(), m_groupBox2.get()})
        container->Relayout();
}

// The row icons and the output button's picture, drawn for the dpi: the icon resources hold each
// size, and the one that fits is taken rather than a small one stretched.
void TForm1::LoadIcons() {
    const int size = m_scale(kIconSize);
    const auto load = [size](const wchar_t* name) {
        return UniqueIcon(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, 0)));
    };
    UniqueImageList images(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 0));
    std::vector<UniqueIcon> icons;
    for (const wchar_t* name : {KANAROLL_ICON_MASTER, KANAROLL_ICON_CLONE}) {
        icons.push_back(load(name));
        ImageList_AddIcon(images.Get(), icons.back().Get());
    }
    icons.push_back(load(KANAROLL_ICON_SAVE));
    listview::SetSmallImages(m_ui.ListView1, images.Get());
    listview::SetSmallImages(m_ui.ListView2, images.Get());
    button::SetIcon(m_ui.BitBtn1, icons.back().Get());
    m_imageList = std::move(images);
    m_icons = std::move(icons);
}

// The lower pane at its design size, 942 x 285 at 96 dpi; the anchors keep each control's distance
// to the edges it is anchored to as the pane grows.
void TForm1::PlaceLowerPane() {
    constexpr RECT kGroupBox1{3, 1, 3 + 572, 1 + 118};
    constexpr RECT kGroupBox2{580, 1, 580 + 358, 1 + 88};
    const auto scaled = [this](int left, int top, int width, int height) {
        return dpi::Scale(m_scale, Bounds(left, top, width, height));
    };
    const RECT groupBox1 = dpi::Scale(m_scale, kGroupBox1);
    const RECT groupBox2 = dpi::Scale(m_scale, kGroupBox2);
    m_panel2->Rescale(dpi::Scale(m_scale, kPanelDesignSize), m_scale);
    m_groupBox1->Rescale(SizeOf(groupBox1), m_scale);
    m_groupBox2->Rescale(SizeOf(groupBox2), m_scale);
    ContainerWindow& panel = *m_panel2;
    ContainerWindow& details = *m_groupBox1;
    ContainerWindow& hardware = *m_groupBox2;
    const auto placeLabel = [this, &scaled](ContainerWindow& parent, int id, RECT design) {
        const HWND label = GetDlgItem(parent.Handle(), id);
        Place(parent, label, LabelBounds(m_font.Get(), window::Text(label).c_str(), design),
              kAnchorLeft | kAnchorTop);
    };
    constexpr unsigned kLeftTopRight = kAnchorLeft | kAnchorTop | kAnchorRight;
    constexpr unsigned kTopRight = kAnchorTop | kAnchorRight;
    constexpr unsigned kLeftTop = kAnchorLeft | kAnchorTop;

    Place(panel, m_ui.GroupBox1, groupBox1, kLeftTopRight);
    placeLabel(details, ids::kLabelEnglish, scaled(21, 20, 38, 12));
    placeLabel(details, ids::kLabelJapanese, scaled(4, 43, 55, 12));
    Place(details, m_ui.Edit1, scaled(61, 38, 503, 20), kLeftTopRight);
    placeLabel(details, ids::kLabelReading, scaled(4, 67, 55, 12));
    Place(details, m_ui.Edit2, scaled(61, 64, 503, 20), kLeftTopRight);
    Place(details, m_ui.Edit3, scaled(61, 19, 501, 17), kLeftTopRight);
    // The proposed title, below the reading field and left of the buttons.
    placeLabel(details, ids::kLabelProposal, scaled(4, 95, 55, 12));
    Place(details, m_ui.TitleProposal, scaled(61, 94, 304, 14), kLeftTopRight);
    Place(details, m_ui.Button3, scaled(371, 89, 62, 22), kTopRight);
    Place(details, m_ui.Button1, scaled(436, 89, 62, 22), kTopRight);
    Place(details, m_ui.Button2, scaled(500, 89, 63, 22), kTopRight);

    Place(panel, m_ui.ListView2, scaled(0, 126, 942, 158), kLeftTopRight | kAnchorBottom);
    // Three formats share the row below the hardware frame with the output button, which keeps to
    // the frame's right edge.
    Place(panel, m_ui.RadioButton1, scaled(580, 99, 96, 17), kTopRight);
    Place(panel, m_ui.RadioButton2, scaled(677, 98, 96, 17), kTopRight);
    Place(panel, m_ui.RadioButton3, scaled(774, 98, 70, 17), kTopRight);
    Place(panel, m_ui.BitBtn1, scaled(846, 94, 88, 25), kTopRight);

    Place(panel, m_ui.GroupBox2, groupBox2, kTopRight);
    placeLabel(hardware, ids::kLabelCpu, scaled(16, 13, 25, 12));
    Place(hardware, m_ui.Memo1, scaled(45, 13, 308, 27), kLeftTop);
    placeLabel(hardware, ids::kLabelSound, scaled(8, 39, 33, 12));
    Place(hardware, m_ui.Memo2, scaled(45, 39, 308, 27), kLeftTop);
    placeLabel(hardware, ids::kLabelVideo, scaled(10, 67, 31, 12));
    Place(hardware, m_ui.Edit4, scaled(44, 67, 304, 12), kLeftTopRight);
}

// WM_DPICHANGED: the window moved to a monitor of another density. Everything is laid out again
// for it, the pane keeps its share of the height, and the window takes the bounds Windows
// suggests, which keep its size in the user's eyes.
void TForm1::OnDpiChanged(const dpi::Change& change) {
    const DpiScale previous = m_scale;
    m_scale = change.scale;
    m_panelHeight = m_scale.From(m_panelHeight, previous.Dpi());
    ApplyScale(previous);
    const RECT& bounds = change.suggested;
    SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutClient();
}

void TForm1::CreatePopupMenu1() {
    m_popupMenu.Reset(CreatePopupMenu());
    m_ui.PopupMenu1 = m_popupMenu.Get();
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kPopExecute, L"起動\tF5");
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kMAME1, L"MAME実行ファイルの指定(&B)...");
    AppendMenuW(m_ui.PopupMenu1, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kN1, L"ゲーム名を置換\tF3");
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kN3, L"クイックセーブ(&Q)\tCtrl+S");
    AppendMenuW(m_ui.PopupMenu1, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kTakeProposal, L"候補を採用(&P)\tF4");
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kNextUntranslated, L"次の未翻訳ゲーム(&N)\tF8");
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kPreviousUntranslated, L"前の未翻訳ゲーム\tShift+F8");
    AppendMenuW(m_ui.PopupMenu1, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m_ui.PopupMenu1, MF_STRING | MF_GRAYED, ids::kRemakeCatalogue,
                L"MAMEでlistinfo.txtを作り直す(&L)...");
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kAbout, L"バージョン情報(&A)...");
}

void TForm1::LayoutClient() {
    if (!m_ui.StatusBar1) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    statusbar::FitToParent(m_ui.StatusBar1);
    const RECT bar = window::BoundsInParent(m_ui.StatusBar1);
    const int available = client.bottom - (bar.bottom - bar.top);
    const int splitterHeight = m_scale(kSplitterHeight);
    const int minimumPanelHeight = m_scale(kMinimumPanelHeight);
    const int panelHeight =
        std::clamp(m_panelHeight, minimumPanelHeight,
                   std::max(minimumPanelHeight, available - splitterHeight - m_scale(kMinimumListHeight)));
    const int listHeight = std::max(0, available - splitterHeight - panelHeight);
    const int width = client.right;
    MoveWindow(m_ui.ListView1, 0, 0, width, listHeight, TRUE);
    MoveWindow(m_ui.Splitter1, 0, listHeight, width, splitterHeight, TRUE);
    MoveWindow(m_ui.Panel2, 0, listHeight + splitterHeight, width, panelHeight, TRUE);
    m_splitter->SetLowerHeight(panelHeight);
}

void TForm1::OnSplitterMoved(int panelHeight) {
    m_panelHeight = panelHeight;
    LayoutClient();
}

void TForm1::MinimumTrackSize(MINMAXINFO& info) const {
    int barHeight = m_scale(kStatusBarHeight);
    if (m_ui.StatusBar1) {
        const RECT bar = window::BoundsInParent(m_ui.StatusBar1);
        barHeight = bar.bottom - bar.top;
    }
    const SIZE minimum = dpi::OuterSizeForClient(
        {m_scale(kMinimumListWidth),
         m_scale(kMinimumListHeight) + m_scale(kSplitterHeight) + m_scale(kMinimumPanelHeight) + barHeight},
        static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)),
        static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)), m_scale);
    info.ptMinTrackSize = {minimum.cx, minimum.cy};
}

}  // namespace kanaroll
