// Size menu on the logo.
#include "plugin/EditorSizeControl.h"

#include "graphics/IGraphics.h"
#include "graphics/IPopupMenu.h"

#include <cmath>
#include <cstdio>

namespace {
const IColor kCue(110, 237, 227, 203);
}  // namespace

EditorSizeControl::EditorSizeControl(IPlugin* plug, const IRECT& rect) : IControl(plug, rect) {}

int EditorSizeControl::ItemForScale(double scale) {
  int best = 0;
  for (int i = 1; i < static_cast<int>(std::size(kSizes)); ++i)
    if (std::fabs(kSizes[i] - scale) < std::fabs(kSizes[best] - scale)) best = i;
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
  for (int i = 0; i < static_cast<int>(std::size(kSizes)); ++i) {
    char label[16];
    std::snprintf(label, sizeof label, "%d %%", static_cast<int>(std::lround(kSizes[i] * 100)));
    if (IPopupMenuItem* item = menu.AddItem(label)) item->SetChecked(i == current);
  }
  IRECT anchor(mRECT.L, mRECT.B, mRECT.R, mRECT.B);
  IPopupMenu* chosen = graphics->CreateIPopupMenu(&menu, &anchor);
  mHover = false;
  SetDirty(false);
  if (!chosen) return;
  const int idx = chosen->GetChosenItemIdx();
  if (idx >= 0 && idx < static_cast<int>(std::size(kSizes))) graphics->SetUserScale(kSizes[idx]);
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
