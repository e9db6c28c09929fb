// MakeGraphics: the editor engine of this platform for a plug-in, with what it needs to find the
// bundle's image resources.
#pragma once

class IGraphics;
class IPluginVST3;

// Identifier of the plug-in bundle that carries the images (macOS looks the bundle up by it).
extern const char* const kPluginBundleID;

IGraphics* MakeGraphics(IPluginVST3* plug, int width, int height, int fps = 0);
