#include "platform/ByteLimitedEdit.h"

#include <algorithm>
#include <imm.h>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Controls.h"
#include "platform/Window.h"
#include "platform/WindowHook.h"

namespace kanaroll {

namespace {

struct ByteLimit {
    unsigned codePage;
    int maxBytes;
    wchar_t pendingHighSurrogate = 0;  // the first half of a character typed as two WM_CHARs
};

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The bytes of `text` in the code page; characters it cannot hold count as the default character.
int ByteCount(std::wstring_view text, unsigned codePage) {
    if (text.empty()) return 0;
    return WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                               nullptr);
}

// The bytes of one character (one or two UTF-16 units) in the code page, or 0 when the code page
// cannot hold it exactly: no best-fit replacement (a yen sign is not a backslash) and no default
// character.
int CharacterBytes(std::wstring_view character, unsigned codePage) {
    const int length = static_cast<int>(character.size());
    if (codePage == CP_UTF8) {
        // UTF-8 holds every character; only a lone surrogate is refused.
        return WideCharToMultiByte(codePage, WC_ERR_INVALID_CHARS, character.data(), length, nullptr, 0,
                                   nullptr, nullptr);
    }
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, character.data(), length, nullptr,
                                          0, nullptr, &usedDefault);
    return usedDefault ? 0 : bytes;
}

// The part of `text` that may go into the field when `available` bytes are left: characters the code
// page cannot hold are dropped, and the text ends before the first character that no longer fits.
std::wstring FitText(std::wstring_view text, unsigned codePage, int available) {
    std::wstring fitted;
    std::size_t position = 0;
    while (position < text.size() && available > 0) {
        std::size_t units = 1;
        if (IsHighSurrogate(text[position]) && position + 1 < text.size() &&
            IsLowSurrogate(text[position + 1])) {
            units = 2;
        }
        const std::wstring_view character = text.substr(position, units);
        position += units;
        const int bytes = CharacterBytes(character, codePage);
        if (bytes == 0) continue;
        if (bytes > available) break;
        fitted += character;
        available -= bytes;
    }
    return fitted;
}

// A pasted text for a one-line field: a TAB becomes a blank, so do line breaks inside the text (CR LF
// counts as one), and the line breaks at its end are dropped, as a copied line usually carries one.
// Other control characters are dropped: Ctrl-Z in particular would end the line when the list is
// read again, and the rest of the game's line with it.
std::wstring CleanPastedText(std::wstring_view text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.remove_suffix(1);
    std::wstring cleaned;
    cleaned.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;  // the LF makes the blank
        if (c == L'\t' || c == L'\r' || c == L'\n') {
            cleaned += L' ';
        } else if (c >= L' ' && c != 0x7F) {
            cleaned += c;
        }
    }
    return cleaned;
}

// The field's text as it is left when the selection is replaced.
std::wstring TextOutsideSelection(HWND edit) {
    std::wstring text = window::Text(edit);
    auto [start, end] = edit::Selection(edit);
    const std::size_t length = text.size();
    const std::size_t from = std::min(static_cast<std::size_t>(std::max(start, 0)), length);
    const std::size_t to = std::min(std::max(static_cast<std::size_t>(std::max(end, 0)), from), length);
    text.erase(from, to - from);
    return text;
}

int AvailableBytes(HWND edit, const ByteLimit& limit) {
    return limit.maxBytes - ByteCount(TextOutsideSelection(edit), limit.codePage);
}

