// Editing rules of the value prompt.
#include "graphics/platform/shared/TextEntryModel.h"

#include "framework/IParam.h"
#include "graphics/PromptCharacters.h"

#include <cstring>

const char* TextEntryModel::FilterFor(const IParam* param) {
  return param ? PromptCharacters(param->GetType()) : nullptr;
}

void TextEntryModel::Reset(const char* text, const char* filter, int maxLength) {
  mText = text ? text : "";
  mHasFilter = filter != nullptr;
  mFilter = filter ? filter : "";
  mMaxLength = maxLength > 0 ? maxLength : 0;
  mCaret = static_cast<int>(mText.size());
  mAllSelected = !mText.empty();
}

bool TextEntryModel::Accepts(char c) const {
  if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return !mHasFilter || std::strchr(mFilter.c_str(), c) != nullptr;
}

void TextEntryModel::DeleteSelection() {
  if (!mAllSelected) return;
  mText.clear();
  mCaret = 0;
  mAllSelected = false;
}

TextEntryModel::EOutcome TextEntryModel::InsertText(const char* text) {
  if (!text || !*text) return EOutcome::kIgnored;
  bool inserted = false;
  for (const char* p = text; *p; ++p) {
    const size_t lengthAfter = (mAllSelected ? 0 : mText.size()) + 1;
    if (!Accepts(*p) || (mMaxLength && lengthAfter > static_cast<size_t>(mMaxLength)))
      return inserted ? EOutcome::kEdited : EOutcome::kRejected;
    DeleteSelection();
    mText.insert(static_cast<size_t>(mCaret), 1, *p);
    ++mCaret;
    inserted = true;
  }
  return EOutcome::kEdited;
}

TextEntryModel::EOutcome TextEntryModel::HandleKey(const EditorKey& key) {
  const int len = static_cast<int>(mText.size());
  switch (key.mNamed) {
    case ENamedKey::kReturn:
      return EOutcome::kCommit;
    case ENamedKey::kEscape:
      return EOutcome::kCancel;
    case ENamedKey::kBackSpace:
      if (mAllSelected)
        DeleteSelection();
      else if (mCaret > 0)
        mText.erase(static_cast<size_t>(--mCaret), 1);
      else
        return EOutcome::kIgnored;
      return EOutcome::kEdited;
    case ENamedKey::kDelete:
      if (mAllSelected)
        DeleteSelection();
      else if (mCaret < len)
        mText.erase(static_cast<size_t>(mCaret), 1);
      else
        return EOutcome::kIgnored;
      return EOutcome::kEdited;
    case ENamedKey::kLeft:
      mCaret = mAllSelected ? 0 : (mCaret > 0 ? mCaret - 1 : 0);
      mAllSelected = false;
      return EOutcome::kEdited;
    case ENamedKey::kRight:
      mCaret = mAllSelected ? len : (mCaret < len ? mCaret + 1 : len);
      mAllSelected = false;
      return EOutcome::kEdited;
    case ENamedKey::kHome:
      mCaret = 0;
      mAllSelected = false;
      return EOutcome::kEdited;
    case ENamedKey::kEnd:
      mCaret = len;
      mAllSelected = false;
      return EOutcome::kEdited;
    case ENamedKey::kNone:
      if (key.mControl && (key.mChar == 'a' || key.mChar == 'A')) {
        mAllSelected = len > 0;
        mCaret = len;
        return EOutcome::kEdited;
      }
      if (key.mControl || !key.mChar) return EOutcome::kIgnored;
      {
        const char text[2] = {key.mChar, 0};
        return InsertText(text);
      }
    default:
      return EOutcome::kIgnored;
  }
}
