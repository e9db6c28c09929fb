// PopupMenuModel: layout, placement and navigation of our own popup menus, independent of the
// window system. A navigator holds the open levels (the menu and the submenus opened from it),
// takes pointer positions in screen coordinates and keys, and says what the window must do.
#pragma once

#include "graphics/IPopupMenu.h"
#include "graphics/IRECT.h"
#include "graphics/platform/shared/EditorKey.h"

#include <functional>
#include <string>
#include <vector>

struct PopupMenuMetrics {
  int mRowHeight = 18;
  int mSeparatorHeight = 7;
  int mPadding = 3;       // above the first and below the last row
  int mCheckWidth = 18;   // left of the text, where the check mark goes
  int mTitleIndent = 10;  // title items are indented, as a level-1 item
  int mArrowWidth = 18;   // right of the text, where the submenu arrow goes
  int mMinWidth = 60;
  std::function<int(const char*)> mTextWidth;  // pixels; null measures nothing
};

struct PopupMenuRow {
  std::string mLabel;  // the numbering prefix and the item's text
  int mTop = 0, mHeight = 0;
  bool mSeparator = false, mTitle = false, mDisabled = false, mChecked = false;
  IPopupMenu* mSubmenu = nullptr;

  bool Selectable() const { return !mSeparator && !mDisabled; }
};

// The item's text preceded by the menu's numbering prefix ("%1d: ", "%02d: ", "%03d: ").
std::string PopupMenuLabel(const IPopupMenu& menu, int index);

class PopupMenuLayout {
 public:
  void Build(const IPopupMenu& menu, const PopupMenuMetrics& metrics);

  // Row under a point relative to the menu's top-left, or -1.
  int RowAt(int x, int y) const;
  // The next selectable row after `from` in direction dir (+1 or -1), wrapping; from -1 starts
  // at the first (or last) row. -1 when no row is selectable.
  int Step(int from, int dir) const;

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  const std::vector<PopupMenuRow>& Rows() const { return mRows; }

 private:
  std::vector<PopupMenuRow> mRows;
  int mWidth = 0, mHeight = 0;
};

// Top-left of a w x h menu opened from an anchor rectangle (screen coordinates): below it, 4
// pixels down, or above it when it does not fit below; kept on the screen.
void PlaceMenu(const IRECT& anchor, int w, int h, int screenW, int screenH, int* x, int* y);
// Top-left of a submenu opened from a row: beside the parent, on its right unless only the left
// has room.
void PlaceSubmenu(int parentX, int parentY, int parentW, const PopupMenuRow& row, int w, int h, int screenW,
                  int screenH, int* x, int* y);

class PopupMenuNavigator {
 public:
  static constexpr int kMaxDepth = 8;  // a menu that contains itself must not open forever

  struct Level {
    IPopupMenu* mMenu = nullptr;
    PopupMenuLayout mLayout;
    int mX = 0, mY = 0;
    int mHighlight = -1;

    bool Contains(int x, int y) const {
      return x >= mX && y >= mY && x < mX + mLayout.Width() && y < mY + mLayout.Height();
    }
  };

  enum class EOutcome {
    kNone = 0,
    kChanged,  // highlight or levels changed: redraw, open or close windows to match
    kChosen,
    kDismissed,
  };

  // False (and nothing to show) for a null or empty menu.
  bool Start(IPopupMenu* menu, const IRECT& anchor, int screenW, int screenH,
             const PopupMenuMetrics& metrics);

  EOutcome Motion(int x, int y);
  EOutcome Press(int x, int y);
  EOutcome Release(int x, int y);
  EOutcome Key(const EditorKey& key);

  const std::vector<Level>& Levels() const { return mLevels; }
  IPopupMenu* ChosenMenu() const { return mChosenMenu; }
  int ChosenIndex() const { return mChosenIndex; }

 private:
  int LevelAt(int x, int y) const;
  bool OpenSubmenu(int level, int row, bool highlightFirst);
  EOutcome Choose(int level, int row);

  std::vector<Level> mLevels;
  PopupMenuMetrics mMetrics;
  int mScreenW = 0, mScreenH = 0;
  IPopupMenu* mChosenMenu = nullptr;
  int mChosenIndex = -1;
};
