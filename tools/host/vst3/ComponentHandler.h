// The host's component handler: records the edits and restart requests a controller reports, so
// the runner can forward edits to the processor in the next block the way a DAW would, and hands
// out the open editor's context menus.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "host/vst3/RefCount.h"
#include "vst3/abi/ComponentHandler.h"
#include "vst3/abi/ContextMenu.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/abi/UnitInfo.h"

namespace qvhost {

class ComponentHandler final : public vst3abi::IComponentHandler,
                               public vst3abi::IComponentHandler2,
                               public vst3abi::IComponentHandler3,
                               public vst3abi::IComponentHandlerBusActivation,
                               public vst3abi::IUnitHandler {
 public:
  struct Edit {
    vst3abi::ParamID id;
    vst3abi::ParamValue value;
  };
  struct Gesture {
    enum Kind { kBegin, kPerform, kEnd };
    Kind kind;
    vst3abi::ParamID id;
    vst3abi::ParamValue value;  // performEdit only
  };

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override;

  vst3abi::tresult VST3ABI_CALL beginEdit(vst3abi::ParamID id) override;
  vst3abi::tresult VST3ABI_CALL performEdit(vst3abi::ParamID id,
                                            vst3abi::ParamValue valueNormalized) override;
  vst3abi::tresult VST3ABI_CALL endEdit(vst3abi::ParamID id) override;
  vst3abi::tresult VST3ABI_CALL restartComponent(vst3abi::int32 flags) override;

  vst3abi::tresult VST3ABI_CALL setDirty(vst3abi::TBool state) override;
  vst3abi::tresult VST3ABI_CALL requestOpenEditor(vst3abi::FIDString name) override;
  vst3abi::tresult VST3ABI_CALL startGroupEdit() override { return vst3abi::kResultOk; }
  vst3abi::tresult VST3ABI_CALL finishGroupEdit() override { return vst3abi::kResultOk; }

  // The open editor's menu; none while no editor is open (a command-line run).
  vst3abi::IContextMenu* VST3ABI_CALL createContextMenu(vst3abi::IPlugView* view,
                                                        const vst3abi::ParamID* id) override {
    return mMenuFactory ? mMenuFactory(view, id) : nullptr;
  }

  vst3abi::tresult VST3ABI_CALL requestBusActivation(vst3abi::MediaType type, vst3abi::BusDirection dir,
                                                     vst3abi::int32 index, vst3abi::TBool state) override;

  vst3abi::tresult VST3ABI_CALL notifyUnitSelection(vst3abi::UnitID) override { return vst3abi::kResultOk; }
  vst3abi::tresult VST3ABI_CALL notifyProgramListChange(vst3abi::ProgramListID, vst3abi::int32) override {
    return vst3abi::kResultOk;
  }

  // Set by an editor while it is open (UI thread); returns a menu with a reference for the caller.
  using MenuFactory = std::function<vst3abi::IContextMenu*(vst3abi::IPlugView*, const vst3abi::ParamID*)>;
  void setMenuFactory(MenuFactory factory) { mMenuFactory = std::move(factory); }
  // A change the host makes itself (say, from its menu): forwarded to the processor like an edit.
  vst3abi::tresult hostEdit(vst3abi::ParamID id, vst3abi::ParamValue valueNormalized);

  // Edits reported since the last call, oldest first.
  std::vector<Edit> takeEdits();
  // Restart flags accumulated since the last call.
  vst3abi::int32 takeRestartFlags() { return mRestartFlags.exchange(0); }
  bool dirty() const { return mDirty.load(std::memory_order_relaxed); }
  int openGestures() const { return mGestures.load(std::memory_order_relaxed); }
  // While on, every begin, perform and end is also logged in arrival order (bounded like edits).
  void logGestures(bool on);
  std::vector<Gesture> takeGestures();

  // Bounds the backlog if a plug-in reports edits while no block is being processed.
  static constexpr size_t kMaxPendingEdits = 1 << 16;

 private:
  ~ComponentHandler() = default;
  void log(Gesture::Kind kind, vst3abi::ParamID id, vst3abi::ParamValue value);

  RefCount mRefs;
  std::mutex mMutex;
  std::vector<Edit> mEdits;
  bool mLogGestures = false;
  std::vector<Gesture> mGestureLog;
  std::atomic<vst3abi::int32> mRestartFlags{0};
  std::atomic<bool> mDirty{false};
  std::atomic<int> mGestures{0};
  MenuFactory mMenuFactory;
};

}  // namespace qvhost
