#pragma once

// Control and menu command identifiers of the main window.
namespace kanaroll::ids {

constexpr int kListView1 = 101;  // the game list
constexpr int kListView2 = 102;  // the family list
constexpr int kStatusBar1 = 103;
constexpr int kSplitter1 = 104;
constexpr int kEdit1 = 111;    // Japanese title
constexpr int kEdit2 = 112;    // reading
constexpr int kEdit3 = 113;    // English title (read-only)
constexpr int kEdit4 = 114;    // video (read-only)
constexpr int kMemo1 = 115;    // CPU
constexpr int kMemo2 = 116;    // sound
constexpr int kButton1 = 121;  // リセット
constexpr int kButton2 = 122;  // 元に戻す
constexpr int kButton3 = 123;  // 置換(&R)...
constexpr int kRadioButton1 = 131;
constexpr int kRadioButton2 = 132;
constexpr int kRadioButton3 = 134;  // the list for MAME's own UI
constexpr int kBitBtn1 = 133;
constexpr int kLabelEnglish = 141;
constexpr int kLabelJapanese = 142;
constexpr int kLabelReading = 143;
constexpr int kLabelCpu = 144;
constexpr int kLabelSound = 145;
constexpr int kLabelVideo = 146;
constexpr int kLabelProposal = 147;
constexpr int kTitleProposal = 148;  // the proposed title, beside the reading field's cue

// Items of PopupMenu1.
constexpr int kPopExecute = 201;
constexpr int kMAME1 = 202;
constexpr int kN1 = 203;
constexpr int kN3 = 204;
constexpr int kAbout = 205;            // バージョン情報(&A)...
constexpr int kRemakeCatalogue = 206;  // listinfo.txt made anew with MAME
constexpr int kTakeProposal = 207;
constexpr int kNextUntranslated = 208;
constexpr int kPreviousUntranslated = 209;

}  // namespace kanaroll::ids
