#include "files/backup_name.h"

#include <gtest/gtest.h>

namespace {

TEST(BackupNameTest, LastIBecomesCapitalBElseLastCharacterBecomesB) {
    const std::pair<std::string, std::string> cases[] = {
        {"WIN.INI", "WIN.INB"},           {"control.ini", "control.inB"},
        {"WIN.INB", "WIN.BNB"},           {"AUTOEXEC.BAT", "AUTOEXEC.BAb"},
        {"i.txt", "B.txt"},               {"a", "b"},
        {"", ""},
    };
    for (const auto& [name, backup] : cases) EXPECT_EQ(files::BackupFileName(name), backup) << name;
}

TEST(BackupNameTest, BackupPathRefusesToNameTheFileItself) {
    EXPECT_EQ(files::BackupPath("C:\\TOOLS", "WIN.INI", "C:\\WINDOWS\\WIN.INI"), "C:\\TOOLS\\WIN.INB");
    EXPECT_EQ(files::BackupPath("C:\\TOOLS", "ABb", "c:\\tools\\abb"), std::nullopt);
    EXPECT_EQ(files::BackupPath("C:\\TOOLS", "ABb", "C:\\OTHER\\ABb"), "C:\\TOOLS\\ABb");
}

}  // namespace
