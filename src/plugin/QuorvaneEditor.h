// The Quorvane editor: a fixed 664 x 662 bitmap faceplate with four switches, three stepped
// knobs, nine continuous knobs and the gain-reduction meter, all film strips from the bundle.
#pragma once

class IGraphics;
class IPlugin;

constexpr int kQuorvaneEditorWidth = 664;
constexpr int kQuorvaneEditorHeight = 662;

// Attaches the background and every control; returns the meter's index in the control list.
int AttachQuorvaneEditor(IGraphics* graphics, IPlugin* plug);
