#include <gtest/gtest.h>

#include "core/store/IniFile.h"

namespace pb {
namespace {

TEST(IniFile, LooksUpTheFirstSectionAndKeyOnly) {
    const IniFile file = IniFile::Parse(
        "Key=global\n"
        "[A]\n"
        "Key = 'quoted'\n"
        "Other=\"\n"
        ";Key=commented\n"
        "[B]\n"
        "Key=b\n"
        "[a]\n"
        "Key=second A\n"
        "Late=only in the second A\n"
        "[Open\n"
        "Key=open\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;  // nullptr: missing
    } cases[] = {
        {"A", "Key", "quoted"}, {"a", "KEY", "quoted"}, {"A", "Other", "\""},
        {"B", "Key", "b"},      {"A", "Late", nullptr}, {"Open", "Key", "open"},
        {"C", "Key", nullptr},  {"", "Key", nullptr},   {"A", ";Key", nullptr},
    };
    for (const auto& c : cases) {
        const auto value = file.Value(c.section, c.key);
        if (c.value == nullptr) {
            EXPECT_FALSE(value.has_value()) << c.section << "." << c.key;
        } else {
            EXPECT_EQ(value.value_or("(missing)"), c.value) << c.section << "." << c.key;
        }
    }
}

TEST(IniFile, AddsKeysAfterTheLastKeyOfTheirSection) {
    const struct {
        const char* original;
        const char* section;
        const char* expected;
    } cases[] = {
        {"[A]\n\n[B]\n", "A", "[A]\nK=1\n\n[B]\n"},
        {"[A]\nX=1\n; about B\n[B]\n", "A", "[A]\nX=1\nK=1\n; about B\n[B]\n"},
        {"[A]\nX=1\n[B]\nY=2", "B", "[A]\nX=1\n[B]\nY=2\nK=1\n"},
        {"[A]\nK=9\n", "a", "[A]\nK=1\n"},
        {"[A]\nK=9 ; old\n", "A", "[A]\nK=1\n"},
        {"\xEF\xBB\xBF[A]\n", "B", "\xEF\xBB\xBF[A]\n[B]\nK=1\n"},
        {"", "A", "[A]\r\nK=1\r\n"},
    };
    for (const auto& c : cases) {
        IniFile file = IniFile::Parse(c.original);
        file.SetValue(c.section, "K", "1");
        EXPECT_EQ(file.Text(), c.expected) << c.original;
    }
}

TEST(IniFile, UnchangedFileIsWrittenBackByteForByte) {
    const std::string original = "\xEF\xBB\xBF[A]\r\nK = 1\n\r\n;x\r\n[B]\nlonely\r\n  ";
    IniFile file = IniFile::Parse(original);
    EXPECT_EQ(file.Text(), original);
    file.SetValue("A", "k", "1");
    EXPECT_EQ(file.Text(), original);
}

}  // namespace
}  // namespace pb
