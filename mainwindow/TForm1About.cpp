// The popup menu's "バージョン情報": the program's name, version, copyright and licence, in a
// message box, so that a user can tell which build runs and under which terms it is shared.
#include <string>
#include <string_view>

#include "app/Version.h"
#include "mainwindow/TForm1.h"

namespace kanaroll {

namespace {

// The version texts are the build's, plain ASCII.
std::wstring FromAscii(std::string_view text) {
    return {text.begin(), text.end()};
}

}  // namespace

void TForm1::AboutClick() {
    const std::wstring text = L"Kanaroll " + FromAscii(KANAROLL_VERSION_TEXT) +
                              L"\nMAME の日本語ゲーム名リストの編集\n\n" + FromAscii(KANAROLL_COPYRIGHT) +
                              L"\nMIT ライセンスで配布しています（LICENSE.txt を参照）。";
    m_services.ShowMessageBox(Handle(), text, L"バージョン情報", MB_OK | MB_ICONINFORMATION);
}

}  // namespace kanaroll
