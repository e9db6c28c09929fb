// The characters a value prompt accepts for each parameter kind; every window's text entry filters
// typing with the same set.
#pragma once

#include "framework/IParam.h"

// Null for kinds that take any text.
inline const char* PromptCharacters(int paramKind) {
  switch (paramKind) {
    case IParam::kParamBool:
    case IParam::kParamInt:
    case IParam::kParamEnum:
      return "0123456789-+";
    case IParam::kParamDouble:
      return "0123456789.-+";
    default:
      return nullptr;
  }
}
