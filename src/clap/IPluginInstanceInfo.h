// What the host tells a new plug-in instance about itself at construction: its host record, which
// the instance keeps for its whole life (host functions may only be called from init on).
#pragma once

struct clap_host;

struct IPluginInstanceInfo {
  const clap_host* host = nullptr;
};
