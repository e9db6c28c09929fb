// The window face's answers for a system with nothing to say.
#include "graphics/IWindowFace.h"

#include "base/StrBuf.h"

#include <cstdio>

int IWindowFace::ShowMessageBox(const char* text, const char* caption, int) {
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  return 1;
}

IPopupMenu* IWindowFace::CreateIPopupMenu(IPopupMenu*, IRECT*) { return nullptr; }

void IWindowFace::CreateTextEntry(IControl*, IText*, IRECT*, const char*, IParam*) {}

void IWindowFace::HostPath(StrBuf*) {}
void IWindowFace::PluginPath(StrBuf*) {}
void IWindowFace::DesktopPath(StrBuf*) {}
void IWindowFace::AppSupportPath(StrBuf*, bool) {}
void IWindowFace::SandboxSafeAppSupportPath(StrBuf*) {}

void IWindowFace::PromptForFile(StrBuf* fileName, EFileAction, StrBuf* dir, const char*) {
  if (!fileName) return;
  // The folder a prompt would have opened in stays with the control for its next prompt.
  if (WindowIsOpen() && dir && !*dir->Get()) DesktopPath(dir);
  fileName->Set("");
}

bool IWindowFace::PromptForColor(IColor*, const char*) { return false; }

bool IWindowFace::OpenURL(const char*, const char*, const char*, const char*) { return false; }

bool IWindowFace::GetTextFromClipboard(StrBuf* str) {
  if (str) str->Set("");
  return false;
}
