// The per-block parameter change list the host passes to process: one queue per parameter with
// points sorted by sample offset. Queues are pooled so clearing between blocks allocates nothing.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "host/vst3/RefCount.h"
#include "vst3/abi/ParameterChanges.h"

namespace qvhost {

class ParamValueQueue final : public vst3abi::IParamValueQueue {
 public:
  ParamValueQueue() { mPoints.reserve(16); }

  void reset(vst3abi::ParamID id) {
    mId = id;
    mPoints.clear();
  }

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  // Owned by its list; counting is kept only so a plug-in's addRef/release pairs stay harmless.
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override { return mRefs.sub(); }

  vst3abi::ParamID VST3ABI_CALL getParameterId() override { return mId; }
  vst3abi::int32 VST3ABI_CALL getPointCount() override { return static_cast<vst3abi::int32>(mPoints.size()); }
  vst3abi::tresult VST3ABI_CALL getPoint(vst3abi::int32 index, vst3abi::int32* sampleOffset,
                                         vst3abi::ParamValue* value) override;
  // Keeps points sorted; a point at an existing offset replaces it.
  vst3abi::tresult VST3ABI_CALL addPoint(vst3abi::int32 sampleOffset, vst3abi::ParamValue value,
                                         vst3abi::int32* index) override;

 private:
  RefCount mRefs;
  vst3abi::ParamID mId = vst3abi::kNoParamId;
  std::vector<std::pair<vst3abi::int32, vst3abi::ParamValue>> mPoints;
};

class ParameterChangeList final : public vst3abi::IParameterChanges {
 public:
  ParameterChangeList() = default;
  ParameterChangeList(const ParameterChangeList&) = delete;
  ParameterChangeList& operator=(const ParameterChangeList&) = delete;

  // Empties the list; queue objects are kept for reuse.
  void clear() { mUsed = 0; }
  // The queue for id, created when absent.
  ParamValueQueue* queueFor(vst3abi::ParamID id, vst3abi::int32* index = nullptr);

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  // Lives as long as its owner (a member of the runner); counting is informational.
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override { return mRefs.sub(); }

  vst3abi::int32 VST3ABI_CALL getParameterCount() override { return static_cast<vst3abi::int32>(mUsed); }
  vst3abi::IParamValueQueue* VST3ABI_CALL getParameterData(vst3abi::int32 index) override;
  vst3abi::IParamValueQueue* VST3ABI_CALL addParameterData(const vst3abi::ParamID* id,
                                                           vst3abi::int32* index) override;

 private:
  RefCount mRefs;
  std::vector<std::unique_ptr<ParamValueQueue>> mQueues;
  size_t mUsed = 0;
};

}  // namespace qvhost
