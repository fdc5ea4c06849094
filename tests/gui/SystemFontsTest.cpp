// Japanese in the fonts the system draws its own parts with: the popup menu, the message boxes
// (the closing question, every error), title bars and the common dialogs, besides the program's own
// font. Where a font lacks Japanese and nothing lends it the characters, each of them comes out as
// the same box, or as nothing.
#include <windows.h>

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "platform/Fonts.h"
#include "platform/Handles.h"

namespace kanaroll {
namespace {

constexpr int kSize = 48;

// The pixels of one character drawn black on white in `font`.
std::vector<DWORD> Drawn(HFONT font, wchar_t character) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    const UniqueBitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return {};
    const SelectedObject selectedBitmap(dc.Get(), bitmap.Get());
    const SelectedObject selectedFont(dc.Get(), font);
    SetTextColor(dc.Get(), RGB(0, 0, 0));
    SetBkColor(dc.Get(), RGB(255, 255, 255));
    const RECT all{0, 0, kSize, kSize};
    ExtTextOutW(dc.Get(), 4, 4, ETO_OPAQUE, &all, &character, 1, nullptr);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    return {pixels, pixels + kSize * kSize};
}

bool Blank(const std::vector<DWORD>& pixels) {
    for (const DWORD pixel : pixels)
        if ((pixel & 0xFFFFFF) != 0xFFFFFF) return false;
    return true;
}

// Kana and kanji of the program's texts ("確認", "ゲーム名を置換", "ファイル"): each must draw, and
// each differently from the others.
void ExpectJapaneseDraws(const LOGFONTW& face, const std::wstring& use) {
    SCOPED_TRACE(use);
    const UniqueFont font(CreateFontIndirectW(&face));
    ASSERT_TRUE(font);
    const std::wstring characters = L"確認ゲ置ファ";
    std::vector<std::vector<DWORD>> drawn;
    for (const wchar_t character : characters) {
        drawn.push_back(Drawn(font.Get(), character));
        ASSERT_FALSE(drawn.back().empty());
        EXPECT_FALSE(Blank(drawn.back())) << static_cast<int>(character);
    }
    const std::set<std::vector<DWORD>> different(drawn.begin(), drawn.end());
    EXPECT_EQ(different.size(), drawn.size()) << "characters that draw the same: they are boxes";
}

LOGFONTW Face(const wchar_t* name, int height) {
    LOGFONTW face{};
    face.lfHeight = height;
    face.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(face.lfFaceName, name, LF_FACESIZE - 1);
    return face;
}

TEST(SystemFonts, MenusMessageBoxesTitleBarsAndDialogsDrawJapanese) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    ExpectJapaneseDraws(metrics.lfMenuFont, L"menus");
    ExpectJapaneseDraws(metrics.lfMessageFont, L"message boxes");
    ExpectJapaneseDraws(metrics.lfCaptionFont, L"title bars");
    ExpectJapaneseDraws(metrics.lfStatusFont, L"tooltips and status texts");
    // The faces dialog templates name, the common dialogs' among them.
    ExpectJapaneseDraws(Face(L"MS Shell Dlg", -11), L"MS Shell Dlg");
    ExpectJapaneseDraws(Face(L"MS Shell Dlg 2", -11), L"MS Shell Dlg 2");
    ExpectJapaneseDraws(Face(L"Tahoma", -11), L"Tahoma");
}

TEST(SystemFonts, TheProgramsOwnFontDrawsJapanese) {
    const UniqueFont font = CreateUiFont(DpiScale{});
    LOGFONTW face{};
    ASSERT_NE(GetObjectW(font.Get(), sizeof face, &face), 0);
    ExpectJapaneseDraws(face, L"the program's font");
}

}  // namespace
}  // namespace kanaroll
