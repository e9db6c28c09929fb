// The helper layer under the adapter: text conversion into fixed buffers, the class factory, the
// module reference book-keeping and the parameter objects.
#include "vst3/ModuleRefs.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/support/ClassFactory.h"
#include "vst3/support/ListHostParam.h"
#include "vst3/support/ParamRegistry.h"
#include "vst3/support/PlugViewBase.h"
#include "vst3/support/Utf16.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace vst3abi;
using namespace vstsupport;

TEST(Utf16, ConvertsBothWaysWithinFixedBuffers) {
  char16_t wide[8];
  EXPECT_EQ(Utf8ToUtf16("G\xC3\xA4in \xF0\x9D\x84\x9E", wide, 8), 7u);  // a non-BMP character takes a pair
  EXPECT_EQ(std::u16string(wide), u"G\u00e4in \U0001D11E");
  // Truncation never splits a surrogate pair and always terminates.
  EXPECT_EQ(Utf8ToUtf16("abcdef\xF0\x9D\x84\x9E", wide, 8), 6u);
  EXPECT_EQ(std::u16string(wide), u"abcdef");
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b",
                        wide, 8),
            3u);
  EXPECT_EQ(wide[1], 0xFFFD);

  char narrow[6];
  const char16_t text[] = {u'H', 0x00E9, u'!', 0xD800, u'x', 0};
  EXPECT_EQ(Utf16ToUtf8(text, 128, narrow, sizeof narrow), 4u);  // the replacement would not fit
  EXPECT_STREQ(narrow, "H\xC3\xA9!");
  // A source without a terminator is read only up to its bound.
  const char16_t unterminated[3] = {u'a', u'b', u'c'};
  EXPECT_EQ(Utf16ToUtf8(unterminated, 2, narrow, sizeof narrow), 2u);
  EXPECT_STREQ(narrow, "ab");

  char field[4];
  CopyPadded("Quorvane", field, sizeof field);
  EXPECT_EQ(std::string(field, 4), std::string("Quo\0", 4));
}

namespace {

int gCreated = 0;

class Dummy final : public FUnknown {
 public:
  tresult VST3ABI_CALL queryInterface(const TUID iid, void** obj) override {
    *obj = nullptr;
    if (!uidEquals(iid, FUnknown::iid)) return kNoInterface;
    addRef();
    *obj = this;
    return kResultOk;
  }
  uint32 VST3ABI_CALL addRef() override { return ++mRefs; }
  uint32 VST3ABI_CALL release() override {
    const uint32 left = --mRefs;
    if (left == 0) delete this;
    return left;
  }

 private:
  ~Dummy() { --gCreated; }
  uint32 mRefs = 1;
};

FUnknown* MakeDummy(void*) {
  ++gCreated;
  return new Dummy;
}

ClassFactory* gDestroyed = nullptr;

}  // namespace

