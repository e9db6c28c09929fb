// The editor size a user last chose, remembered across sessions in a small per-user settings
// file: $XDG_CONFIG_HOME/Quorvane/editor.conf on Linux (~/.config without the variable),
// ~/Library/Preferences/Quorvane/editor.conf on macOS, %APPDATA%\Quorvane\editor.conf on Windows
// (paths are UTF-8 here and UTF-16 at the system, so a user folder named "Jörg" works). The file
// holds one line, "scale=1.5".
#pragma once

#include <string>

// The settings file's path; "" when no home folder is known.
std::string EditorSizeFile();
// The remembered scale, or 0 when there is none: a missing, unreadable or damaged file, or a
// value outside 1..2.
double LoadEditorScale();
// Writes the scale (a temporary file renamed over the old one, so a crash leaves either); false
// when it cannot be written. Failing is never fatal: the editor just forgets.
bool SaveEditorScale(double scale);
// The same, for tests: the file named.
double ReadEditorScaleFile(const std::string& path);
bool WriteEditorScaleFile(const std::string& path, double scale);
