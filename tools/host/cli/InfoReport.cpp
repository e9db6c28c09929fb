// The text the info command prints.
#include "host/cli/InfoReport.h"

#include <string>

#include "host/vst3/BlockProcessor.h"
#include "host/vst3/ValueText.h"
#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

namespace {

std::string factoryFlags(int32 flags) {
  std::string s;
  const auto add = [&](int32 bit, const char* name) {
    if (flags & bit) s += s.empty() ? name : std::string(", ") + name;
  };
  add(PFactoryInfo::kClassesDiscardable, "classes discardable");
  add(PFactoryInfo::kLicenseCheck, "license check");
  add(PFactoryInfo::kComponentNonDiscardable, "component non-discardable");
  add(PFactoryInfo::kUnicode, "unicode");
  return s.empty() ? "none" : s;
}

std::string parameterFlags(int32 flags) {
  std::string s;
  const auto add = [&](int32 bit, const char* name) {
    if (flags & bit) s += s.empty() ? name : std::string(",") + name;
  };
  add(ParameterInfo::kCanAutomate, "automate");
  add(ParameterInfo::kIsReadOnly, "read-only");
  add(ParameterInfo::kIsWrapAround, "wrap");
  add(ParameterInfo::kIsList, "list");
  add(ParameterInfo::kIsHidden, "hidden");
  add(ParameterInfo::kIsProgramChange, "program-change");
  add(ParameterInfo::kIsBypass, "bypass");
  return s.empty() ? "-" : s;
}

const char* busTypeName(BusType t) { return t == kMain ? "main" : (t == kAux ? "aux" : "?"); }

void printBusses(std::FILE* out, PluginInstance& plugin, MediaType type, BusDirection dir) {
  const char* kind = type == kAudio ? "audio" : "event";
  const char* direction = dir == kInput ? "in " : "out";
  for (const auto& b : plugin.busses(type, dir)) {
    std::fprintf(out, "  %s %s %d  \"%s\"  %d ch  %s%s", kind, direction, b.index, b.name.c_str(),
                 b.channelCount, busTypeName(b.busType),
                 (b.flags & BusInfo::kDefaultActive) ? "  default-active" : "");
    if (type == kAudio)
      std::fprintf(out, "  arrangement 0x%llx", static_cast<unsigned long long>(b.arrangement));
    std::fprintf(out, "\n");
  }
}

}  // namespace

void printModuleInfo(std::FILE* out, const Module& module) {
  const FactoryInfo& f = module.factoryInfo();
  std::fprintf(out, "Module    %s\n", module.libraryPath().c_str());
  std::fprintf(out, "Factory   vendor \"%s\"  url \"%s\"  e-mail \"%s\"  flags %s\n", f.vendor.c_str(),
               f.url.c_str(), f.email.c_str(), factoryFlags(f.flags).c_str());
  std::fprintf(out, "Classes   %zu\n", module.classes().size());
  for (const ClassInfo& c : module.classes()) {
    std::fprintf(out, "  [%d] %s  \"%s\"  CID %s\n", c.index, c.category.c_str(), c.name.c_str(),
                 uidText(c.cid.data()).c_str());
    std::fprintf(out,
                 "      vendor \"%s\"  version \"%s\"  SDK \"%s\"  sub-categories \"%s\"  class flags %u%s\n",
                 c.vendor.c_str(), c.version.c_str(), c.sdkVersion.c_str(), c.subCategories.c_str(),
                 c.classFlags, (c.classFlags & kDistributable) ? " (distributable)" : "");
  }
}

void printInstanceInfo(std::FILE* out, PluginInstance& plugin) {
  std::fprintf(out, "\nPlug-in   \"%s\"  %s\n", plugin.classInfo().name.c_str(),
               plugin.singleComponent() ? "(single component: processor and controller in one object)"
               : plugin.controller()    ? (plugin.connected() ? "(separate controller, connected)"
                                                              : "(separate controller, not connected)")
                                        : "(no controller)");
  std::fprintf(out, "Busses\n");
  printBusses(out, plugin, kAudio, kInput);
  printBusses(out, plugin, kAudio, kOutput);
  printBusses(out, plugin, kEvent, kInput);
  printBusses(out, plugin, kEvent, kOutput);

  IAudioProcessor* proc = plugin.processor();
  const bool can32 = proc->canProcessSampleSize(kSample32) == kResultTrue;
  const bool can64 = proc->canProcessSampleSize(kSample64) == kResultTrue;
  std::fprintf(out, "Processing  32-bit %s, 64-bit %s", can32 ? "yes" : "no", can64 ? "yes" : "no");
  {
    BlockProcessor bp(plugin);
    ProcessConfig config;
    config.symbolicSampleSize = can32 ? kSample32 : kSample64;
    std::string error;
    if (bp.start(config, &error)) {
      const uint32 tail = bp.tail();
      std::fprintf(out, "; at 48000 Hz: latency %u samples, tail ", bp.latency());
      if (tail == kInfiniteTail) {
        std::fprintf(out, "infinite\n");
      } else {
        std::fprintf(out, "%u samples\n", tail);
      }
      bp.stop();
    } else {
      std::fprintf(out, "; setup failed: %s\n", error.c_str());
    }
  }

  const auto params = plugin.parameters();
  std::fprintf(out, "Parameters  %zu\n", params.size());
  for (const auto& p : params) {
    std::fprintf(out, "  id %u  \"%s\"", p.id, p.title.c_str());
    if (!p.shortTitle.empty() && p.shortTitle != p.title)
      std::fprintf(out, " (short \"%s\")", p.shortTitle.c_str());
    std::fprintf(out, "  units \"%s\"  steps %d  flags %s", p.units.c_str(), p.stepCount,
                 parameterFlags(p.flags).c_str());
    if (p.unitId != 0) std::fprintf(out, "  unit %d", p.unitId);
    std::fprintf(out, "\n      default %.6g = \"%s\"  current \"%s\"", p.defaultNormalized,
                 valueText(plugin, p, p.defaultNormalized).c_str(),
                 plugin.controller()
                     ? valueText(plugin, p, plugin.controller()->getParamNormalized(p.id)).c_str()
                     : "");
    if (p.stepCount > 0 && p.stepCount <= 24) {
      std::fprintf(out, "  values");
      for (int32 k = 0; k <= p.stepCount; ++k) {
        std::fprintf(out, "%s \"%s\"", k ? "," : "",
                     valueText(plugin, p, static_cast<double>(k) / p.stepCount).c_str());
      }
    } else {
      std::fprintf(out, "  range \"%s\" .. \"%s\"", valueText(plugin, p, 0.0).c_str(),
                   valueText(plugin, p, 1.0).c_str());
    }
    std::fprintf(out, "\n");
  }
}

}  // namespace qvhost
