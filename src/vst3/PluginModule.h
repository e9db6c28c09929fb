// The functions a plug-in supplies to the module: instance creation for the class factory and the
// module load/unload hooks.
#pragma once

class IPluginVST3;

// Creates one plug-in instance (reference count one), serialised by a process-wide mutex.
IPluginVST3* MakePlug();
// Called on every module entry and exit; false refuses the load or the unload.
bool InitModule();
bool DeinitModule();
