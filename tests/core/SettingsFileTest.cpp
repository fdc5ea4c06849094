#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/SettingsFile.h"
#include "catalogue/TextCodec.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

// Stands in for the file-exists test of the stored MAME path, and remembers what it was asked.
struct FakeFiles {
    std::set<std::string> existing;
    std::vector<std::string> asked;
    StoredPathExists Test() {
        return [this](const std::string& path) {
            asked.push_back(path);
            return existing.count(path) > 0;
        };
    }
};

struct Settings {
    std::string mamePath = "before";
    ReplaceRuleList rules;
};

Settings Load(const std::filesystem::path& ini, FakeFiles& files) {
    Settings settings;
    LoadSettings(ini, settings.mamePath, settings.rules, files.Test());
    return settings;
}

TEST(SettingsFile, ReadBackWhatItWroteAndWritesTheSameBytesAgain) {
    TempFolder folder;
    const std::string mame = "C:\\" + Sjis("エミュ") + "\\mame.exe";
    const ReplaceRuleList rules = {{"Japan", Sjis("日本版"), true},
                                   {" (bootleg)", "", false},
                                   {Sjis("ソ"), " x ", true}};  // ソ ends in 0x5C, a backslash
    SaveSettings(folder / "kanaroll.ini", mame, rules);
    const std::string bytes = folder.Read("kanaroll.ini");
    EXPECT_EQ(bytes, "MAMEPath:=" + mame + "\r\nReplaceText:=Japan\t" + Sjis("日本版") +
                         "\tP\r\nReplaceText:= (bootleg)\t\t\r\nReplaceText:=" + Sjis("ソ") + "\t x \tP\r\n");

    FakeFiles files{{mame}, {}};
    const Settings read = Load(folder / "kanaroll.ini", files);
    EXPECT_EQ(read.mamePath, mame);
    EXPECT_EQ(read.rules, rules);
    SaveSettings(folder / "again.ini", read.mamePath, read.rules);
    EXPECT_EQ(folder.Read("again.ini"), bytes);

    SaveSettings(folder / "kanaroll.ini", "", {});
    EXPECT_EQ(folder.Read("kanaroll.ini"), "MAMEPath:=\r\n");
}

TEST(SettingsFile, CutsRuleLinesAsEarlierVersionsDid) {
    TempFolder folder;
    folder.Write("kanaroll.ini",
                 "ReplaceText:=a\tb\tP\r\n"
                 "ReplaceText:=c\td\tp\r\n"
                 "ReplaceText:=e\tf\tP \r\n"
                 "ReplaceText:=g\t\tP\r\n"  // two TABs in a row: no replacement text
                 "replacetext:=h\ti\tP\r\n"
                 "\r\n"
                 "junk line\n"
                 "ReplaceText:= j \t k \t\n"
                 "ReplaceText:=P\n"  // no TAB: search and replacement empty, and "P" is what is left
                 "x:=ReplaceText:=l\tm\tP\n"
                 "ReplaceText:=n\to\tP\tQ\n");
    FakeFiles files;
    const Settings read = Load(folder / "kanaroll.ini", files);
    EXPECT_EQ(read.rules, (ReplaceRuleList{{"a", "b", true},
                                           {"c", "d", false},
                                           {"e", "f", false},
                                           {"g", "", true},
                                           {" j ", " k ", false},
                                           {"", "", true},
                                           {"ReplaceText:=l", "m", true},
                                           {"n", "o", false}}));
    EXPECT_EQ(read.mamePath, "");
    EXPECT_TRUE(files.asked.empty());
}

