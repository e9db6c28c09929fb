// The host objects plug-ins talk to: the memory stream behind state, the parameter change queues
// of each block, the event list, messages and the host context. Plug-ins rely on exact semantics
// here (short reads, sorted points, borrowed pointers), so each is checked through its interface.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "host/vst3/ComponentHandler.h"
#include "host/vst3/EventList.h"
#include "host/vst3/HostContext.h"
#include "host/vst3/HostMessages.h"
#include "host/vst3/MemoryStream.h"
#include "host/vst3/ParameterChanges.h"
#include "host/vst3/Ref.h"
#include "vst3/abi/EditController.h"
#include "vst3/abi/ResultCodes.h"

using namespace qvhost;
using namespace vst3abi;

TEST(MemoryStream, ReadsWritesAndSeeksLikeAStateStream) {
  auto s = Ref<MemoryStream>::adopt(new MemoryStream);
  IBStream* stream = s.get();
  char data[] = "abcdef";
  int32 n = -1;
  EXPECT_EQ(stream->write(data, 6, &n), kResultOk);
  EXPECT_EQ(n, 6);
  int64 pos = -1;
  EXPECT_EQ(stream->tell(&pos), kResultOk);
  EXPECT_EQ(pos, 6);

  // Reading at the end succeeds with zero bytes: callers must check the count.
  char buf[8] = {};
  EXPECT_EQ(stream->read(buf, 4, &n), kResultOk);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(stream->seek(-2, IBStream::kIBSeekEnd, &pos), kResultOk);
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(stream->read(buf, 8, &n), kResultOk);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(std::string(buf, 2), "ef");
  EXPECT_EQ(stream->read(buf, 1, nullptr), kResultOk);  // a null count pointer is allowed

  // Writing past the end fills the gap with zeros.
  EXPECT_EQ(stream->seek(10, IBStream::kIBSeekSet, nullptr), kResultOk);
  EXPECT_EQ(stream->write(data, 1, nullptr), kResultOk);
  ASSERT_EQ(s->data().size(), 11u);
  EXPECT_EQ(s->data()[7], 0);
  EXPECT_EQ(s->data()[10], 'a');

  EXPECT_EQ(stream->seek(-1, IBStream::kIBSeekSet, &pos), kInvalidArgument);
  EXPECT_EQ(stream->seek(-100, IBStream::kIBSeekCur, &pos), kInvalidArgument);
  EXPECT_EQ(stream->seek(0, 7, &pos), kInvalidArgument);
  EXPECT_EQ(stream->seek(std::numeric_limits<int64>::max(), IBStream::kIBSeekEnd, &pos), kInvalidArgument);
  EXPECT_EQ(stream->read(buf, -1, &n), kInvalidArgument);
  EXPECT_EQ(stream->write(nullptr, 4, &n), kInvalidArgument);
  EXPECT_EQ(stream->tell(nullptr), kInvalidArgument);
}

