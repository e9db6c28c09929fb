// EditorKey: a key press as the window reports it to the editor's key dispatch, the text entry
// and the popup menu: one of the few named keys they act on, or a printable ASCII character.
// The window system's own key symbols are translated once, in the window.
#pragma once

enum class ENamedKey {
  kNone = 0,
  kUp,
  kDown,
  kLeft,
  kRight,
  kReturn,
  kEscape,
  kBackSpace,
  kDelete,
  kHome,
  kEnd,
  kTab,
};

struct EditorKey {
  ENamedKey mNamed = ENamedKey::kNone;
  char mChar = 0;  // printable ASCII (space included) when mNamed is kNone, else 0
  bool mControl = false;

  static EditorKey Named(ENamedKey key) {
    EditorKey k;
    k.mNamed = key;
    return k;
  }
  static EditorKey Char(char c) {
    EditorKey k;
    k.mChar = c;
    return k;
  }
};

// The engine's key code: space 0, up 1, down 2, left 3, right 4, digits 5..14, letters 15..40
// (either case); -1 for keys the editor does not take.
int EditorKeyCode(const EditorKey& key);
