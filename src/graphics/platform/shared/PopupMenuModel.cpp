// Popup menu layout, placement and navigation.
#include "graphics/platform/shared/PopupMenuModel.h"

#include <algorithm>
#include <cstdio>

std::string PopupMenuLabel(const IPopupMenu& menu, int index) {
  const IPopupMenuItem* item = menu.GetItem(index);
  if (!item) return std::string();
  static const char* const kFormats[] = {"", "%1d: ", "%02d: ", "%03d: "};
  const int prefix = menu.GetPrefix();
  std::string label;
  if (prefix > 0 && prefix <= 3) {
    char buf[32];
    std::snprintf(buf, sizeof(buf), kFormats[prefix], index + 1);
    label = buf;
  }
  return label + item->GetText();
}

void PopupMenuLayout::Build(const IPopupMenu& menu, const PopupMenuMetrics& metrics) {
  mRows.clear();
  int y = metrics.mPadding;
  int textW = 0;
  for (int i = 0; i < menu.GetNItems(); ++i) {
    const IPopupMenuItem* item = menu.GetItem(i);
    PopupMenuRow row;
    row.mSeparator = item->GetIsSeparator();
    row.mTitle = item->GetIsTitle();
    row.mDisabled = !item->GetEnabled();
    row.mChecked = item->GetChecked();
    row.mSubmenu = row.mSeparator ? nullptr : item->GetSubmenu();
    if (!row.mSeparator) row.mLabel = PopupMenuLabel(menu, i);
    row.mTop = y;
    row.mHeight = row.mSeparator ? metrics.mSeparatorHeight : metrics.mRowHeight;
    y += row.mHeight;
    if (!row.mSeparator && metrics.mTextWidth)
      textW =
          std::max(textW, metrics.mTextWidth(row.mLabel.c_str()) + (row.mTitle ? metrics.mTitleIndent : 0));
    mRows.push_back(row);
  }
  mHeight = y + metrics.mPadding;
  mWidth = std::max(metrics.mMinWidth, metrics.mCheckWidth + textW + metrics.mArrowWidth);
}

int PopupMenuLayout::RowAt(int x, int y) const {
  if (x < 0 || x >= mWidth) return -1;
  for (size_t i = 0; i < mRows.size(); ++i)
    if (y >= mRows[i].mTop && y < mRows[i].mTop + mRows[i].mHeight) return static_cast<int>(i);
  return -1;
}

int PopupMenuLayout::Step(int from, int dir) const {
  const int n = static_cast<int>(mRows.size());
  if (n == 0) return -1;
  int i = from < 0 ? (dir > 0 ? -1 : n) : from;
  for (int tries = 0; tries < n; ++tries) {
    i = (i + dir + n) % n;
    if (mRows[static_cast<size_t>(i)].Selectable()) return i;
  }
  return -1;
}

namespace {
int KeepOnScreen(int pos, int size, int screen) {
  if (pos + size > screen) pos = screen - size;
  return pos < 0 ? 0 : pos;
}
}  // namespace

void PlaceMenu(const IRECT& anchor, int w, int h, int screenW, int screenH, int* x, int* y) {
  int top = anchor.B + 4;
  if (top + h > screenH && anchor.T - h >= 0) top = anchor.T - h;
  *x = KeepOnScreen(anchor.L, w, screenW);
  *y = KeepOnScreen(top, h, screenH);
}

void PlaceSubmenu(int parentX, int parentY, int parentW, const PopupMenuRow& row, int w, int h, int screenW,
                  int screenH, int* x, int* y) {
  // Overlap the parent by a little so the pointer crosses no gap.
  int left = parentX + parentW - 2;
  if (left + w > screenW && parentX - w + 2 >= 0) left = parentX - w + 2;
  *x = KeepOnScreen(left, w, screenW);
  *y = KeepOnScreen(parentY + row.mTop - 3, h, screenH);
}

bool PopupMenuNavigator::Start(IPopupMenu* menu, const IRECT& anchor, int screenW, int screenH,
                               const PopupMenuMetrics& metrics) {
  mLevels.clear();
  mChosenMenu = nullptr;
  mChosenIndex = -1;
  if (!menu || menu->GetNItems() == 0) return false;
  mMetrics = metrics;
  mScreenW = screenW;
  mScreenH = screenH;
  Level level;
  level.mMenu = menu;
  level.mLayout.Build(*menu, mMetrics);
  PlaceMenu(anchor, level.mLayout.Width(), level.mLayout.Height(), screenW, screenH, &level.mX, &level.mY);
  mLevels.push_back(std::move(level));
  return true;
}

