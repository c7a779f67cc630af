#include "player/settings_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zephlet {
namespace {

struct NumberCase {
  const char* text;
  std::optional<int32_t> value;
};

TEST(SettingsNumber, ReadsDecimalAndHexadecimalOnly) {
  const NumberCase cases[] = {
      {"25", 25},
      {"   25", 25},
      {"-25", -25},
      {"+25", 25},
      {"007", 7},
      {"0x19", 25},
      {"0X19", 25},
      {"$19", 25},
      {"$ff", 255},
      {"-$10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$FFFFFFFF", -1},  // a 32-bit pattern
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"$100000000", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"25ms", std::nullopt},
      {"25 ", std::nullopt},
      {"\t25", std::nullopt},
      {"- 5", std::nullopt},
      {"True", std::nullopt},
      {"1e3", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"0xG", std::nullopt},
  };
  for (const NumberCase& c : cases)
    EXPECT_EQ(ParseSettingsNumber(c.text), c.value) << "'" << c.text << "'";
}

struct FindCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::optional<std::string> value;
};

TEST(SettingsText, FindsValuesByTheReadingRules) {
  const FindCase cases[] = {
      {"CR LF lines", "[Move]\r\nMode=Hor\r\nSpeed=5\r\n", "Move", "Speed", "5"},
      {"LF lines", "[Move]\nMode=Hor\nSpeed=5", "Move", "Speed", "5"},
      {"CR lines", "[Move]\rMode=Hor\rSpeed=5", "Move", "Speed", "5"},
      {"any letter case", "[MOVE]\r\nmode=Hor", "Move", "Mode", "Hor"},
      {"comment line", "[Move]\r\n;Mode=Hor", "Move", "Mode", std::nullopt},
      {"no section yet", "Mode=Hor\r\n[Move]", "Move", "Mode", std::nullopt},
      {"blank before equals", "[Move]\r\nMode =Hor", "Move", "Mode", std::nullopt},
      {"value untrimmed", "[Move]\r\nMode= Hor ", "Move", "Mode", " Hor "},
      {"equals in value", "[Messages]\r\nHint=a=b", "Messages", "Hint", "a=b"},
      {"empty value", "[Menu]\r\nUrl=", "Menu", "Url", ""},
      {"first section wins", "[Move]\r\nA=1\r\n[Move]\r\nMode=Hor", "Move", "Mode", std::nullopt},
      {"first line wins", "[Move]\r\nMode=Hor\r\nMode=Ver", "Move", "Mode", "Hor"},
      {"section name untrimmed", "[ Move ]\r\nMode=Hor", "Move", "Mode", std::nullopt},
      {"zero byte ends the text", std::string("[Move]\r\nA=1\0\r\nMode=Hor", 23), "Move", "Mode",
       std::nullopt},
      {"line without equals", "[Move]\r\nMode\r\nMode=Hor", "Move", "Mode", "Hor"},
      {"bracket line with trailing blank", "[Move] \r\nMode=Hor", "Move", "Mode", std::nullopt},
  };
  for (const FindCase& c : cases) {
    const SettingsText text(c.text);
    EXPECT_EQ(text.Find(c.section, c.key), c.value) << c.name;
  }
}

TEST(SettingsText, DefaultsForMissingEmptyAndMalformedValues) {
  const SettingsText text("[Move]\r\nSpeed=\r\nAm=25ms\r\nMoveDir=\r\nBound=True\r\nRadius=-1");
  EXPECT_EQ(text.ReadInteger("Move", "Speed", 500), 500);
  EXPECT_EQ(text.ReadInteger("Move", "Am", 20), 20);
  EXPECT_EQ(text.ReadInteger("Move", "Radius", 100), -1);
  EXPECT_EQ(text.ReadInteger("Move", "Missing", 7), 7);
  EXPECT_EQ(text.ReadString("Move", "MoveDir", "x"), "");
  EXPECT_EQ(text.ReadString("Move", "Missing", "x"), "x");
  EXPECT_TRUE(text.ReadBool("Move", "Bound", true));
  EXPECT_FALSE(text.ReadBool("Move", "Bound", false));
  EXPECT_TRUE(text.ReadBool("Move", "Radius", false));
}

}  // namespace
}  // namespace zephlet
