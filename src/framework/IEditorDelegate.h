// IEditorDelegate: everything the plug-in base asks of an attached editor. The editor engine
// implements it; the framework holds and owns the editor through it and needs nothing else.
#pragma once

class IEditorDelegate {
 public:
  // Thread that destroys the plug-in, or that attaches a replacement editor (under the plug-in
  // mutex).
  virtual ~IEditorDelegate() = default;

  // Any thread, the audio thread included (host parameter changes arrive with a block): stores the
  // value in every control bound to the parameter and marks it dirty; no allocation, no locks.
  // Drawing follows later on the UI thread.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;

  // Audio thread (meter values) or UI thread: as above, for one control by its index; an index
  // outside the control list is ignored.
  virtual void SetControlFromPlug(int controlIdx, double normalizedValue) = 0;

  // Thread that attaches the editor, under the plug-in mutex, after the parameter values: creates
  // the buffers drawing needs. Never the audio thread: it allocates.
  virtual void PrepDraw() = 0;
};