int PopupMenuNavigator::LevelAt(int x, int y) const {
  // Submenus lie on top of their parents.
  for (int i = static_cast<int>(mLevels.size()) - 1; i >= 0; --i)
    if (mLevels[static_cast<size_t>(i)].Contains(x, y)) return i;
  return -1;
}

bool PopupMenuNavigator::OpenSubmenu(int level, int row, bool highlightFirst) {
  const Level& parent = mLevels[static_cast<size_t>(level)];
  const PopupMenuRow& r = parent.mLayout.Rows()[static_cast<size_t>(row)];
  if (!r.mSubmenu || r.mDisabled || r.mSubmenu->GetNItems() == 0 || level + 1 >= kMaxDepth) return false;
  Level sub;
  sub.mMenu = r.mSubmenu;
  sub.mLayout.Build(*r.mSubmenu, mMetrics);
  PlaceSubmenu(parent.mX, parent.mY, parent.mLayout.Width(), r, sub.mLayout.Width(), sub.mLayout.Height(),
               mScreenW, mScreenH, &sub.mX, &sub.mY);
  if (highlightFirst) sub.mHighlight = sub.mLayout.Step(-1, 1);
  mLevels.resize(static_cast<size_t>(level) + 1);
  mLevels.push_back(std::move(sub));
  return true;
}

PopupMenuNavigator::EOutcome PopupMenuNavigator::Choose(int level, int row) {
  const Level& l = mLevels[static_cast<size_t>(level)];
  const PopupMenuRow& r = l.mLayout.Rows()[static_cast<size_t>(row)];
  if (!r.Selectable() || r.mSubmenu) return EOutcome::kNone;
  mChosenMenu = l.mMenu;
  mChosenIndex = row;
  return EOutcome::kChosen;
}

PopupMenuNavigator::EOutcome PopupMenuNavigator::Motion(int x, int y) {
  const int li = LevelAt(x, y);
  if (li < 0) return EOutcome::kNone;
  Level& level = mLevels[static_cast<size_t>(li)];
  int row = level.mLayout.RowAt(x - level.mX, y - level.mY);
  if (row >= 0 && !level.mLayout.Rows()[static_cast<size_t>(row)].Selectable()) row = -1;
  const bool subAlreadyOpen =
      row >= 0 && static_cast<size_t>(li) + 1 < mLevels.size() &&
      mLevels[static_cast<size_t>(li) + 1].mMenu == level.mLayout.Rows()[static_cast<size_t>(row)].mSubmenu;
  if (row == level.mHighlight && (subAlreadyOpen || static_cast<size_t>(li) + 1 == mLevels.size()))
    return EOutcome::kNone;
  level.mHighlight = row;
  if (!subAlreadyOpen) {
    mLevels.resize(static_cast<size_t>(li) + 1);
    if (row >= 0) OpenSubmenu(li, row, false);
  }
  return EOutcome::kChanged;
}

PopupMenuNavigator::EOutcome PopupMenuNavigator::Press(int x, int y) {
  if (LevelAt(x, y) < 0) return EOutcome::kDismissed;
  return Motion(x, y);
}

PopupMenuNavigator::EOutcome PopupMenuNavigator::Release(int x, int y) {
  const int li = LevelAt(x, y);
  if (li < 0) return EOutcome::kNone;
  const Level& level = mLevels[static_cast<size_t>(li)];
  const int row = level.mLayout.RowAt(x - level.mX, y - level.mY);
  return row < 0 ? EOutcome::kNone : Choose(li, row);
}

PopupMenuNavigator::EOutcome PopupMenuNavigator::Key(const EditorKey& key) {
  if (mLevels.empty()) return EOutcome::kDismissed;
  const int li = static_cast<int>(mLevels.size()) - 1;
  Level& level = mLevels.back();
  switch (key.mNamed) {
    case ENamedKey::kEscape:
      return EOutcome::kDismissed;
    case ENamedKey::kUp:
    case ENamedKey::kDown: {
      const int next = level.mLayout.Step(level.mHighlight, key.mNamed == ENamedKey::kDown ? 1 : -1);
      if (next == level.mHighlight) return EOutcome::kNone;
      level.mHighlight = next;
      return EOutcome::kChanged;
    }
    case ENamedKey::kLeft:
      if (li == 0) return EOutcome::kNone;
      mLevels.pop_back();
      return EOutcome::kChanged;
    case ENamedKey::kRight:
      return level.mHighlight >= 0 && OpenSubmenu(li, level.mHighlight, true) ? EOutcome::kChanged
                                                                              : EOutcome::kNone;
    case ENamedKey::kReturn:
      if (level.mHighlight < 0) return EOutcome::kNone;
      if (OpenSubmenu(li, level.mHighlight, true)) return EOutcome::kChanged;
      return Choose(li, level.mHighlight);
    default:
      return EOutcome::kNone;
  }
}