TEST(MemoryStream, AnswersTheSizeQueryAndCountsReferences) {
  auto s = Ref<MemoryStream>::adopt(new MemoryStream(std::vector<uint8_t>{1, 2, 3}));
  auto sizeable = s.query<ISizeableStream>();
  ASSERT_TRUE(sizeable);
  int64 size = 0;
  EXPECT_EQ(sizeable->getStreamSize(&size), kResultOk);
  EXPECT_EQ(size, 3);
  EXPECT_EQ(sizeable->setStreamSize(1), kResultOk);
  EXPECT_EQ(s->data().size(), 1u);
  EXPECT_EQ(sizeable->setStreamSize(-1), kInvalidArgument);

  // Every interface of the object hands out the same FUnknown.
  auto a = s.query<FUnknown>();
  auto b = sizeable.query<FUnknown>();
  EXPECT_EQ(a.get(), b.get());
  void* obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(s->queryInterface(IEventList::iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(s->addRef(), 5u);  // s, sizeable, a, b, and this one
  EXPECT_EQ(s->release(), 4u);
}

TEST(ParameterChanges, QueuesKeepPointsSortedAndOnePerParameter) {
  ParameterChangeList list;
  IParameterChanges* changes = &list;
  const ParamID id7 = 7, id9 = 9;
  int32 index = -1;
  IParamValueQueue* q = changes->addParameterData(&id7, &index);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(changes->addParameterData(&id7, &index), q);  // the existing queue for the same id
  IParamValueQueue* q9 = changes->addParameterData(&id9, &index);
  EXPECT_EQ(q9, changes->getParameterData(1));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(changes->getParameterCount(), 2);
  EXPECT_EQ(changes->getParameterData(2), nullptr);
  EXPECT_EQ(changes->getParameterData(-1), nullptr);
  EXPECT_EQ(changes->addParameterData(nullptr, &index), nullptr);

  EXPECT_EQ(q->addPoint(100, 0.5, &index), kResultTrue);
  EXPECT_EQ(q->addPoint(10, 0.1, &index), kResultTrue);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(q->addPoint(50, 0.3, &index), kResultTrue);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(q->addPoint(50, 0.35, &index), kResultTrue);  // same offset replaces
  EXPECT_EQ(q->getPointCount(), 3);
  int32 offset = 0;
  double value = 0;
  const std::pair<int32, double> want[] = {{10, 0.1}, {50, 0.35}, {100, 0.5}};
  for (int32 i = 0; i < 3; ++i) {
    EXPECT_EQ(q->getPoint(i, &offset, &value), kResultTrue);
    EXPECT_EQ(offset, want[i].first);
    EXPECT_EQ(value, want[i].second);
  }
  EXPECT_EQ(q->getPoint(3, &offset, &value), kResultFalse);
  EXPECT_EQ(q->getPoint(-1, &offset, &value), kResultFalse);
  EXPECT_EQ(q->addPoint(-1, 0.5, &index), kInvalidArgument);
  EXPECT_EQ(q->addPoint(5, std::nan(""), &index), kInvalidArgument);

  // Clearing reuses the queue objects and starts them empty.
  list.clear();
  EXPECT_EQ(changes->getParameterCount(), 0);
  IParamValueQueue* again = changes->addParameterData(&id9, &index);
  EXPECT_EQ(again, q);
  EXPECT_EQ(again->getParameterId(), id9);
  EXPECT_EQ(again->getPointCount(), 0);
}

TEST(EventListAndMessages, StoreWhatPlugInsHandThem) {
  EventList events;
  Event e{};
  e.type = Event::kNoteOnEvent;
  e.noteOn.pitch = 60;
  EXPECT_EQ(events.addEvent(&e), kResultOk);
  Event out{};
  EXPECT_EQ(events.getEvent(0, &out), kResultOk);
  EXPECT_EQ(out.noteOn.pitch, 60);
  EXPECT_NE(events.getEvent(1, &out), kResultOk);
  EXPECT_NE(events.addEvent(nullptr), kResultOk);

  auto context = Ref<HostContext>::adopt(new HostContext("test host"));
  String128 name = {};
  EXPECT_EQ(context->getName(name), kResultOk);
  EXPECT_EQ(std::u16string(name), u"test host");

  // Plug-ins allocate messages with class and interface id both set to IMessage.
  TUID messageId, listId;
  std::memcpy(messageId, IMessage::iid.bytes, 16);
  std::memcpy(listId, IAttributeList::iid.bytes, 16);
  void* obj = nullptr;
  EXPECT_NE(context->createInstance(messageId, listId, &obj), kResultOk);
  EXPECT_EQ(obj, nullptr);
  ASSERT_EQ(context->createInstance(messageId, messageId, &obj), kResultOk);
  auto message = Ref<IMessage>::adopt(static_cast<IMessage*>(obj));
  message->setMessageID("meter");
  EXPECT_STREQ(message->getMessageID(), "meter");
  IAttributeList* attrs = message->getAttributes();
  ASSERT_NE(attrs, nullptr);
  EXPECT_EQ(attrs->setInt("n", -5), kResultOk);
  EXPECT_EQ(attrs->setString("s", u"h\u00e9llo"), kResultOk);
  const uint8_t blob[3] = {1, 2, 3};
  EXPECT_EQ(attrs->setBinary("b", blob, 3), kResultOk);
  int64 n = 0;
  EXPECT_EQ(attrs->getInt("n", &n), kResultOk);
  EXPECT_EQ(n, -5);
  double f = 0;
  EXPECT_NE(attrs->getFloat("n", &f), kResultOk);  // wrong type
  EXPECT_NE(attrs->getInt("missing", &n), kResultOk);
  // String sizes are in bytes: a 4-unit buffer holds 3 characters and the terminator.
  TChar small[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(attrs->getString("s", small, sizeof small), kResultOk);
  EXPECT_EQ(std::u16string(small), u"h\u00e9l");
  const void* data = nullptr;
  uint32 size = 0;
  EXPECT_EQ(attrs->getBinary("b", &data, &size), kResultOk);
  ASSERT_EQ(size, 3u);
  EXPECT_EQ(std::memcmp(data, blob, 3), 0);

  EXPECT_EQ(context->isPlugInterfaceSupported(IEditController::iid.bytes), kResultTrue);
  EXPECT_EQ(context->isPlugInterfaceSupported(IMidiMapping::iid.bytes), kResultFalse);
}

TEST(ComponentHandler, CollectsEditsAndRestartRequestsForTheNextBlock) {
  auto handler = Ref<ComponentHandler>::adopt(new ComponentHandler);
  IComponentHandler* h = handler.get();
  EXPECT_EQ(h->beginEdit(3), kResultOk);
  EXPECT_EQ(h->performEdit(3, 0.25), kResultOk);
  EXPECT_EQ(h->performEdit(3, 0.5), kResultOk);
  EXPECT_NE(h->performEdit(3, std::nan("")), kResultOk);
  EXPECT_EQ(handler->openGestures(), 1);
  EXPECT_EQ(h->endEdit(3), kResultOk);
  EXPECT_EQ(h->restartComponent(kLatencyChanged), kResultOk);
  EXPECT_EQ(h->restartComponent(kParamValuesChanged), kResultOk);

  const auto edits = handler->takeEdits();
  ASSERT_EQ(edits.size(), 2u);
  EXPECT_EQ(edits[1].value, 0.5);
  EXPECT_TRUE(handler->takeEdits().empty());
  EXPECT_EQ(handler->takeRestartFlags(), kLatencyChanged | kParamValuesChanged);
  EXPECT_EQ(handler->takeRestartFlags(), 0);
  EXPECT_TRUE(handler.query<IComponentHandler3>());
  EXPECT_EQ(handler.query<IComponentHandler3>()->createContextMenu(nullptr, nullptr), nullptr);
}
