// TextEntryModel: the editing state of a value prompt (text, caret, whole-text selection) and the
// rules a parameter puts on what may be typed: an allowed character set and a maximum length.
#pragma once

#include "graphics/platform/shared/EditorKey.h"

#include <string>

class IParam;

class TextEntryModel {
 public:
  enum class EOutcome {
    kIgnored = 0,
    kEdited,    // text or caret changed: redraw
    kRejected,  // the key would break the filter or the length limit
    kCommit,
    kCancel,
  };

  // Characters a parameter of this kind accepts, or null when any character goes.
  static const char* FilterFor(const IParam* param);

  // The text starts out wholly selected, so the first character typed replaces it. A filter
  // and a limit (0: none) constrain edits, not the initial text.
  void Reset(const char* text, const char* filter, int maxLength);

  EOutcome HandleKey(const EditorKey& key);
  // Inserts what the filter and the limit allow, stopping at the first refused character.
  EOutcome InsertText(const char* text);

  const std::string& Text() const { return mText; }
  int Caret() const { return mCaret; }
  bool AllSelected() const { return mAllSelected; }

 private:
  bool Accepts(char c) const;
  void DeleteSelection();

  std::string mText;
  std::string mFilter;
  bool mHasFilter = false;
  int mMaxLength = 0;
  int mCaret = 0;
  bool mAllSelected = false;
};
