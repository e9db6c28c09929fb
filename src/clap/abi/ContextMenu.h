// context-menu: menus built by one side and shown by the other; a plug-in asks the host to pop
// up its menu for a parameter.
#pragma once

#include "clap/abi/Plugin.h"

extern "C" {

static const char CLAP_EXT_CONTEXT_MENU[] = "clap.context-menu/1";
static const char CLAP_EXT_CONTEXT_MENU_COMPAT[] = "clap.context-menu.draft/0";

enum { CLAP_CONTEXT_MENU_TARGET_KIND_GLOBAL = 0, CLAP_CONTEXT_MENU_TARGET_KIND_PARAM = 1 };

typedef struct clap_context_menu_target {
  uint32_t kind;
  clap_id id;
} clap_context_menu_target_t;

enum {
  CLAP_CONTEXT_MENU_ITEM_ENTRY = 0,
  CLAP_CONTEXT_MENU_ITEM_CHECK_ENTRY = 1,
  CLAP_CONTEXT_MENU_ITEM_SEPARATOR = 2,
  CLAP_CONTEXT_MENU_ITEM_BEGIN_SUBMENU = 3,
  CLAP_CONTEXT_MENU_ITEM_END_SUBMENU = 4,
  CLAP_CONTEXT_MENU_ITEM_TITLE = 5,
};

typedef struct clap_context_menu_builder {
  void* ctx;
  bool(CLAP_ABI* add_item)(const struct clap_context_menu_builder* builder, uint32_t item_kind,
                           const void* item_data);
  bool(CLAP_ABI* supports)(const struct clap_context_menu_builder* builder, uint32_t item_kind);
} clap_context_menu_builder_t;

// Every function: main thread.
typedef struct clap_host_context_menu {
  bool(CLAP_ABI* populate)(const clap_host_t* host, const clap_context_menu_target_t* target,
                           const clap_context_menu_builder_t* builder);
  bool(CLAP_ABI* perform)(const clap_host_t* host, const clap_context_menu_target_t* target,
                          clap_id action_id);
  bool(CLAP_ABI* can_popup)(const clap_host_t* host);
  // x and y relative to the plug-in's window for an embedded editor.
  bool(CLAP_ABI* popup)(const clap_host_t* host, const clap_context_menu_target_t* target,
                        int32_t screen_index, int32_t x, int32_t y);
} clap_host_context_menu_t;

}  // extern "C"

static_assert(sizeof(clap_context_menu_target_t) == 8 && sizeof(clap_context_menu_builder_t) == 24,
              "context menu sizes");
static_assert(sizeof(clap_host_context_menu_t) == 32, "clap_host_context_menu size");
