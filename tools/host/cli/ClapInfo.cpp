// "quorvane-host info" for a CLAP plug-in: descriptor, ports and parameters with their texts.
#include <string>

#include "host/clap/ClapModule.h"
#include "host/clap/ClapPlugin.h"
#include "host/cli/ClapCommands.h"
#include "host/cli/Failure.h"

namespace qvhost {

namespace {

std::string paramFlags(uint32_t flags) {
  std::string s;
  const auto add = [&](uint32_t bit, const char* name) {
    if (flags & bit) s += s.empty() ? name : std::string(",") + name;
  };
  add(CLAP_PARAM_IS_AUTOMATABLE, "automate");
  add(CLAP_PARAM_IS_STEPPED, "stepped");
  add(CLAP_PARAM_IS_ENUM, "enum");
  add(CLAP_PARAM_IS_READONLY, "read-only");
  add(CLAP_PARAM_IS_HIDDEN, "hidden");
  add(CLAP_PARAM_IS_BYPASS, "bypass");
  return s.empty() ? "-" : s;
}

void printPorts(std::FILE* out, const ClapPlugin& plugin, bool input) {
  for (const auto& p : plugin.ports(input)) {
    std::string pair =
        p.in_place_pair == CLAP_INVALID_ID ? "" : "  in-place with " + std::to_string(p.in_place_pair);
    std::fprintf(out, "  audio %s %u  \"%s\"  %u ch  %s%s%s%s\n", input ? "in " : "out", p.id, p.name,
                 p.channel_count, p.port_type ? p.port_type : "-",
                 (p.flags & CLAP_AUDIO_PORT_IS_MAIN) ? "  main" : "",
                 (p.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS) ? "  64-bit" : "", pair.c_str());
  }
}

}  // namespace

void printClapInfo(std::FILE* out, const ClapPlugin& plugin) {
  const ClapDescriptorInfo& d = plugin.descriptor();
  std::string features;
  for (const auto& f : d.features) features += (features.empty() ? "" : ", ") + f;
  std::fprintf(out, "CLAP plug-in \"%s\" (%s)\n  vendor %s, version %s, url %s\n  features: %s\n",
               d.name.c_str(), d.id.c_str(), d.vendor.c_str(), d.version.c_str(), d.url.c_str(),
               features.c_str());
  if (!d.description.empty()) std::fprintf(out, "  %s\n", d.description.c_str());
  std::fprintf(out, "Ports:\n");
  printPorts(out, plugin, true);
  printPorts(out, plugin, false);
  const auto params = plugin.parameters();
  std::fprintf(out, "Parameters (%zu):\n", params.size());
  for (const auto& p : params) {
    double v = p.defaultValue;
    plugin.value(p.id, &v);
    std::fprintf(out, "  %10u  %-22s  %s .. %s, default %s, now %s  [%s]\n", p.id,
                 ("\"" + p.name + "\"").c_str(), plugin.text(p.id, p.min).c_str(),
                 plugin.text(p.id, p.max).c_str(), plugin.text(p.id, p.defaultValue).c_str(),
                 plugin.text(p.id, v).c_str(), paramFlags(p.flags).c_str());
  }
  const clap_plugin_latency_t* lat = plugin.latencyExtension();
  std::fprintf(out, "Editor: %s\n", plugin.gui() ? "yes" : "none");
  if (lat) std::fprintf(out, "Latency: reported while active\n");
}

int runClapInfo(const CommandLine& cl) {
  std::string error;
  auto module = ClapModule::load(cl.bundle, &error);
  if (module) {
    std::fprintf(stdout, "Module: %s\n", module->libraryPath().c_str());
    const ClapDescriptorInfo* desc = module->find(cl.className);
    if (!desc) {
      error =
          "'" + cl.bundle + "' has no plug-in " + (cl.className.empty() ? "" : "\"" + cl.className + "\"");
    } else if (auto plugin = ClapPlugin::create(*module, *desc, &error)) {
      printClapInfo(stdout, *plugin);
      return 0;
    }
  }
  return fail(error);
}

}  // namespace qvhost
