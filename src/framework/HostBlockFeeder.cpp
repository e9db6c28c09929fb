// Feeding host blocks to the plug-in.
#include "framework/HostBlockFeeder.h"

#include "framework/IPlugin.h"

#include <algorithm>

HostBlockFeeder::HostBlockFeeder(int nIn, int nOut)
    : mHostIn(nIn, nullptr), mHostOut(nOut, nullptr), mSliceIn(nIn, nullptr), mSliceOut(nOut, nullptr) {}

void HostBlockFeeder::Clear() {
  std::fill(mHostIn.begin(), mHostIn.end(), nullptr);
  std::fill(mHostOut.begin(), mHostOut.end(), nullptr);
}

void HostBlockFeeder::ConnectChannels(IPlugin& plug) {
  for (int i = 0, n = static_cast<int>(mHostIn.size()); i < n; ++i)
    plug.SetInputChannelConnections(i, 1, mHostIn[i] != nullptr);
  for (int i = 0, n = static_cast<int>(mHostOut.size()); i < n; ++i)
    plug.SetOutputChannelConnections(i, 1, mHostOut[i] != nullptr);
}

template <class Sample>
void HostBlockFeeder::Process(IPlugin& plug, int frames) {
  const int nIn = static_cast<int>(mHostIn.size());
  const int nOut = static_cast<int>(mHostOut.size());
  const int maxSlice = plug.GetBlockSize();
  if (maxSlice <= 0) return;
  Sample** in = reinterpret_cast<Sample**>(mSliceIn.data());
  Sample** out = reinterpret_cast<Sample**>(mSliceOut.data());
  for (int offset = 0; offset < frames; offset += maxSlice) {
    const int n = std::min(maxSlice, frames - offset);
    int k = 0;
    for (int i = 0; i < nIn; ++i)
      if (mHostIn[i]) in[k++] = static_cast<Sample*>(mHostIn[i]) + offset;
    k = 0;
    for (int i = 0; i < nOut; ++i)
      if (mHostOut[i]) out[k++] = static_cast<Sample*>(mHostOut[i]) + offset;
    plug.AttachInputBuffers(0, nIn, in, n);
    plug.AttachOutputBuffers(0, nOut, out);
    if (plug.IsBypassed()) {
      plug.PassThroughBuffers(Sample(0), n);
    } else {
      plug.ProcessBuffers(Sample(0), n);
    }
  }
}

template void HostBlockFeeder::Process<float>(IPlugin&, int);
template void HostBlockFeeder::Process<double>(IPlugin&, int);
