// What a plug-in supplies to the CLAP module besides its identity (GetPluginIdentity): instance
// creation for the factory and the module load/unload hooks.
#pragma once

#include "clap/IPluginInstanceInfo.h"

class IPluginCLAP;

// One new instance, or null; serialised by a process-wide mutex.
IPluginCLAP* MakePlug(IPluginInstanceInfo info);
// Called on the first entry init and the last deinit; false refuses the load.
bool InitModule();
bool DeinitModule();
