// HostBlockFeeder: hands one host block to the plug-in the way every adapter must. Per channel it
// keeps the host buffer of this block (null = not fed, and then connected to silence), and cuts
// blocks longer than the plug-in's block size into slices its scratch buffers hold. Sized once,
// so feeding a block never allocates. Called on the audio thread with the plug-in's lock held.
#pragma once

#include <vector>

class IPlugin;

class HostBlockFeeder {
 public:
  HostBlockFeeder(int nIn, int nOut);

  // Forgets the last block's buffers: nothing is fed until set again.
  void Clear();
  void SetInput(int channel, void* buffer) { mHostIn[channel] = buffer; }
  void SetOutput(int channel, void* buffer) { mHostOut[channel] = buffer; }
  void* Input(int channel) const { return mHostIn[channel]; }

  // Tells the plug-in which channels are fed.
  void ConnectChannels(IPlugin& plug);
  // Runs the plug-in (or its bypass) over the block, slice by slice.
  template <class Sample>
  void Process(IPlugin& plug, int frames);

 private:
  std::vector<void*> mHostIn;
  std::vector<void*> mHostOut;
  std::vector<void*> mSliceIn;
  std::vector<void*> mSliceOut;
};
