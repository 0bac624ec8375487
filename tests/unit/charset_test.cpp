#include <gtest/gtest.h>

#include <string>

// Every literal must reach the program as GBK: the stored schedule and task type texts
// are compared byte for byte with what other builds of the program wrote.
TEST(Charset, LiteralsAreGbk) {
  EXPECT_EQ(std::string("每天"), std::string("\xC3\xBF\xCC\xEC"));
}
