// IGraphics: the editor engine as the plug-in base sees it. Only what the base and the plug-in's
// processing path call on the engine; the engine itself fills in the rest.
#pragma once

class IGraphics
{
public:
  virtual ~IGraphics() = default;

  // Sets every control bound to the parameter (or to it as an auxiliary parameter). A plain value
  // is converted by the parameter itself. Called from the audio thread too: stores values and
  // dirty flags only.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;

  // Sets one control by its index in the control list; out-of-range indices are ignored. Called
  // from the audio thread (meter values).
  virtual void SetControlFromPlug(int controlIdx, double normalizedValue) = 0;

  // Creates the back buffer; nothing may be drawn before it has run.
  virtual void PrepDraw() = 0;
};
