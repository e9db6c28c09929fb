// Host identification by substring search. The order of the table decides between names that
// contain several keys, so it must not be sorted.
#include "framework/HostIdentification.h"

#include "base/ToLower.h"

#include <cstring>

namespace {
struct HostKey {
  const char* key;
  EHost host;
};

const HostKey kHostKeys[] = {
    {"cubase", kHostCubase},
    {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostSonar},
    {"samplitude", kHostSamplitude},
    {"fruity", kHostFL},
    {"live", kHostLive},
    {"melodyne", kHostMelodyne},
    {"vstmanlib", kHostVSTScanner},
    {"aulab", kHostAULab},
    {"garageband", kHostGarageBand},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"sawstudio", kHostSAWStudio},
    {"logic", kHostLogic},
    {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostStudioOne},
    {"vst3plugintesthost", kHostVST3TestHost},
    {"protools", kHostProTools},
    {"ardour", kHostArdour},
    {"openmpt", kHostOpenMPT},
    {"renoise", kHostRenoise},
    {"standalone", kHostStandalone},
};
}  // namespace

EHost LookUpHost(const char* name) {
  char lower[256];
  ToLower(lower, name, sizeof(lower));
  for (const HostKey& k : kHostKeys)
    if (std::strstr(lower, k.key)) return k.host;
  return kHostUnknown;
}

void GetHostNameStr(EHost host, char* out) {
  if (!out) return;
  const char* name = "Unknown";
  switch (host) {
    case kHostReaper:
      name = "Reaper";
      break;
    case kHostProTools:
      name = "ProTools";
      break;
    case kHostCubase:
      name = "Cubase";
      break;
    case kHostNuendo:
      name = "Nuendo";
      break;
    case kHostSonar:
      name = "Sonar";
      break;
    case kHostVegas:
      name = "Vegas";
      break;
    case kHostFL:
      name = "FLStudio";
      break;
    case kHostSamplitude:
      name = "Samplitude";
      break;
    case kHostLive:
      name = "Live";
      break;
    case kHostVSTScanner:
      name = "VSTScanner";
      break;
    case kHostAULab:
      name = "AULab";
      break;
    case kHostForte:
      name = "Forte";
      break;
    case kHostChainer:
      name = "Chainer";
      break;
    case kHostAudition:
      name = "Audition";
      break;
    case kHostOrion:
      name = "Orion";
      break;
    case kHostSAWStudio:
      name = "SAWStudio";
      break;
    case kHostLogic:
      name = "Logic";
      break;
    case kHostGarageBand:
      name = "GarageBand";
      break;
    case kHostDigitalPerformer:
      name = "DigitalPerformer";
      break;
    case kHostStandalone:
      name = "Standalone";
      break;
    case kHostAudioMulch:
      name = "AudioMulch";
      break;
    case kHostStudioOne:
      name = "StudioOne";
      break;
    case kHostVST3TestHost:
      name = "VST3PluginTestHost";
      break;
    case kHostArdour:
      name = "Ardour";
      break;
    case kHostRenoise:
      name = "Renoise";
      break;
    case kHostOpenMPT:
      name = "OpenMPT";
      break;
    default:
      break;
  }
  std::strcpy(out, name);
}
