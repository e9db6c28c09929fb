// What the host tells a new plug-in instance about itself at construction. The VST 3 format tells
// nothing, so the record is empty; it keeps the plug-in's constructor the same for every format.
#pragma once

struct IPluginInstanceInfo {};
