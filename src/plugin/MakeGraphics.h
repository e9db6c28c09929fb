// MakeGraphics: the editor engine of this platform for the plug-in, with what it needs to find the
// bundle's image resources.
#pragma once

class IGraphics;
class IPlugin;

IGraphics* MakeGraphics(IPlugin* plug, int width, int height, int fps = 0);
