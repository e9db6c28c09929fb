// Key codes the engine's key dispatch understands.
#include "graphics/platform/shared/EditorKey.h"

int EditorKeyCode(const EditorKey& key) {
  switch (key.mNamed) {
    case ENamedKey::kUp:
      return 1;
    case ENamedKey::kDown:
      return 2;
    case ENamedKey::kLeft:
      return 3;
    case ENamedKey::kRight:
      return 4;
    case ENamedKey::kNone:
      break;
    default:
      return -1;
  }
  const char c = key.mChar;
  if (c == ' ') return 0;
  if (c >= '0' && c <= '9') return 5 + (c - '0');
  if (c >= 'A' && c <= 'Z') return 15 + (c - 'A');
  if (c >= 'a' && c <= 'z') return 15 + (c - 'a');
  return -1;
}
