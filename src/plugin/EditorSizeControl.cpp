// Size menu on the logo.
#include "plugin/EditorSizeControl.h"

#include "graphics/IGraphics.h"
#include "graphics/IPopupMenu.h"

#include <cmath>
#include <cstdio>
#include <iterator>

namespace {
const IColor kCue(110, 237, 227, 203);
constexpr int kNumSizes = static_cast<int>(std::size(IGraphics::kScaleSteps));
}  // namespace

EditorSizeControl::EditorSizeControl(IPlugin* plug, const IRECT& rect) : IControl(plug, rect) {}

int EditorSizeControl::ItemForScale(double scale) {
  int best = 0;
  for (int i = 1; i < kNumSizes; ++i)
    if (std::fabs(IGraphics::kScaleSteps[i] - scale) < std::fabs(IGraphics::kScaleSteps[best] - scale))
      best = i;
  return best;
}

bool EditorSizeControl::Draw(IGraphics* graphics) {
  if (!mHover) return true;
  IRECT frame = mRECT;
  return graphics->RoundRect(&kCue, &frame, nullptr, 4, true);
}

void EditorSizeControl::OnMouseDown(int, int, IMouseMod*) {
  IGraphics* graphics = GetGUI();
  if (!graphics) return;
  IPopupMenu menu;
  const int current = ItemForScale(graphics->GetScale());
  for (int i = 0; i < kNumSizes; ++i) {
    const double size = IGraphics::kScaleSteps[i];
    char label[16];
    std::snprintf(label, sizeof label, "%d %%", static_cast<int>(std::lround(size * 100)));
    if (IPopupMenuItem* item = menu.AddItem(label)) {
      item->SetChecked(i == current);
      item->SetEnabled(graphics->FitsScreen(size));
    }
  }
  IRECT anchor(mRECT.L, mRECT.B, mRECT.R, mRECT.B);
  IPopupMenu* chosen = graphics->CreateIPopupMenu(&menu, &anchor);
  mHover = false;
  SetDirty(false);
  if (!chosen) return;
  const int idx = chosen->GetChosenItemIdx();
  if (idx >= 0 && idx < kNumSizes) graphics->SetUserScale(IGraphics::kScaleSteps[idx]);
}

void EditorSizeControl::OnMouseOver(int, int, IMouseMod*) {
  if (mHover) return;
  mHover = true;
  SetDirty(false);
}

void EditorSizeControl::OnMouseOut() {
  if (!mHover) return;
  mHover = false;
  SetDirty(false);
}