std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::wstring_view all(chars, GlobalSize(data) / sizeof(wchar_t));
            text = all.substr(0, all.find(L'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void ReplaceSelection(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

// A typed character (WM_CHAR or WM_IME_CHAR): true when it was dealt with here, false when the
// control may take it as usual.
bool LimitTypedCharacter(HWND edit, ByteLimit& limit, wchar_t c) {
    if (c == L'\t' || c == L'\r' || c == L'\n') return true;  // never part of a name: would break the files
    if (c < L' ' || c == 0x7F) return false;                  // editing keys: backspace, copy, paste, undo
    std::wstring character;
    if (IsHighSurrogate(c)) {
        limit.pendingHighSurrogate = c;
        return true;
    }
    if (IsLowSurrogate(c)) {
        if (!limit.pendingHighSurrogate) return true;
        character = {limit.pendingHighSurrogate, c};
    } else {
        character = c;
    }
    limit.pendingHighSurrogate = 0;
    if (FitText(character, limit.codePage, AvailableBytes(edit, limit)) != character) return true;  // refused
    if (character.size() == 1) return false;
    ReplaceSelection(edit, character);  // both halves at once, as one change
    return true;
}

void LimitPaste(HWND edit, const ByteLimit& limit) {
    const std::wstring fitted =
        FitText(CleanPastedText(ClipboardText(edit)), limit.codePage, AvailableBytes(edit, limit));
    if (!fitted.empty()) ReplaceSelection(edit, fitted);
}

std::wstring ImeResult(HWND edit) {
    std::wstring result;
    if (HIMC context = ImmGetContext(edit)) {
        const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
        if (bytes > 0) {
            result.resize(static_cast<std::size_t>(bytes) / sizeof(wchar_t));
            ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
        }
        ImmReleaseContext(edit, context);
    }
    return result;
}

// The IME's result goes in here, cut to fit, in place of the selection (which is the composition in
// controls that show it inside their text). Left to the control, it would arrive one character at a
// time and a character that does not fit could be followed by a smaller one that does.
void InsertImeResult(HWND edit, const ByteLimit& limit) {
    const std::wstring fitted =
        FitText(CleanPastedText(ImeResult(edit)), limit.codePage, AvailableBytes(edit, limit));
    if (!fitted.empty()) ReplaceSelection(edit, fitted);
}

LRESULT LimitMessage(HWND edit, ByteLimit& limit, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool readOnly = (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) != 0;
    switch (message) {
        case WM_CHAR:
        case WM_IME_CHAR:
            if (!readOnly && LimitTypedCharacter(edit, limit, static_cast<wchar_t>(wParam))) return 0;
            break;
        case WM_PASTE:
            if (readOnly) break;
            LimitPaste(edit, limit);
            return 0;
        case WM_KEYDOWN:
            // Shift+Insert pastes too, and some edit controls do it without a WM_PASTE.
            if (!readOnly && wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 &&
                GetKeyState(VK_CONTROL) >= 0) {
                LimitPaste(edit, limit);
                return 0;
            }
            break;
        case WM_IME_COMPOSITION:
            if (!readOnly && (lParam & GCS_RESULTSTR)) {
                InsertImeResult(edit, limit);
                // Whatever else the message says (a new composition) still goes to the control.
                const LPARAM rest = lParam & ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE |
                                                                  GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE);
                return rest ? hook::CallNext(edit, message, wParam, rest) : 0;
            }
            break;
        default:
            break;
    }
    return hook::CallNext(edit, message, wParam, lParam);
}

LRESULT ByteLimitProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, void* data) {
    auto* limit = static_cast<ByteLimit*>(data);
    if (message == WM_NCDESTROY) {
        delete limit;
        return hook::CallNext(edit, message, wParam, lParam);
    }
    return Guarded([&] { return LimitMessage(edit, *limit, message, wParam, lParam); },
                   static_cast<LRESULT>(0));
}

}  // namespace

void LimitEditBytes(HWND edit, unsigned codePage, int maxBytes) {
    // A second call changes the limit of the hook already in place.
    if (auto* limit = static_cast<ByteLimit*>(hook::Find(edit, ByteLimitProc))) {
        limit->codePage = codePage;
        limit->maxBytes = maxBytes;
        return;
    }
    auto limit = std::make_unique<ByteLimit>(ByteLimit{codePage, maxBytes});
    if (hook::Install(edit, ByteLimitProc, limit.get())) limit.release();
}

}  // namespace kanaroll
