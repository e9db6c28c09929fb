// IGraphics: the editor engine. It owns the ordered control list and the back buffer every
// control draws into, collects dirty regions for the window's timer, maps drawing calls onto the
// raster library, loads and caches images and fonts, dispatches input to controls, and keeps
// controls and plug-in parameters in step. The window-system half (presenting, prompts, menus,
// paths, resources) is the window face (IWindowFace.h) that a platform subclass implements, one
// folder per system under graphics/platform/.
//
// The plug-in base knows the engine only as its editor delegate (framework/IEditorDelegate.h).
//
// Threads: the engine is built on the thread that constructs the plug-in and from then on used on
// the UI thread (the host's editor thread), except the two editor-delegate calls that store values
// (also from the audio thread). The engine takes no lock of the plug-in's itself; an edit reaches
// the plug-in through IPlugin::SetParameterFromGUI, which takes the plug-in's mutex.
#pragma once

#include "base/PtrList.h"
#include "base/StrBuf.h"
#include "framework/IEditorDelegate.h"
#include "graphics/IBitmap.h"
#include "graphics/IChannelBlend.h"
#include "graphics/IColor.h"
#include "graphics/IMouseMod.h"
#include "graphics/IRECT.h"
#include "graphics/IText.h"
#include "graphics/IWindowFace.h"

#include <memory>
#include <string>
#include <vector>

class IArtSource;
class IControl;
class IParam;
class IPlugin;
class IPopupMenu;
class PIX_IBitmap;
class PIX_IFont;
class PIX_MemBitmap;
class PIX_SysBitmap;
class ScaledFrameCache;

class IGraphics : public IEditorDelegate, public IWindowFace {
 public:
  static constexpr int kDefaultFPS = 25;
  // The editor's sizes: layout units times the scale give the window's size.
  static constexpr double kMinScale = 1.0, kMaxScale = 2.0;
  // The sizes the editor offers, and falls back to when a size does not fit the screen.
  static constexpr double kScaleSteps[] = {1.0, 1.25, 1.5, 1.75, 2.0};

  // The plug-in's construction thread.
  IGraphics(IPlugin* plug, int w, int h, int fps = 0);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  ~IGraphics() override;

  // ---- Engine operations a platform may extend (UI thread) ----------------------------------------
  // The window face (what a platform supplies) is declared in IWindowFace.h.
  virtual bool MeasureIText(IText* txt, const char* str, IRECT* destRect);
  // Replaces the layout size: every control is deleted (the caller attaches new ones), the back
  // buffer is rebuilt and the plug-in asks its host for the window's new size.
  virtual void Resize(int w, int h);

  // ---- Editor delegate (the first two also from the audio thread: they store values and flags) --
  void SetParameterFromPlug(int paramIdx, double value, bool normalized) override;
  void SetControlFromPlug(int controlIdx, double normalizedValue) override;
  void PrepDraw() override;

  // ---- Set-up (the plug-in's construction thread, before the editor opens; images also UI) -------
  int AttachControl(IControl* control);
  void AttachBackground(int ID, const char* name);
  void AttachPanelBackground(const IColor* color);
  void AttachKeyCatcher(IControl* control);
  // The engine keeps the source until it goes; bitmaps may name it in their mArt.
  IArtSource* AdoptArtSource(std::unique_ptr<IArtSource> source);

  IBitmap LoadIBitmap(int ID, const char* name, int nStates = 1, bool framesAreHoriz = false);
  void RetainBitmap(IBitmap* bitmap);
  void ReleaseBitmap(IBitmap* bitmap);
  IBitmap ScaleBitmap(IBitmap* bitmap, int destW, int destH);
  IBitmap CropBitmap(IBitmap* bitmap, IRECT* rect);

  // ---- Synchronisation with the plug-in (parameter indices unless said otherwise; UI thread, or
  // the main thread with the plug-in's mutex when the plug-in calls them) -------------------------
  void SetParameterFromGUI(int paramIdx, double normalizedValue);
  void ClampControl(int paramIdx, double lo, double hi, bool normalized);
  void HideControl(int paramIdx, bool hide);
  void GrayOutControl(int paramIdx, bool gray);
  void SetAllControlsDirty();
  void SetStrictDrawing(bool strict);
  void AssignParamNameToolTips();

