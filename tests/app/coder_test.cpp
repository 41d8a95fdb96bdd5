#include "app/coder.h"

#include <gtest/gtest.h>

#include "shell/toolbox.h"

TEST(Coder, DecodeCombinesBitPairsAndKeepsTheEnds) {
  TCoder1732 C;
  EXPECT_EQ(C.Decode("00000000"), 0);
  EXPECT_EQ(C.Decode("80000001"), (1 << 16) | 1) << "bit 31 becomes bit 16, bit 0 stays";
  // Bit 1 of the result joins code bits 1 and 2 by OR (1 mod 3 = 1).
  EXPECT_EQ(C.Decode("00000002"), 2);
  EXPECT_EQ(C.Decode("00000004"), 2);
  // Bit 2 joins bits 3 and 4 by XOR: both set cancel out.
  EXPECT_EQ(C.Decode("00000018"), 0);
  EXPECT_EQ(C.Decode("00000008"), 4);
  // Bit 3 joins bits 5 and 6 by AND.
  EXPECT_EQ(C.Decode("00000020"), 0);
  EXPECT_EQ(C.Decode("00000060"), 8);
  EXPECT_EQ(C.Decode("FFFFFFFF"), 0x1FFFF & ~0x4924) << "every XOR bit (2, 5, 8, 11, 14) cancels";
}

TEST(Coder, LengthAndDigitErrors) {
  TCoder1732 C;
  EXPECT_EQ(C.Decode("1234567"), -1);
  EXPECT_EQ(C.Decode("123456789"), -1);
  EXPECT_THROW(C.Decode("1234567G"), EConvertError);
}

TEST(Coder, TestMapCodesRoundTripForEveryMap) {
  TCoder1732 C;
  for (int Map = 0; Map <= TCoder1732::kMaxMap; ++Map) {
    const std::string Code = C.TestMapCode(Map);
    ASSERT_EQ(TCoder1732::MapIndex(C.Decode(Code)), Map) << Code;
    ASSERT_EQ(TCoder1732::MapIndex(C.Decode(VXToolbox::LowerCase(Code))), Map) << "lower case is accepted";
  }
  EXPECT_EQ(TCoder1732::MapIndex(C.Decode(C.Encode(5))), -1) << "a code without the tag asks for nothing";
  EXPECT_EQ(TCoder1732::MapIndex(-1), -1);
}
