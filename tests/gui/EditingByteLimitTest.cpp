// The 255-byte limit of the title and reading fields: typed, pasted and IME text, counted in
// Shift-JIS bytes, and characters that Shift-JIS cannot hold.
#include <windows.h>

#include <imm.h>

#include "tests/gui/DetailsFixture.h"

namespace kanaroll::testing {
namespace {

class EditingByteLimitTest : public DetailsTest {
protected:
    void SetUp() override {
        StartFamilies("pacmanf\tパックマン\t" + Repeat("あ", 200) + "\t\r\n");
        ClickRow(Ui().ListView1, Row("pacman"));
    }

    static std::string Repeat(std::string_view utf8, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += utf8;
        return text;
    }

    static void SetClipboard(std::wstring_view text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        auto* chars = static_cast<wchar_t*>(GlobalLock(memory));
        text.copy(chars, text.size());
        chars[text.size()] = L'\0';
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
    void PressCtrlV() {
        HeldModifiers control({VK_CONTROL});
        PressKey('V');
    }
    void PressShiftInsert() {
        HeldModifiers shift({VK_SHIFT});
        PressKey(VK_INSERT);
    }
    void SelectLeft(int characters) {
        HeldModifiers shift({VK_SHIFT});
        for (int i = 0; i < characters; ++i) PressKey(VK_LEFT);
    }
    // Empties the focused field as a person would: everything selected, then Backspace.
    void ClearField() {
        PressKey(VK_END);
        SelectLeft(static_cast<int>(Text(GetFocus()).size()));
        PressKey(VK_BACK);
    }
    const std::string& Reading() const { return Game("pacman").reading; }
};

TEST_F(EditingByteLimitTest, TypingStopsAt255ShiftJisBytes) {
    Focus(Ui().Edit2);
    Type(std::wstring(127, L'あ'));  // two bytes each: 254
    Type(L"い");                     // 256 would not fit
    EXPECT_EQ(Text(Ui().Edit2), std::wstring(127, L'あ'));
    Type(L"ｱ");  // half-width kana: one byte
    Type(L"a");
    EXPECT_EQ(Reading(), Sjis(Repeat("あ", 127) + "ｱ"));
    EXPECT_EQ(Reading().size(), 255u);

    // Over a selection only what stays counts: "あｱ" (three bytes) makes room for "い".
    SelectLeft(2);
    Type(L"い");
    EXPECT_EQ(Reading(), Sjis(Repeat("あ", 126) + "い"));

    // The title field has the same limit.
    Focus(Ui().Edit1);
    Type(std::wstring(254, L'a'));
    Type(L"ア");
    Type(L"b");
    EXPECT_EQ(Game("pacman").japaneseName, std::string(254, 'a') + "b");
}

TEST_F(EditingByteLimitTest, CharactersShiftJisCannotHoldAreRefused) {
    Focus(Ui().Edit2);
    Type(L"é〜¥\U0001F600");  // no best fit: the wave dash is not the full-width tilde
    EXPECT_EQ(Text(Ui().Edit2), L"");
    EXPECT_FALSE(Game("pacman").translated);
    Type(L"～①ｶﾅ漢");
    EXPECT_EQ(Text(Ui().Edit2), L"～①ｶﾅ漢");
    EXPECT_EQ(Reading(), "\x81\x60\x87\x40\xB6\xC5\x8A\xBF");
}

TEST_F(EditingByteLimitTest, PastedTextLosesItsLineBreaksAndTabsAndIsCutToFit) {
    Focus(Ui().Edit2);
    SetClipboard(L"たいとる\tよみ\r\nつぎ\né\r\n");
    PressCtrlV();
    EXPECT_EQ(Text(Ui().Edit2), L"たいとる よみ つぎ ");
    EXPECT_EQ(Reading(), Sjis("たいとる よみ つぎ "));

    // Other control characters go: a Ctrl-Z would end the game's line when the list is read again.
    ClearField();
    SetClipboard(L"よみ\x1Aがな\x01");
    PressCtrlV();
    EXPECT_EQ(Reading(), Sjis("よみがな"));

    // Cut on a character boundary: with 253 bytes used, "ｱ" fits and "い" after it does not.
    ClearField();
    SetClipboard(std::wstring(126, L'あ') + L"a");
    PressShiftInsert();
    ASSERT_EQ(Reading().size(), 253u);
    SetClipboard(L"ｱいう");
    PressCtrlV();
    EXPECT_EQ(Reading(), Sjis(Repeat("あ", 126) + "aｱ"));

    // A long paste into an empty field stops at the last whole character that fits.
    ClearField();
    SetClipboard(std::wstring(200, L'あ'));
    PressCtrlV();
    EXPECT_EQ(Text(Ui().Edit2), std::wstring(127, L'あ'));
}

TEST_F(EditingByteLimitTest, TextsSetByTheProgramAreNotLimited) {
    ClickRow(Ui().ListView1, Row("pacmanf"));
    EXPECT_EQ(Text(Ui().Edit2), std::wstring(200, L'あ'));
    Focus(Ui().Edit2);
    PressKey(VK_END);
    Type(L"い");
    EXPECT_EQ(Game("pacmanf").reading, Sjis(Repeat("あ", 200)));
    PressKey(VK_BACK);
    EXPECT_EQ(Game("pacmanf").reading, Sjis(Repeat("あ", 199)));
    // Reset and undo are the program's texts as well.
    ClickButton(Ui().Button2);
    EXPECT_EQ(Game("pacmanf").reading, Sjis(Repeat("あ", 200)));
}

TEST_F(EditingByteLimitTest, AnImeResultIsCutToFit) {
    Focus(Ui().Edit2);
    Type(std::wstring(126, L'あ'));  // 252 bytes
    HIMC context = ImmGetContext(Ui().Edit2);
    ASSERT_TRUE(context);
    const std::wstring composition = L"漢字ｶﾅ";
    const BOOL set =
        ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(composition.c_str()),
                                 static_cast<DWORD>(composition.size() * sizeof(wchar_t)), nullptr, 0);
    const BOOL completed = ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(Ui().Edit2, context);
    Pump();
    if (!set || !completed) GTEST_SKIP() << "no IME to compose with";
    EXPECT_EQ(Reading(), Sjis(Repeat("あ", 126) + "漢"));  // "字" would need 256
}

}  // namespace
}  // namespace kanaroll::testing