  // ---- Dirty tracking and drawing passes (UI thread) -------------------------------------------
  // Grows r by the draw rectangle of every dirty control (hidden ones too); false when none is.
  bool IsDirty(IRECT* r);
  // Draws what r needs, cleans the controls and presents r. False, with nothing drawn or cleaned,
  // before PrepDraw.
  bool Draw(IRECT* r);

  // ---- Drawing operations (into the back buffer; UI thread, from controls' Draw in a pass) -----
  // Bitmaps are cut to the draw clip rectangle, which only a draw pass sets. Operations answer
  // false when there is nothing to draw with: no back buffer yet, no image, null arguments.
  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend = nullptr);
  // Frames are 1-based; frames outside 1..N show the nearest end of the strip.
  bool DrawBitmap(IBitmap* bitmap, IRECT* dest, int frame = 1, const IChannelBlend* blend = nullptr);
  // Angle in radians; not cut to the draw clip rectangle.
  bool DrawRotatedBitmap(IBitmap* bitmap, int destCtrX, int destCtrY, double angle, int yOffsetZeroDeg = 0,
                         const IChannelBlend* blend = nullptr);
  // Angle in degrees.
  bool DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y, double angle,
                       const IChannelBlend* blend = nullptr);
  // Any bytes may be passed; an empty or null string draws nothing and answers true. Measuring
  // places the text's extent in rect by the style's alignment.
  bool DrawIText(IText* txt, const char* str, IRECT* rect, bool measure = false);
  bool DrawPoint(const IColor* color, float x, float y, const IChannelBlend* blend = nullptr,
                 bool antiAlias = false);
  // Coordinates outside the back buffer do nothing.
  bool ForcePixel(const IColor* color, int x, int y);
  IColor GetPoint(int x, int y);
  bool DrawLine(const IColor* color, float x1, float y1, float x2, float y2,
                const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawArc(const IColor* color, float cx, float cy, float r, float minAngle, float maxAngle,
               const IChannelBlend* blend = nullptr, bool antiAlias = false);
  bool DrawCircle(const IColor* color, float cx, float cy, float r, const IChannelBlend* blend = nullptr,
                  bool antiAlias = false);
  bool FillCircle(const IColor* color, int cx, int cy, float r, const IChannelBlend* blend = nullptr,
                  bool antiAlias = false);
  bool RoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                 bool antiAlias);
  bool FillRoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                     bool antiAlias);
  bool FillIRect(const IColor* color, IRECT* rect, const IChannelBlend* blend = nullptr);
  bool FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                    const IChannelBlend* blend = nullptr);
  bool FillIConvexPolygon(const IColor* color, int* x, int* y, int n, const IChannelBlend* blend = nullptr);
  bool DrawRect(const IColor* color, IRECT* rect);
  bool DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi);
  bool DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi);
  bool DrawVerticalLine(const IColor* color, IRECT* rect, float x);
  bool DrawHorizontalLine(const IColor* color, IRECT* rect, float y);
  bool DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin, float rMax,
                      const IChannelBlend* blend = nullptr, bool antiAlias = false);

  // ---- Scale (UI thread) -------------------------------------------------------------------------
  // The one entry point for every source of a size: layout units to window units (the host's
  // units: physical pixels on X11, points on macOS), clamped to kMinScale..kMaxScale and limited
  // to the screen (LimitToScreen); NaN is ignored. On a change the back buffer is rebuilt, the window follows
  // (OnScaleChanged) and, when askHost, the plug-in asks its host for the window size
  // (IPlugin::ResizeGraphics). True when the scale changed.
  bool SetScale(double scale, bool askHost = true);
  // A factor from the host (its screen's scale). A size the user chose wins over the first factor
  // a host gives an editor; later changes (the window moved to another screen) are followed.
  bool SetHostScale(double factor);
  // A size the user chose (size menu, resizing the window): applied and remembered for every
  // later editor, through the scale store.
  bool SetUserScale(double scale, bool askHost = true);
  // The remembered choice, when an editor has one to go by; 0 without.
  void SetScaleMemory(double (*load)(), void (*save)(double));
  // Picks the scale a new editor opens at: the remembered choice, else the desktop's. Called by
  // the view before the host asks for the size.
  void ChooseInitialScale();
  // The screen-size rule: scale itself when its window fits the work area of the screen the
  // window is on (ScreenWorkArea) or that area is unknown; otherwise the largest of kScaleSteps
  // below it that fits, and kMinScale when none does.
  double LimitToScreen(double scale) const;
  bool FitsScreen(double scale) const;
  // Applies the rule to the current size once the window is open and its screen known, asking
  // the host for the smaller window; the views call it right after opening. True when it shrank.
  bool FitToScreen();
  // Pixels per window unit (a Retina backing store is 2); drawing uses both factors.
  void SetBackingScale(double backing);
  double GetScale() const { return mScale; }
  double GetBackingScale() const { return mBackingScale; }
  double GetDrawScale() const { return mScale * mBackingScale; }
  bool UserChoseScale() const { return mUserChoseScale; }
  // The window's size in window units and the back buffer's in pixels.
  int WindowWidth() const { return ScaledLength(mWidth, mScale); }
  int WindowHeight() const { return ScaledLength(mHeight, mScale); }
  int PixelWidth() const { return ScaledLength(mWidth, GetDrawScale()); }
  int PixelHeight() const { return ScaledLength(mHeight, GetDrawScale()); }
  static int ScaledLength(int length, double scale);
  // The scale for a window of w x h window units, keeping the layout's aspect: the larger of the
  // two ratios (a window dragged wider or taller grows the editor), or with fitInside the smaller
  // (the editor fits the window it was given); limited to the screen.
  double ScaleForWindow(int w, int h, bool fitInside = false) const;
  // Window units to layout units (floor), and a layout rectangle to window units or pixels.
  int ToLayout(int windowCoord) const;
  // The layout rectangle covering a window rectangle (grown outward).
  IRECT WindowToLayout(const IRECT& window) const;
  IRECT LayoutToWindow(const IRECT& layout) const;
  IRECT ToPixels(const IRECT& layout) const;

  // ---- Input dispatch (editor coordinates, origin top-left; UI thread, from the window) ---------
  void OnMouseDown(int x, int y, IMouseMod* mod);
  void OnMouseUp(int x, int y, IMouseMod* mod);
  void OnMouseDrag(int x, int y, IMouseMod* mod);
  // True when the double click was delivered as a press.
  bool OnMouseDblClick(int x, int y, IMouseMod* mod);
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d);
  bool OnMouseOver(int x, int y, IMouseMod* mod);
  void OnMouseOut();
  // True when a control or the key catcher took the key.
  bool OnKeyDown(int x, int y, int key);
  int GetMouseControlIdx(int x, int y, bool mo = false);
  void ReleaseMouseCapture();
  int GetParamIdxForPTAutomation(int x, int y);
  int GetLastClickedParamForPTAutomation();
  void OnGUIIdle();
  void PromptUserInput(IControl* control, IParam* param, IRECT* textRect);
  void SetFromStringAfterPrompt(IControl* control, IParam* param, const char* txt);

  // ---- Accessors (UI thread) --------------------------------------------------------------------
  IPlugin* GetPlug() const { return mPlug; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  // Pixels of the back buffer; null before PrepDraw.
  PIX_Pixel* GetBits();
  PIX_SysBitmap* GetBackBuffer() const { return mDrawBitmap; }
  IControl* GetControl(int idx) const { return mControls.Get(idx); }
  int NControls() const { return mControls.GetSize(); }
  IControl* GetKeyCatcher() const { return mKeyCatcher; }
  const IRECT& GetDrawRect() const { return mDrawRECT; }
  int GetMouseCapture() const { return mMouseCapture; }
  int GetMouseOver() const { return mMouseOver; }
  int GetMouseX() const { return mMouseX; }
  int GetMouseY() const { return mMouseY; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  void EnableTooltips(bool enable) { mEnableTooltips = enable; }
  void HandleMouseOver(bool canHandle) { mHandleMouseOver = canHandle; }
  bool CanHandleMouseOver() const { return mHandleMouseOver; }
  bool IsStrictDrawing() const { return mStrict; }

 protected:
  PtrList<IControl> mControls{4096};
  IPlugin* mPlug;
  IRECT mDrawRECT;
  bool mCursorHidden = false;
  int mHiddenMousePointX = -1, mHiddenMousePointY = -1;
  PIX_SysBitmap* mDrawBitmap = nullptr;
  PIX_MemBitmap* mTmpBitmap = nullptr;
  int mWidth, mHeight;
  int mFPS;
  int mMouseCapture = -1;
  int mMouseOver = -1;
  int mMouseX = 0, mMouseY = 0;
  int mLastClickedParam = -1;
  // The press was handed to the host's context menu: its release ends no gesture.
  bool mClickHandedToHost = false;
  bool mHandleMouseOver = false;
  bool mStrict = true;
  bool mEnableTooltips = false;
  IControl* mKeyCatcher = nullptr;
  double mScale = 1.0, mBackingScale = 1.0;
  bool mUserChoseScale = false;
  double mLastHostFactor = 0.0;
  double (*mLoadScale)() = nullptr;
  void (*mSaveScale)(double) = nullptr;

  // The font of a style from the process-wide cache, created on first use; null when the
  // platform has no font for it. Also stored in the style.
  PIX_IFont* CacheFont(IText* txt);

  // For platforms that draw their own value prompt (UI thread): the prompt's style over a control's
  // text, 90 % of its size at the editor's scale, with its font from the cache in *font; and a
  // confirmed prompt's text handed to its parameter, or to the control when there is none.
  IText PromptStyle(const IText& text, PIX_IFont** font);
  void ApplyPromptText(IControl* control, IParam* param, const char* text);

 private:
  // Index of the topmost control that is shown, not grayed (unless mouse-over mode lets a grayed
  // control with mouse-over-when-grayed through) and hit; -1 when none.
  int HitTest(int x, int y, bool mouseOver) const;
  // The captured control's index, else the hit control's; -1 when neither exists.
  int TargetIdx(int x, int y) const;
  // Whether the window at this scale fits a w x h area of window units.
  bool FitsArea(double scale, int w, int h) const;
  // The back buffer while it has pixels, else null: nothing is drawn before PrepDraw.
  PIX_IBitmap* BackBuffer() const;
  // Blits the source area at (srcX, srcY) into dest cut to the draw clip rectangle.
  bool BlitClipped(PIX_IBitmap* src, const IRECT& dest, int srcX, int srcY, const IChannelBlend* blend);
  void DeleteBackBuffers();
  // Draws or measures text in back-buffer pixels.
  bool DrawTextPixels(IText* txt, const char* str, IRECT* pixelRect, bool measure, PIX_IBitmap* back);
  // The frame of a bitmap at the drawing scale: from its art source, else resampled; null when
  // neither gives one.
  PIX_MemBitmap* ScaledFrame(IBitmap* bitmap, int frame);
  // The frame at 1x from an art source that draws it there, or null (the strip is drawn instead).
  PIX_MemBitmap* LayoutScaleArtFrame(IBitmap* bitmap, int frame);
  bool DrawScaledBitmap(IBitmap* bitmap, const IRECT& dest, int frame, const IChannelBlend* blend);

  std::unique_ptr<ScaledFrameCache> mFrames;
  std::vector<std::unique_ptr<IArtSource>> mArtSources;
};

// The engine attached to plug; null when there is none, or the attached editor is not an engine.
IGraphics* AttachedGraphics(const IPlugin* plug);

// Empties the process-wide bitmap and font caches; the module calls it when it unloads.
void IGraphicsReleaseCaches();