TEST(ClassFactory, DescribesAndCreatesItsClasses) {
  PFactoryInfo fi{};
  CopyPadded("Maker", fi.vendor, sizeof fi.vendor);
  auto* factory = new ClassFactory(fi, [](ClassFactory* f) { gDestroyed = f; });
  PClassInfo2 ci{};
  const Uid cid = makeUid(1, 2, 3, 4);
  std::memcpy(ci.cid, cid.bytes, 16);
  ci.cardinality = PClassInfo::kManyInstances;
  CopyPadded("Audio Module Class", ci.category, sizeof ci.category);
  // A name that fills its whole field carries no terminator.
  std::memset(ci.name, 'n', sizeof ci.name);
  CopyPadded("Fx|Dynamics", ci.subCategories, sizeof ci.subCategories);
  CopyPadded("1.1.0", ci.version, sizeof ci.version);
  ASSERT_TRUE(factory->registerClass(ci, MakeDummy));
  EXPECT_FALSE(factory->registerClass(ci, MakeDummy));
#if defined(_WIN32)
  // A COM GUID in memory: the first word and the two halves of the second little-endian.
  EXPECT_EQ(std::memcmp(ci.cid, "\1\0\0\0\0\0\2\0\0\0\0\3\0\0\0\4", 16), 0);
#else
  EXPECT_EQ(std::memcmp(ci.cid, "\0\0\0\1\0\0\0\2\0\0\0\3\0\0\0\4", 16), 0);
#endif

  PFactoryInfo got{};
  ASSERT_EQ(factory->getFactoryInfo(&got), kResultOk);
  EXPECT_EQ(got.flags & PFactoryInfo::kUnicode, PFactoryInfo::kUnicode);
  EXPECT_EQ(factory->countClasses(), 1);
  PClassInfoW w{};
  ASSERT_EQ(factory->getClassInfoUnicode(0, &w), kResultOk);
  EXPECT_EQ(std::u16string(w.name), std::u16string(63, u'n'));
  EXPECT_EQ(std::u16string(w.version), u"1.1.0");
  EXPECT_STREQ(w.subCategories, "Fx|Dynamics");
  EXPECT_EQ(factory->getClassInfo2(1, nullptr), kInvalidArgument);

  void* obj = reinterpret_cast<void*>(1);
  const Uid other = makeUid(1, 2, 3, 5);
  EXPECT_EQ(factory->createInstance(other.bytes, FUnknown::iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(factory->createInstance(cid.bytes, IPluginFactory::iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(gCreated, 0);  // the refused instance was released again
  ASSERT_EQ(factory->createInstance(cid.bytes, FUnknown::iid.bytes, &obj), kResultOk);
  EXPECT_EQ(static_cast<FUnknown*>(obj)->release(), 0u);

  ASSERT_EQ(factory->queryInterface(IPluginFactory3::iid.bytes, &obj), kResultOk);
  EXPECT_EQ(factory->RefCount(), 2u);
  factory->release();
  EXPECT_EQ(gDestroyed, nullptr);
  factory->release();
  EXPECT_EQ(gDestroyed, factory);
}

TEST(ModuleRefs, RetainsEveryReferenceUntilTheLastExit) {
  static std::vector<void*> retained, released;
  retained.clear();
  released.clear();
  ModuleRefs refs([](void* r) { retained.push_back(r); }, [](void* r) { released.push_back(r); });
  int a = 0, b = 0;
  EXPECT_TRUE(refs.Enter(&a));
  EXPECT_TRUE(refs.Enter(&b));
  EXPECT_TRUE(refs.Enter(nullptr));  // records nothing
  EXPECT_EQ(refs.Count(), 2);
  refs.Exit();
  EXPECT_EQ(refs.Held(), 2u);
  EXPECT_TRUE(released.empty());
  refs.Exit();
  EXPECT_EQ(released, (std::vector<void*>{&a, &b}));
  EXPECT_EQ(refs.Held(), 0u);
  EXPECT_EQ(refs.ModuleHandle(), &a);
  // An unmatched exit is refused: it cannot drive the counter below zero and strand later
  // references.
  EXPECT_FALSE(refs.Exit());
  EXPECT_TRUE(refs.Enter(&b));
  EXPECT_TRUE(refs.Exit());
  EXPECT_EQ(released.size(), 3u);
  EXPECT_EQ(retained.size(), 3u);
}

TEST(HostParams, ListAndPlainMappings) {
  ListHostParam list("Bypass", 7, "", ParameterInfo::kCanAutomate, 0);
  list.appendEntry("off");
  list.appendEntry("on");
  EXPECT_EQ(list.getInfo().stepCount, 1);
  EXPECT_EQ(list.getInfo().flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList);
  String128 text{};
  list.toString(0.7, text);
  EXPECT_EQ(std::u16string(text), u"on");
  double v = -1;
  EXPECT_FALSE(list.fromString(u"maybe", v));
  EXPECT_TRUE(list.fromString(u"off", v));
  EXPECT_EQ(v, 0.0);

  HostParam steps("Preset", 8, "", 0.0, 4, 0, 0);
  EXPECT_DOUBLE_EQ(steps.toPlain(0.6), 2.0);
  EXPECT_DOUBLE_EQ(steps.toNormalized(3.0), 0.75);
  EXPECT_TRUE(steps.fromString(u" 2 ", v));
  EXPECT_DOUBLE_EQ(v, 0.5);
  EXPECT_FALSE(steps.fromString(u"nan", v));
  EXPECT_FALSE(steps.setNormalized(std::nan("")));
  EXPECT_TRUE(steps.setNormalized(7.0));
  EXPECT_DOUBLE_EQ(steps.getNormalized(), 1.0);

  double n = 0;
  EXPECT_TRUE(ParseLeadingNumber("-1.5e1 Hz", n));
  EXPECT_DOUBLE_EQ(n, -15.0);
  EXPECT_FALSE(ParseLeadingNumber("inf", n));
  EXPECT_TRUE(ParseLeadingNumber("0x10", n));  // the number ends where the digits do
  EXPECT_EQ(n, 0.0);
  // Correctly rounded in every locale: the point never reaches the C library.
  const char* const exact[] = {"0.1",
                               ".5",
                               "5.",
                               "0.000123",
                               "2.2250738585072014e-308",
                               "1.7976931348623157e308",
                               "9007199254740993",
                               "1e-320"};
  for (const char* s : exact) {
    EXPECT_TRUE(ParseLeadingNumber(s, n)) << s;
    EXPECT_EQ(n, std::strtod(s, nullptr)) << s;
  }
  // Halfway between 1 and the next double, then just above it far past the 800th digit.
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  EXPECT_TRUE(ParseLeadingNumber(half.c_str(), n));
  EXPECT_EQ(n, 1.0);
  EXPECT_TRUE(ParseLeadingNumber((half + std::string(900, '0') + "1").c_str(), n));
  EXPECT_EQ(n, std::nextafter(1.0, 2.0));
  EXPECT_TRUE(ParseLeadingNumber("12.5e dB", n));  // an exponent without digits is not one
  EXPECT_EQ(n, 12.5);
  EXPECT_FALSE(ParseLeadingNumber("1e400", n));
  EXPECT_FALSE(ParseLeadingNumber("-.e1", n));

  ParamRegistry registry;
  EXPECT_NE(registry.Add(std::make_unique<HostParam>("A", 5, "", 0.0, 0, 0, 0)), nullptr);
  EXPECT_EQ(registry.Add(std::make_unique<HostParam>("B", 5, "", 0.0, 0, 0, 0)), nullptr);
  EXPECT_EQ(registry.Count(), 1);
  EXPECT_EQ(registry.Get(6), nullptr);
}

namespace {

class Frame : public IPlugFrame {
 public:
  tresult VST3ABI_CALL queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3ABI_CALL addRef() override { return ++refs; }
  uint32 VST3ABI_CALL release() override { return --refs; }
  tresult VST3ABI_CALL resizeView(IPlugView* view, ViewRect* r) override {
    return view->onSize(r);  // as hosts do, from inside the call
  }
  uint32 refs = 1;
};

}  // namespace

TEST(PlugViewBase, ResizesThroughTheHostFrame) {
  auto* view = new PlugViewBase;
  EXPECT_FALSE(view->RequestResize(100, 50));
  Frame frame;
  view->setFrame(&frame);
  EXPECT_TRUE(view->RequestResize(100, 50));
  ViewRect r{};
  ASSERT_EQ(view->getSize(&r), kResultOk);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 50);
  EXPECT_EQ(view->canResize(), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
  // The view keeps the frame alive while it holds it, and lets it go when cleared or destroyed.
  EXPECT_EQ(frame.refs, 2u);
  view->setFrame(nullptr);
  EXPECT_EQ(frame.refs, 1u);
  view->setFrame(&frame);
  EXPECT_EQ(view->release(), 0u);
  EXPECT_EQ(frame.refs, 1u);
}