TEST(SettingsFile, TheLastMamePathLineDecidesAndAMissingFileEmptiesIt) {
    TempFolder folder;
    FakeFiles files{{"C:\\mame.exe", "D:\\new.exe", "AMEPath:D:\\x.exe"}, {}};
    folder.Write("a.ini", "MAMEPath:=C:\\mame.exe\r\nmamepath:=E:\\lower.exe\r\nMAMEPath:=D:\\new.exe\r\n");
    EXPECT_EQ(Load(folder / "a.ini", files).mamePath, "D:\\new.exe");

    folder.Write("b.ini", "MAMEPath:=C:\\mame.exe\r\nMAMEPath:=E:\\gone.exe\r\n");
    EXPECT_EQ(Load(folder / "b.ini", files).mamePath, "");

    // Without ":=" the line loses only its first byte; the key may stand anywhere.
    folder.Write("c.ini", "MAMEPath:D:\\x.exe\r\n");
    EXPECT_EQ(Load(folder / "c.ini", files).mamePath, "AMEPath:D:\\x.exe");
    folder.Write("d.ini", "old MAMEPath:=C:\\mame.exe\r\n");
    EXPECT_EQ(Load(folder / "d.ini", files).mamePath, "C:\\mame.exe");

    // The rule key is looked for in what the path key left of the line: a rule that holds the path key
    // is read as a path (and lost), the path before it dropped.
    folder.Write(
        "e.ini",
        "MAMEPath:=ReplaceText:=a\tb\tP\r\nMAMEPath:=C:\\mame.exe\r\nReplaceText:=c\tMAMEPath:\t\r\n");
    files.asked.clear();
    const Settings read = Load(folder / "e.ini", files);
    EXPECT_EQ(files.asked,
              (std::vector<std::string>{"ReplaceText:=a\tb\tP", "C:\\mame.exe", "c\tMAMEPath:\t"}));
    EXPECT_EQ(read.mamePath, "");
    EXPECT_EQ(read.rules, (ReplaceRuleList{{"a", "b", true}}));
}

TEST(SettingsFile, AMissingFileEmptiesThePathAndKeepsTheRules) {
    TempFolder folder;
    std::string mamePath = "C:\\mame.exe";
    ReplaceRuleList rules = {{"a", "b", true}};
    LoadSettings(folder / "kanaroll.ini", mamePath, rules, [](const std::string&) { return true; });
    EXPECT_EQ(mamePath, "");
    EXPECT_EQ(rules, (ReplaceRuleList{{"a", "b", true}}));

    std::filesystem::create_directory(folder / "folder.ini");  // a folder is not a settings file
    LoadSettings(folder / "folder.ini", mamePath, rules, [](const std::string&) { return true; });
    EXPECT_EQ(rules.size(), 1u);

    EXPECT_THROW(SaveSettings(folder / "missing" / "kanaroll.ini", "", rules), IoError);
}

TEST(SettingsFile, ToleratesNulLeadBytesAtLineEndsAndLongLines) {
    TempFolder folder;
    const std::string longText(1 << 20, '\x88');
    folder.Write("kanaroll.ini", std::string("ReplaceText:=n\0l\t\0\t\0P\r\n", 23) +
                                     "ReplaceText:=\x81\t\x82\tP\x82\r\n" + "ReplaceText:=" + longText +
                                     "\tL\tP\r\n" + "ReplaceText:=last\tline\tP");
    FakeFiles files;
    EXPECT_EQ(Load(folder / "kanaroll.ini", files).rules,
              (ReplaceRuleList{{std::string("n\0l", 3), std::string(1, '\0'), false},
                               {"\x81", "\x82", false},
                               {longText, "L", true},
                               {"last", "line", true}}));
}

TEST(StoredPathNamesFile, ConvertsTheStoredBytesAndWantsAFile) {
    TempFolder folder;
    const std::filesystem::path exe = folder.Path() / std::filesystem::path(u8"エミュ.exe");
    std::ofstream(exe) << "MZ";
    const std::u8string folderName = folder.Path().u8string();
    const std::string stored = Sjis(std::string(folderName.begin(), folderName.end()));
    EXPECT_TRUE(StoredPathNamesFile(stored + "/" + Sjis("エミュ.exe")));
    EXPECT_FALSE(StoredPathNamesFile(stored + "/" + Sjis("エミ.exe")));
    EXPECT_FALSE(StoredPathNamesFile(stored));  // a folder
    EXPECT_FALSE(StoredPathNamesFile(""));
}

}  // namespace
}  // namespace kanaroll
