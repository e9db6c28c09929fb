// IPlugin channel configuration, connections, labels and the per-block buffer paths.
#include "framework/IPlugin.h"

#include "framework/ChannelDelayLine.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// Far above any real speaker layout; keeps a malformed configuration from allocating without end.
constexpr int kMaxChannels = 1024;

// Reads an optionally signed decimal integer like "%d", saturating instead of overflowing.
bool ReadInt(const char*& p, int* out) {
  const char* s = p;
  while (std::isspace(static_cast<unsigned char>(*s))) ++s;
  bool neg = false;
  if (*s == '+' || *s == '-') neg = (*s++ == '-');
  if (!std::isdigit(static_cast<unsigned char>(*s))) return false;
  long long v = 0;
  while (std::isdigit(static_cast<unsigned char>(*s))) {
    if (v < INT_MAX) v = v * 10 + (*s - '0');
    ++s;
  }
  if (v > INT_MAX) v = INT_MAX;
  *out = static_cast<int>(neg ? -v : v);
  p = s;
  return true;
}

// Parses "in-out" at p; a part that does not parse stays 0.
void ReadChannelPair(const char* p, int* nIn, int* nOut) {
  *nIn = *nOut = 0;
  if (!ReadInt(p, nIn) || *p != '-') return;
  ++p;
  ReadInt(p, nOut);
}

void ZeroScratch(TypedBuf<double>& scratch) {
  if (double* buf = scratch.Get())
    std::memset(buf, 0, sizeof(double) * static_cast<size_t>(scratch.GetSize()));
}

int ClampChannels(int n) { return n < 0 ? 0 : (n > kMaxChannels ? kMaxChannels : n); }

void RangeOf(int first, int n, int count, int* begin, int* end) {
  long long b = first < 0 ? 0 : first;
  long long e = static_cast<long long>(first) + n;
  if (e > count) e = count;
  *begin = static_cast<int>(b);
  *end = static_cast<int>(e < b ? b : e);
}
}  // namespace

void IPlugin::ParseChannelIO(const char* channelIOStr) {
  const char* p = channelIOStr ? channelIOStr : "";
  int maxIn = 0, maxOut = 0;
  for (;;) {
    int nIn = 0, nOut = 0;
    ReadChannelPair(p, &nIn, &nOut);
    if (nIn > maxIn) maxIn = nIn;
    if (nOut > maxOut) maxOut = nOut;
    mChannelIO.Add(new ChannelIO(nIn, nOut));
    p = std::strchr(p, ' ');
    if (!p) break;
    ++p;
  }

  maxIn = ClampChannels(maxIn);
  maxOut = ClampChannels(maxOut);
  double** inData = mInData.Resize(maxIn);
  double** outData = mOutData.Resize(maxOut);
  if (!inData) maxIn = 0;
  if (!outData) maxOut = 0;
  for (int i = 0; i < maxIn; ++i) {
    InChannel* ch = new InChannel();
    inData[i] = nullptr;
    ch->mSrc = inData + i;
    mInChannels.Add(ch);
  }
  for (int i = 0; i < maxOut; ++i) {
    OutChannel* ch = new OutChannel();
    outData[i] = nullptr;
    ch->mDest = outData + i;
    mOutChannels.Add(ch);
  }
}

bool IPlugin::LegalIO(int nIn, int nOut) const {
  for (int i = 0, n = mChannelIO.GetSize(); i < n; ++i) {
    const ChannelIO* io = mChannelIO.Get(i);
    if ((nIn < 0 || nIn == io->mIn) && (nOut < 0 || nOut == io->mOut)) return true;
  }
  return false;
}

void IPlugin::SetInputChannelConnections(int first, int n, bool connected) {
  int b, e;
  RangeOf(first, n, GetInputChannelCount(), &b, &e);
  for (int i = b; i < e; ++i) {
    InChannel* ch = mInChannels.Get(i);
    ch->mConnected = connected;
    if (connected) continue;
    // A channel that stops being fed reads its scratch buffer, which must not replay the last
    // block's samples.
    if (ch->mScratchHoldsInput) {
      ZeroScratch(ch->mScratchBuf);
      ch->mScratchHoldsInput = false;
    }
    *ch->mSrc = ch->mScratchBuf.Get();
  }
}

void IPlugin::SetOutputChannelConnections(int first, int n, bool connected) {
  int b, e;
  RangeOf(first, n, GetOutputChannelCount(), &b, &e);
  for (int i = b; i < e; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    ch->mConnected = connected;
    if (!connected) {
      *ch->mDest = ch->mScratchBuf.Get();
      ch->mFDest = nullptr;
    }
  }
}

bool IPlugin::IsInChannelConnected(int idx) const {
  InChannel* ch = mInChannels.Get(idx);
  return ch && ch->mConnected;
}

bool IPlugin::IsOutChannelConnected(int idx) const {
  OutChannel* ch = mOutChannels.Get(idx);
  return ch && ch->mConnected;
}

void IPlugin::SetInputLabel(int idx, const char* label) {
  if (InChannel* ch = mInChannels.Get(idx)) ch->mLabel.Set(label);
}

