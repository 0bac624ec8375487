#include <functional>

#include "registry_contract.h"

namespace morrowick {

TEST_P(RegistryContract, RootStartsAtCurrentUser) {
  EXPECT_EQ(reg->GetRootKey(), RootKey::CurrentUser);
}

TEST_P(RegistryContract, TextsAndIntegersRoundTripAndReplace) {
  OpenScratch();
  reg->WriteString("text", "每天22时30分");
  reg->WriteInteger("num", -5);
  EXPECT_EQ(reg->ReadString("text"), "每天22时30分");
  EXPECT_EQ(reg->ReadInteger("num"), -5);
  // A write replaces the value whatever its type was.
  reg->WriteInteger("text", 7);
  EXPECT_EQ(reg->ReadInteger("text"), 7);
  reg->WriteString("num", "");
  EXPECT_EQ(reg->ReadString("num"), "");
  EXPECT_TRUE(reg->ValueExists("num"));
}

TEST_P(RegistryContract, StoredTextCountsItsNul) {
  OpenScratch();
  reg->WriteString("s", "abc");
  auto raw = backend->GetRaw("s");
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(raw->type, kRegSz);
  EXPECT_EQ(raw->data, Bytes("abc", true));
  reg->WriteInteger("d", 0x01020304);
  raw = backend->GetRaw("d");
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(raw->type, kRegDword);
  EXPECT_EQ(raw->data, (std::vector<uint8_t>{4, 3, 2, 1}));
}

TEST_P(RegistryContract, MissingValues) {
  OpenScratch();
  EXPECT_FALSE(reg->ValueExists("nothing"));
  EXPECT_EQ(reg->ReadString("nothing"), "");
  EXPECT_EQ(ErrorOf([&] { reg->ReadInteger("nothing"); }), "Failed to get data for 'nothing'");
}

TEST_P(RegistryContract, WrongTypesAreReportedByName) {
  OpenScratch();
  backend->PutRaw("TaskNum", kRegSz, Bytes("3", true));
  backend->PutRaw("A1", kRegDword, {1, 0, 0, 0});
  backend->PutRaw("bin", kRegBinary, {1, 2});
  EXPECT_TRUE(reg->ValueExists("TaskNum"));
  EXPECT_EQ(ErrorOf([&] { reg->ReadInteger("TaskNum"); }), "Invalid data type for 'TaskNum'");
  EXPECT_EQ(ErrorOf([&] { reg->ReadString("A1"); }), "Invalid data type for 'A1'");
  EXPECT_EQ(ErrorOf([&] { reg->ReadString("bin"); }), "Invalid data type for 'bin'");
  EXPECT_EQ(ErrorOf([&] { reg->ReadInteger("bin"); }), "Invalid data type for 'bin'");
}

TEST_P(RegistryContract, TextsEndAtFirstNulOrAtTheirSize) {
  OpenScratch();
  backend->PutRaw("expand", kRegExpandSz, Bytes("%TEMP%\\a.wav", true));
  backend->PutRaw("nonul", kRegSz, Bytes("abc", false));
  std::vector<uint8_t> inner = Bytes("ab", true);
  inner.push_back('c');
  inner.push_back(0);
  backend->PutRaw("inner", kRegSz, inner);
  EXPECT_EQ(reg->ReadString("expand"), "%TEMP%\\a.wav");
  EXPECT_EQ(reg->ReadString("nonul"), "abc");
  EXPECT_EQ(reg->ReadString("inner"), "ab");
}

TEST_P(RegistryContract, LongTextReadsWhole) {
  OpenScratch();
  std::string big(1 << 20, 'x');
  reg->WriteString("big", big);
  EXPECT_EQ(reg->ReadString("big").size(), big.size());
}

TEST_P(RegistryContract, DeleteValueRemovesAndIgnoresMissing) {
  OpenScratch();
  reg->WriteString("gone", "x");
  reg->DeleteValue("gone");
  reg->DeleteValue("gone");
  EXPECT_FALSE(reg->ValueExists("gone"));
}

TEST_P(RegistryContract, OpenKeyCreatesAbsolutePathsAndSwitchesCurrentKey) {
  const std::string a = backend->ScratchPath() + "\\One\\Two";
  const std::string b = backend->ScratchPath() + "\\Other";
  ASSERT_TRUE(reg->OpenKey(a, true));
  reg->WriteString("v", "in two");
  // Absolute again from the root, whatever key was open before.
  ASSERT_TRUE(reg->OpenKey(b, true));
  EXPECT_FALSE(reg->ValueExists("v"));
  ASSERT_TRUE(reg->OpenKey(a, true));
  EXPECT_EQ(reg->ReadString("v"), "in two");
  EXPECT_TRUE(backend->KeyExists(a));
}

TEST_P(RegistryContract, WithoutOpenKeyReadsAreEmptyAndWritesFail) {
  reg->CloseKey();
  EXPECT_FALSE(reg->ValueExists("x"));
  EXPECT_EQ(reg->ReadString("x"), "");
  EXPECT_EQ(ErrorOf([&] { reg->ReadInteger("x"); }), "Failed to get data for 'x'");
  EXPECT_EQ(ErrorOf([&] { reg->WriteString("x", "y"); }), "Failed to set data for 'x'");
  EXPECT_EQ(ErrorOf([&] { reg->WriteInteger("x", 1); }), "Failed to set data for 'x'");
}

TEST_P(RegistryContract, CloseKeyKeepsWhatWasWritten) {
  OpenScratch();
  reg->WriteInteger("kept", 42);
  reg->CloseKey();
  OpenScratch();
  EXPECT_EQ(reg->ReadInteger("kept"), 42);
}

}  // namespace morrowick
