// The editor's artwork: knobs, buttons and the meter needle are drawn for the frame asked for, at
// every scale (at 1x exactly as their film strips hold them, so an editor keeps only the frames it
// shows); the faceplate, too slow to draw while an editor opens, is the 1x image at 1x and comes
// from its bundled 2x image, resampled for scales in between, above.
#pragma once

#include <memory>

class IArtSource;
class IGraphics;
class LegendFaces;

// The 2x faceplate image in the bundle's resources.
extern const char* const kFaceplate2xFile;

std::unique_ptr<IArtSource> MakeFaceplateArt(IGraphics* graphics);
std::unique_ptr<IArtSource> MakeKnobArt();
std::unique_ptr<IArtSource> MakeNeedleArt();
// The buttons' legend face at the scale drawn, from the bundle's legend sheet; one per editor,
// shared by its buttons, used on its UI thread.
std::shared_ptr<LegendFaces> MakeLegendFaces(IGraphics* graphics);
// A push button with its legend (frame 0 dark, 1 lit).
std::unique_ptr<IArtSource> MakeSwitchArt(std::shared_ptr<LegendFaces> faces, const char* legend);