void IPlugin::SetOutputLabel(int idx, const char* label) {
  if (OutChannel* ch = mOutChannels.Get(idx)) ch->mLabel.Set(label);
}

void IPlugin::SetUpEffectBuses(const char* mainIn, const char* sidechainIn, bool sidechain,
                               const char* mainOut) {
  const int nIn = GetInputChannelCount(), nOut = GetOutputChannelCount();
  SetInputChannelConnections(0, nIn, true);
  SetOutputChannelConnections(0, nOut, true);
  if (nIn > 0 && !mDelay) mDelay = new ChannelDelayLine(nIn, nOut, GetLatency());
  SetInputBusLabel(0, mainIn);
  if (sidechain) SetInputBusLabel(1, sidechainIn);
  if (mainOut) SetOutputBusLabel(0, mainOut);
}

void IPlugin::SetInputBusLabel(int bus, const char* label) {
  if (bus < 0 || bus > 1) return;
  mInputBusLabels.Delete(bus, true);
  mInputBusLabels.Insert(bus, new StrBuf(label));
}

void IPlugin::SetOutputBusLabel(int bus, const char* label) {
  if (bus < 0) return;
  mOutputBusLabels.Delete(bus, true);
  mOutputBusLabels.Insert(bus, new StrBuf(label));
}

namespace {
// x - x is 0 exactly when x is finite. Written so that the compiler turns the copy loops into vector
// code (a call to isfinite keeps them scalar).
template <class T>
double FiniteOrSilence(T v) {
  const double d = static_cast<double>(v);
  return d - d == 0.0 ? d : 0.0;
}

// A double beyond float's range has no float value (converting it is undefined): loud output
// saturates at the largest float instead of turning into infinity.
float ToFloat(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  return static_cast<float>(v > kMax ? kMax : (v < -kMax ? -kMax : v));
}

// ToFloat over a block; two values at a time where SSE2 is there (its max and min keep a NaN, as
// ToFloat does).
void ToFloatBlock(const double* src, float* dst, int n) {
  int s = 0;
#if defined(__SSE2__)
  const __m128d hi = _mm_set1_pd(std::numeric_limits<float>::max()),
                lo = _mm_set1_pd(-std::numeric_limits<float>::max());
  for (; s + 2 <= n; s += 2) {
    const __m128 f = _mm_cvtpd_ps(_mm_min_pd(hi, _mm_max_pd(lo, _mm_loadu_pd(src + s))));
    _mm_storel_pi(reinterpret_cast<__m64*>(dst + s), f);
  }
#endif
  for (; s < n; ++s) dst[s] = ToFloat(src[s]);
}

// Resizes one channel's scratch buffer. The data slot follows the buffer when it pointed at the old
// storage, so a disconnected or float-converted channel never reads or writes freed memory.
void ResizeScratch(TypedBuf<double>& scratch, double** slot, int nFrames, bool zeroAll) {
  double* old = scratch.Get();
  int oldSize = scratch.GetSize();
  if (!zeroAll && oldSize >= nFrames) return;
  double* buf = scratch.Resize(nFrames, zeroAll);
  if (!buf && nFrames > 0) return;
  int keep = zeroAll ? 0 : oldSize;
  if (buf) std::memset(buf + keep, 0, sizeof(double) * static_cast<size_t>(nFrames - keep));
  if (*slot == old) *slot = buf;
}
}  // namespace

void IPlugin::ResizeScratchBuffers(int nFrames, bool zeroAll) {
  for (int i = 0, n = GetInputChannelCount(); i < n; ++i) {
    InChannel* ch = mInChannels.Get(i);
    ResizeScratch(ch->mScratchBuf, ch->mSrc, nFrames, zeroAll);
  }
  for (int i = 0, n = GetOutputChannelCount(); i < n; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    ResizeScratch(ch->mScratchBuf, ch->mDest, nFrames, zeroAll);
  }
  // An allocation may have failed, so take what the buffers actually hold.
  int frames = nFrames;
  for (int i = 0, n = GetInputChannelCount(); i < n; ++i)
    frames = std::min(frames, mInChannels.Get(i)->mScratchBuf.GetSize());
  for (int i = 0, n = GetOutputChannelCount(); i < n; ++i)
    frames = std::min(frames, mOutChannels.Get(i)->mScratchBuf.GetSize());
  mScratchFrames = frames;
}

void IPlugin::EnsureScratchSize(int nFrames) {
  // Only a host that breaks its promised maximum block size gets here with a larger block; growing
  // on the audio thread then beats reading or writing past the end.
  if (nFrames > mScratchFrames) ResizeScratchBuffers(nFrames, false);
}

void IPlugin::ZeroScratchBuffers() {
  for (int i = 0, n = GetInputChannelCount(); i < n; ++i) {
    ZeroScratch(mInChannels.Get(i)->mScratchBuf);
    mInChannels.Get(i)->mScratchHoldsInput = false;
  }
  for (int i = 0, n = GetOutputChannelCount(); i < n; ++i) ZeroScratch(mOutChannels.Get(i)->mScratchBuf);
}

