// The list for MAME's own UI: UTF-8 with the byte-order mark, three columns, whatever the codec of
// the catalogue and of the list read at start.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>

#include "catalogue/IoError.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/TextCodec.h"
#include "mainwindow/GameOrder.h"
#include "tests/support/Catalogues.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct Loaded {
    GameList games;
    int translated = 0;
    LoadedNameList list;
};

Loaded Load(const TempFolder& folder, std::string_view list, std::initializer_list<std::string> zipNames,
            const TextCodec& codec = ShiftJisCodec()) {
    Loaded loaded{testing::UntranslatedCatalogue(zipNames, "Maker")};
    loaded.list = MergeNameList(folder.Write("mame32j.lst", list), loaded.games, loaded.translated, codec);
    return loaded;
}

std::string WriteForMame(const TempFolder& folder, const Loaded& loaded,
                         const TextCodec& codec = ShiftJisCodec()) {
    WriteMameUiList(folder / "mameui.lst", loaded.games, loaded.list, codec);
    return folder.Read("mameui.lst");
}

TEST(MameUiList, ShiftJisTitlesBecomeUtf8AsCodePage932DefinesThem) {
    TempFolder folder;
    // The characters whose Unicode differs between code page 932 and JIS X 0208, a half-width kana,
    // NEC's and IBM's additions, and a user-defined character.
    const std::string title = Sjis("～－∥￢￡￠①Ⅰ髙ｱ") + "\xF0\x40";
    const std::string list = "pacman\t" + title + "\t" + Sjis("ぱっくまん") + "\tNamco\r\n" +  //
                             "galaga\t" + Sjis("ギャラガ") + "\t\tNamco\r\n";
    Loaded loaded = Load(folder, list, {"pacman", "untranslated", "galaga"});
    SortGames(loaded.games, 1);  // the file keeps listinfo.txt order
    EXPECT_EQ(WriteForMame(folder, loaded), std::string(kBom) +
                                                "pacman\t～－∥￢￡￠①Ⅰ髙ｱ\xEE\x80\x80\tぱっくまん\r\n" +
                                                "galaga\tギャラガ\t\r\n");
}

TEST(MameUiList, AUtf8CatalogueIsWrittenAsItIsWithCrLf) {
    TempFolder folder;
    const std::string list =
        std::string(kBom) + "pacman\tパックマン 简体 ゔ\tぱっくまん\ngalaga\tギャラガ\tぎゃらが";
    const Loaded loaded = Load(folder, list, {"pacman", "galaga"}, Utf8Codec());
    EXPECT_EQ(WriteForMame(folder, loaded, Utf8Codec()),
              std::string(kBom) + "pacman\tパックマン 简体 ゔ\tぱっくまん\r\ngalaga\tギャラガ\tぎゃらが\r\n");
}

TEST(MameUiList, KeptLinesOfGamesTheCatalogueLacksComeConvertedInThreeColumns) {
    TempFolder folder;
    const std::string list = "pacman\t" + Sjis("パックマン") + "\t" + Sjis("ぱっくまん") + "\tNamco\r\n" +
                             "unknown\t" + Sjis("未知～") + "\t" + Sjis("みち") + "\tSomeone\textra\r\n" +
                             "pacman\tLater\tlater\t\r\n"     // a later line of a catalogue's game
                             "unknown\tSecond\tsecond\t\r\n"  // and of a game the catalogue lacks
                             "comment without a tab\r\n"
                             "\r\n"
                             "cr\rsplit\tT\tt\t\r\n"  // a CR inside a line goes, as the merge drops it
                             "cut\tC\tc\x1A"
                             "after\r\n"     // and so does what a Ctrl-Z cuts off
                             "short\tS\r\n"  // no reading at all
                             "\x1A"
                             "the end\r\n";
    const Loaded loaded = Load(folder, list, {"pacman", "galaga"});
    EXPECT_EQ(WriteForMame(folder, loaded), std::string(kBom) + "pacman\tパックマン\tぱっくまん\r\n" +
                                                "unknown\t未知～\tみち\r\n"
                                                "crsplit\tT\tt\r\n"
                                                "cut\tC\tc\r\n"
                                                "short\tS\t\r\n");
}

TEST(MameUiList, ALaterLineDoesNotBringBackATranslationTheUserRemoved) {
    TempFolder folder;
    Loaded loaded = Load(folder, "pacman\tFirst\tfirst\t\npacman\tSecond\tsecond\t\n", {"pacman"});
    loaded.games[0].reading.clear();
    loaded.games[0].translated = false;
    EXPECT_EQ(WriteForMame(folder, loaded), kBom);
}

TEST(MameUiList, AFailedWriteThrowsAndLeavesNoFile) {
    TempFolder folder;
    const Loaded loaded = Load(folder, "pacman\tT\tt\t\n", {"pacman"});
    EXPECT_THROW(
        WriteMameUiList(folder / "missing" / "mameui.lst", loaded.games, loaded.list, ShiftJisCodec()),
        IoError);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

}  // namespace
}  // namespace kanaroll
