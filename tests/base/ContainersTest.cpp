// HeapBuf, TypedBuf, PtrList and StrBuf: growth, shrinking, bounds and string limits.
#include "base/HeapBuf.h"
#include "base/PtrList.h"
#include "base/StrBuf.h"
#include "base/TypedBuf.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(HeapBuf, GrowsWithHeadroomKeepsContentsAndShrinksOnlyWhenAsked) {
  HeapBuf buf(16);
  EXPECT_EQ(buf.Resize(0), nullptr);
  EXPECT_EQ(buf.Get(), nullptr);

  char* p = static_cast<char*>(buf.Resize(10));
  ASSERT_NE(p, nullptr);
  std::memcpy(p, "abcdefghij", 10);
  EXPECT_GE(buf.GetAllocated(), 10 + 16);  // at least one granule of headroom

  p = static_cast<char*>(buf.Resize(1000));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::memcmp(p, "abcdefghij", 10), 0);
  EXPECT_GE(buf.GetAllocated(), 1500);  // headroom of half the request
  int grown = buf.GetAllocated();

  // Small requests keep the allocation unless shrinking is asked for.
  buf.Resize(5, false);
  EXPECT_EQ(buf.GetSize(), 5);
  EXPECT_EQ(buf.GetAllocated(), grown);
  p = static_cast<char*>(buf.Resize(5, true));
  EXPECT_LT(buf.GetAllocated(), grown);
  EXPECT_EQ(std::memcmp(p, "abcde", 5), 0);

  EXPECT_EQ(buf.Resize(-3), nullptr);
  EXPECT_EQ(buf.GetSize(), 0);
}

TEST(HeapBuf, CopiesAreIndependent) {
  HeapBuf a;
  std::memcpy(a.Resize(4), "wxyz", 4);
  HeapBuf b(a);
  static_cast<char*>(b.Get())[0] = 'W';
  EXPECT_EQ(static_cast<char*>(a.Get())[0], 'w');
  HeapBuf c;
  c = b;
  EXPECT_EQ(std::memcmp(c.Get(), "Wxyz", 4), 0);
  HeapBuf d(std::move(c));
  EXPECT_EQ(c.Get(), nullptr);
  EXPECT_EQ(d.GetSize(), 4);
}

TEST(TypedBuf, CountsElementsAndRefusesOverflowingSizes) {
  TypedBuf<double> buf;
  double* p = buf.Resize(3);
  ASSERT_NE(p, nullptr);
  p[2] = 1.5;
  EXPECT_EQ(buf.GetSize(), 3);
  EXPECT_EQ(buf.GetBytes(), 24);
  EXPECT_EQ(buf.Resize(INT_MAX / 4), nullptr);
  EXPECT_EQ(buf.GetSize(), 3);
  EXPECT_EQ(buf.Get()[2], 1.5);
}

namespace {
struct Counted {
  explicit Counted(int* deaths) : mDeaths(deaths) {}
  ~Counted() { ++*mDeaths; }
  int* mDeaths;
};
}  // namespace

TEST(PtrList, OutOfRangeReadsNullAndInsertClamps) {
  PtrList<int> list;
  int a = 1, b = 2, c = 3, d = 4;
  EXPECT_EQ(list.Get(0), nullptr);
  list.Add(&b);
  list.Insert(-5, &a);  // clamped to the front
  list.Insert(99, &d);  // clamped to the end
  list.Insert(2, &c);
  ASSERT_EQ(list.GetSize(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(*list.Get(i), i + 1);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(4), nullptr);
  EXPECT_EQ(list.Find(&c), 2);

  list.Delete(1);
  list.Delete(7);  // ignored
  EXPECT_EQ(list.GetSize(), 3);
  EXPECT_EQ(*list.Get(1), 3);
}

TEST(PtrList, DeletesItemsOnlyWhenAsked) {
  int deaths = 0;
  PtrList<Counted> list;
  for (int i = 0; i < 5; ++i) list.Add(new Counted(&deaths));
  Counted* kept = list.Get(0);
  list.Delete(0, false);
  EXPECT_EQ(deaths, 0);
  delete kept;
  list.Delete(0, true);
  EXPECT_EQ(deaths, 2);
  list.Empty(true);
  EXPECT_EQ(deaths, 5);
  EXPECT_EQ(list.GetSize(), 0);
}

TEST(StrBuf, EmptyGetNulStopAndLimits) {
  StrBuf s;
  EXPECT_STREQ(s.Get(), "");
  s.Set("abc\0def", 7);
  EXPECT_STREQ(s.Get(), "abc");
  s.Set("abcdef", 0);
  EXPECT_STREQ(s.Get(), "");
  s.Set("abcdef", 4);
  EXPECT_STREQ(s.Get(), "abcd");
  s.Set(nullptr);
  EXPECT_STREQ(s.Get(), "");

  s.Set("Main");
  s.Append(" Input and more", 6);
  EXPECT_STREQ(s.Get(), "Main Input");
  // Setting from its own text, even an inner part, must not read freed memory.
  s.Set(s.Get() + 5);
  EXPECT_STREQ(s.Get(), "Input");
  s.Append(s.Get());
  EXPECT_STREQ(s.Get(), "InputInput");

  s.SetFormatted(8, "Output %i", 12345);
  EXPECT_STREQ(s.Get(), "Output 1");
  StrBuf copy(s);
  s.Set("x");
  EXPECT_STREQ(copy.Get(), "Output 1");
  // Formatting its own text into a longer result grows the storage under the argument.
  s.SetFormatted(300, "%s and %s%0200d", copy.Get(), s.Get(), 0);
  s.SetFormatted(300, "[%.20s]", s.Get());
  EXPECT_STREQ(s.Get(), "[Output 1 and x000000]");
}

TEST(StrBuf, LongTextsGrowPastTheGranule) {
  std::string longText(1000, 'q');
  StrBuf s(longText.c_str());
  EXPECT_EQ(s.GetLength(), 1000);
  s.Append(longText.c_str());
  EXPECT_EQ(s.GetLength(), 2000);
}
