// The editor's artwork at scales other than 1: knobs, buttons and the meter needle are drawn for
// the frame asked for; the faceplate, too slow to draw while an editor opens, comes from its
// bundled 2x image, resampled for scales in between.
#pragma once

#include <memory>

class IArtSource;
class IGraphics;

// The 2x faceplate image in the bundle's resources.
extern const char* const kFaceplate2xFile;

std::unique_ptr<IArtSource> MakeFaceplateArt(IGraphics* graphics);
std::unique_ptr<IArtSource> MakeKnobArt();
std::unique_ptr<IArtSource> MakeNeedleArt();
// A push button with its legend (frame 0 dark, 1 lit).
std::unique_ptr<IArtSource> MakeSwitchArt(const char* legend);