template <class Sample>
void IPlugin::AttachInputs(int first, int n, Sample** data, int nFrames) {
  if (nFrames < 0) nFrames = 0;
  EnsureScratchSize(nFrames);
  int b, e;
  RangeOf(first, n, GetInputChannelCount(), &b, &e);
  for (int i = b; i < e; ++i) {
    InChannel* ch = mInChannels.Get(i);
    if (!ch->mConnected) continue;
    const Sample* src = data ? *data++ : nullptr;
    double* dst = ch->mScratchBuf.Get();
    // Host samples are copied rather than read in place: a NaN or infinity would stick in every
    // filter and envelope after it, so such samples enter as silence. A missing host buffer reads
    // as silence too.
    if (dst) {
      if (src)
        for (int s = 0; s < nFrames; ++s) dst[s] = FiniteOrSilence(src[s]);
      else
        std::memset(dst, 0, sizeof(double) * static_cast<size_t>(nFrames));
      ch->mScratchHoldsInput = ch->mScratchHoldsInput || (src && nFrames > 0);
    }
    *ch->mSrc = dst;
  }
}

void IPlugin::AttachInputBuffers(int first, int n, double** data, int nFrames) {
  AttachInputs(first, n, data, nFrames);
}

void IPlugin::AttachInputBuffers(int first, int n, float** data, int nFrames) {
  AttachInputs(first, n, data, nFrames);
}

void IPlugin::AttachOutputBuffers(int first, int n, double** data) {
  int b, e;
  RangeOf(first, n, GetOutputChannelCount(), &b, &e);
  for (int i = b; i < e; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected) continue;
    double* dst = data ? *data++ : nullptr;
    *ch->mDest = dst ? dst : ch->mScratchBuf.Get();
    ch->mFDest = nullptr;
  }
}

void IPlugin::AttachOutputBuffers(int first, int n, float** data) {
  int b, e;
  RangeOf(first, n, GetOutputChannelCount(), &b, &e);
  for (int i = b; i < e; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected) continue;
    *ch->mDest = ch->mScratchBuf.Get();
    ch->mFDest = data ? *data++ : nullptr;
  }
}

void IPlugin::ConvertOutputsToFloat(int nFrames, bool accumulate) {
  for (int i = 0, n = GetOutputChannelCount(); i < n; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    const double* src = *ch->mDest;
    float* dst = ch->mFDest;
    if (!ch->mConnected || !src || !dst) continue;
    if (accumulate)
      for (int s = 0; s < nFrames; ++s) dst[s] = ToFloat(dst[s] + src[s]);
    else
      ToFloatBlock(src, dst, nFrames);
  }
}

void IPlugin::ProcessBuffers(double, int nFrames) {
  if (nFrames < 0) nFrames = 0;
  EnsureScratchSize(nFrames);
  ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
}

void IPlugin::ProcessBuffers(float, int nFrames) {
  ProcessBuffers(0.0, nFrames);
  ConvertOutputsToFloat(nFrames < 0 ? 0 : nFrames, false);
}

void IPlugin::ProcessBuffersAccumulating(float, int nFrames) {
  ProcessBuffers(0.0, nFrames);
  ConvertOutputsToFloat(nFrames < 0 ? 0 : nFrames, true);
}

namespace {
void CopyThrough(double** inputs, int nIn, double** outputs, int nOut, int nFrames) {
  for (int i = 0; i < nOut; ++i) {
    double* out = outputs[i];
    if (!out) continue;
    const double* in = i < nIn ? inputs[i] : nullptr;
    if (in && in != out)
      std::memmove(out, in, sizeof(double) * static_cast<size_t>(nFrames));
    else if (!in)
      std::memset(out, 0, sizeof(double) * static_cast<size_t>(nFrames));
  }
}
}  // namespace

void IPlugin::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) {
  if (!outputs || nFrames <= 0) return;
  CopyThrough(inputs, inputs ? GetInputChannelCount() : 0, outputs, GetOutputChannelCount(), nFrames);
}

void IPlugin::PassThroughDouble(int nFrames) {
  if (nFrames < 0) nFrames = 0;
  EnsureScratchSize(nFrames);
  if (nFrames == 0) return;
  double** inputs = mInData.Get();
  double** outputs = mOutData.Get();
  if (GetLatency() != 0 && mDelay && mDelay->GetDelay() > 0 &&
      mDelay->GetInputChannelCount() <= GetInputChannelCount() &&
      mDelay->GetOutputChannelCount() <= GetOutputChannelCount()) {
    mDelay->ProcessBlock(inputs, outputs, nFrames);
    return;
  }
  if (outputs)
    CopyThrough(inputs, inputs ? GetInputChannelCount() : 0, outputs, GetOutputChannelCount(), nFrames);
}

void IPlugin::PassThroughBuffers(double, int nFrames) { PassThroughDouble(nFrames); }

void IPlugin::PassThroughBuffers(float, int nFrames) {
  PassThroughDouble(nFrames);
  ConvertOutputsToFloat(nFrames < 0 ? 0 : nFrames, false);
}
