// CocoaMapping: the rules of the Cocoa editor window that need no Apple headers (coordinates,
// modifiers, keys, alert buttons, menu titles, text-entry validation, file-prompt and resource
// paths). They live apart from the Objective-C++ so every system builds and tests them.
#pragma once

#include "graphics/IMouseMod.h"
#include "graphics/IRECT.h"

#include <string>
#include <vector>

namespace CocoaMapping {

// A rectangle in view points with the origin at the bottom-left.
struct Rect {
  double x = 0.0, y = 0.0, w = 0.0, h = 0.0;
};

// The Cocoa rectangle reaches one point past the exclusive right and bottom edges, so an
// invalidation always covers the last row and column.
Rect ToCocoaRect(const IRECT& r, int viewHeight);
// Each component is truncated on its own, as the dirty areas Cocoa hands back are in points.
IRECT ToIRECT(const Rect& r, int viewHeight);
// Editor position of a point in view coordinates; view (2, H - 3) is editor (0, 0).
void ToEditorPoint(double x, double y, int viewHeight, int* editorX, int* editorY);

enum EMouseButton {
  kButtonNone = 0,
  kButtonLeft,
  kButtonRight,
};

// From the event's modifier flags. Command makes a left click a right click (one-button mice).
IMouseMod MouseModFromFlags(unsigned long long modifierFlags, EMouseButton button);

constexpr int kNoKey = -1;
// The engine's key code for a key press, or kNoKey when the window should pass the key on.
int KeyCodeFor(unsigned short virtualKeyCode, unsigned int character);

// Button titles for ShowMessageBox's type; null means the system's own default button for the
// first and no button for the others.
struct AlertButtons {
  const char* defaultTitle = nullptr;
  const char* alternateTitle = nullptr;
  const char* otherTitle = nullptr;
};
AlertButtons AlertButtonsForType(int type);

enum EAlertResponse {
  kResponseDefault = 0,
  kResponseAlternate,
  kResponseOther,
  kResponseNone,  // cancelled, timed out or the alert could not be shown
};
int MessageBoxResult(EAlertResponse response);

// An item's title with the menu's numbering prefix (0 none, 1 "%1d: ", 2 "%02d: ", 3 "%03d: ")
// formatted with its 1-based position.
std::string MenuItemTitle(int prefix, int position, const char* text);

// Characters a text entry accepts for a parameter kind (IParam::EParamKind); null when any.
const char* TextEntryCharacters(int paramKind);
// The leading integer of the text, read like a C integer with sign after optional spaces;
// saturates instead of overflowing, 0 when there is none.
int LeadingIntValue(const char* text);
// The partial-edit rule: every character within allowed (when given), at most maxLength UTF-16
// units (when non-zero), integer value at most maxValue (when non-zero).
bool IsEntryTextValid(const char* text, const char* allowed, int maxLength, int maxValue);

// The folder a file prompt opens in: dir, or "~/Desktop" when dir is null or empty.
std::string FilePromptStartDir(const char* dir);
// Extensions are separated by spaces; empty pieces are dropped.
std::vector<std::string> SplitExtensions(const char* extensions);
// The folder of a path, ending in "/"; "" when the path has no folder.
std::string FolderOfPath(const char* path);
// URLs that mention "http" open as web addresses, anything else as a file path.
bool IsWebAddress(const char* url);

// Only PNG resources exist; the extension is compared in any letter case.
bool IsPNGName(const char* fileName);
// The bundle resource a file name refers to: its last path component without extension.
std::string ResourceBaseName(const char* fileName);

// Horizontal offset that centres the editor in a wider host window; 0 otherwise.
int SubWindowXOffset(double hostWidth, int editorWidth);

}  // namespace CocoaMapping
