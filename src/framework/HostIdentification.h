// Host identification: turns the host application's name into a host code and back into a
// display name, so plug-in code can adapt to known hosts.
#pragma once

// Fixed int base: codes beyond the table are valid values and display as "Unknown".
enum EHost : int {
  kHostUninit = -1,
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostProTools = 2,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostSonar = 5,
  kHostVegas = 6,
  kHostFL = 7,
  kHostSamplitude = 8,
  kHostLive = 9,
  kHostUnused10 = 10,
  kHostUnused11 = 11,
  kHostMelodyne = 12,
  kHostVSTScanner = 13,
  kHostAULab = 14,
  kHostForte = 15,
  kHostChainer = 16,
  kHostAudition = 17,
  kHostOrion = 18,
  kHostUnused19 = 19,
  kHostSAWStudio = 20,
  kHostLogic = 21,
  kHostGarageBand = 22,
  kHostDigitalPerformer = 23,
  kHostStandalone = 24,
  kHostAudioMulch = 25,
  kHostStudioOne = 26,
  kHostVST3TestHost = 27,
  kHostArdour = 28,
  kHostRenoise = 29,
  kHostOpenMPT = 30,
};

// Longest display name plus terminator.
constexpr int kHostNameStrSize = 19;

// Case-insensitive substring search in a fixed order; 0 when nothing matches. Names longer than
// 255 characters are looked at only up to that length.
EHost LookUpHost(const char* name);

// out must hold kHostNameStrSize bytes.
void GetHostNameStr(EHost host, char* out);
