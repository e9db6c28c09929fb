// The CLAP adapter's parameters: the host's list and texts, host events applied under the plug-in
// lock (the last value in a block holds for the block), the editor's gestures queued for the
// host, and the state streams.
#include "clap/IPluginCLAP.h"

#include "base/CopyCString.h"
#include "base/ParseLeadingNumber.h"
#include "framework/ByteChunk.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// Values a host may store outside the range, or in between steps, land where the framework's own
// controls would put them.
double Conform(const IParam* param, double plain) {
  if (param->GetType() != IParam::kParamDouble && param->GetStep() > 0.0)
    plain = std::floor(plain / param->GetStep() + 0.5) * param->GetStep();
  return std::min(std::max(plain, param->GetMin()), param->GetMax());
}

}  // namespace

bool IPluginCLAP::IsFrameworkParam(clap_id id) const {
  return id < static_cast<clap_id>(GetParamCount()) && GetParam(static_cast<int>(id)) &&
         GetParam(static_cast<int>(id))->GetType() != IParam::kParamNone;
}

bool IPluginCLAP::ParamInfo(uint32_t index, clap_param_info_t* info) const {
  if (!info || index >= mParamIds.size()) return false;
  *info = clap_param_info_t{};
  const clap_id id = mParamIds[index];
  info->id = id;
  if (id == kBypassParam) {
    info->flags = CLAP_PARAM_IS_BYPASS | CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_AUTOMATABLE;
    CopyCString(info->name, sizeof info->name, "Bypass");
    info->max_value = 1.0;
    return true;
  }
  const IParam* p = GetParam(static_cast<int>(id));
  info->flags = (p->GetType() == IParam::kParamDouble ? 0u : static_cast<uint32_t>(CLAP_PARAM_IS_STEPPED)) |
                (p->GetCanAutomate() ? static_cast<uint32_t>(CLAP_PARAM_IS_AUTOMATABLE) : 0u);
  if (p->GetType() == IParam::kParamEnum) info->flags |= CLAP_PARAM_IS_ENUM;
  CopyCString(info->name, sizeof info->name, p->GetNameForHost());
  CopyCString(info->module, sizeof info->module, p->GetParamGroupForHost());
  info->min_value = p->GetMin();
  info->max_value = p->GetMax();
  info->default_value = p->GetDefault();
  return true;
}

bool IPluginCLAP::ParamValue(clap_id id, double* value) const {
  if (!value) return false;
  if (id == kBypassParam) {
    *value = IsBypassed() ? 1.0 : 0.0;
    return true;
  }
  if (!IsFrameworkParam(id)) return false;
  *value = GetParam(static_cast<int>(id))->GetValue();
  return true;
}

// The framework's display text, with the unit a VST 3 host shows beside it.
bool IPluginCLAP::ParamValueToText(clap_id id, double value, char* out, uint32_t capacity) const {
  if (!out || capacity == 0 || std::isnan(value)) return false;
  if (id == kBypassParam) {
    CopyCString(out, capacity, value >= 0.5 ? "on" : "off");
    return true;
  }
  if (!IsFrameworkParam(id)) return false;
  const IParam* p = GetParam(static_cast<int>(id));
  char text[IParam::kDisplayBufSize] = "";
  p->GetDisplayForHost(Conform(p, value), false, text, true, sizeof text);
  const bool displayText =
      p->GetNDisplayTexts() > 0 && p->GetDisplayText(IParam::TruncToInt(Conform(p, value)))[0];
  const char* label = displayText ? "" : p->GetLabelForHost();
  char full[IParam::kDisplayBufSize + IParam::kMaxStrLen + 1];
  std::snprintf(full, sizeof full, label && *label ? "%s %s" : "%s", text, label);
  CopyCString(out, capacity, full);
  return true;
}

// A display text the parameter knows, or a number with or without its unit. Text that is neither
// is refused instead of being read as the minimum.
bool IPluginCLAP::ParamTextToValue(clap_id id, const char* text, double* value) const {
  if (!text || !value) return false;
  double plain = 0.0;
  if (id == kBypassParam) {
    if (!std::strcmp(text, "on") || !std::strcmp(text, "off")) {
      *value = text[1] == 'n' ? 1.0 : 0.0;
      return true;
    }
    if (!ParseLeadingNumber(text, plain)) return false;
    *value = plain >= 0.5 ? 1.0 : 0.0;
    return true;
  }
  if (!IsFrameworkParam(id)) return false;
  const IParam* p = GetParam(static_cast<int>(id));
  int mapped = 0;
  if (p->MapDisplayText(text, &mapped)) {
    plain = mapped;
  } else if (!ParseLeadingNumber(text, plain)) {
    return false;
  }
  if (p->GetNegateDisplay()) plain = -plain;
  *value = Conform(p, plain);
  return true;
}

// ---- Events --------------------------------------------------------------------------------------

void IPluginCLAP::ApplyEvents(const clap_input_events_t* in) {
  if (!in || !in->size || !in->get) return;
  bool bypassSeen = false;
  double bypass = 0.0;
  bool any = false;
  const uint32_t n = in->size(in);
  for (uint32_t i = 0; i < n; ++i) {
    const clap_event_header_t* h = in->get(in, i);
    if (!h || h->space_id != CLAP_CORE_EVENT_SPACE_ID) continue;
    if (h->type == CLAP_EVENT_TRANSPORT && h->size >= sizeof(clap_event_transport_t)) {
      ApplyTransport(*reinterpret_cast<const clap_event_transport_t*>(h));
      continue;
    }
    if (h->type != CLAP_EVENT_PARAM_VALUE || h->size < sizeof(clap_event_param_value_t)) continue;
    const auto* e = reinterpret_cast<const clap_event_param_value_t*>(h);
    if (std::isnan(e->value)) continue;
    if (e->param_id == kBypassParam) {
      bypassSeen = true;
      bypass = e->value;
    } else if (IsFrameworkParam(e->param_id)) {
      mPendingValues[e->param_id] = e->value;
      any = true;
    }
  }
  if (bypassSeen && (bypass >= 0.5) != IsBypassed()) SetBypassed(bypass >= 0.5);
  if (!any) return;
  for (size_t idx = 0; idx < mPendingValues.size(); ++idx) {
    const double value = mPendingValues[idx];
    if (std::isnan(value)) continue;
    mPendingValues[idx] = std::numeric_limits<double>::quiet_NaN();
    IParam* p = GetParam(static_cast<int>(idx));
    p->SetValue(Conform(p, value));
    if (IEditorDelegate* editor = GetGraphics())
      editor->SetParameterFromPlug(static_cast<int>(idx), p->GetNormalized(), true);
    OnParamChange(static_cast<int>(idx));
  }
}

void IPluginCLAP::PushQueuedEvents(const clap_output_events_t* out) {
  if (!out || !out->try_push) return;
  size_t sent = 0;
  for (; sent < mToHost.Size(); ++sent) {
    const ParamEventQueue::Entry& e = mToHost[sent];
    bool ok;
    if (e.kind == ParamEventQueue::Kind::kValue) {
      clap_event_param_value_t ev{};
      ev.header = {sizeof ev, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
      ev.param_id = e.id;
      ev.note_id = -1;
      ev.port_index = ev.channel = ev.key = -1;
      ev.value = e.value;
      ok = out->try_push(out, &ev.header);
    } else {
      clap_event_param_gesture_t ev{};
      const uint16_t type = e.kind == ParamEventQueue::Kind::kBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                                                    : CLAP_EVENT_PARAM_GESTURE_END;
      ev.header = {sizeof ev, 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
      ev.param_id = e.id;
      ok = out->try_push(out, &ev.header);
    }
    if (!ok) break;  // the rest waits for the next call
  }
  mToHost.Consume(sent);
}

void IPluginCLAP::FlushParams(const clap_input_events_t* in, const clap_output_events_t* out) {
  const AudioCall audioCall(*this);
  try {
    RecursiveMutexLock lock(mMutex);
    ApplyEvents(in);
    PushQueuedEvents(out);
  } catch (...) {
  }
}

// The editor's edits: the parameter already holds the value, so get_value is current; the host
// hears of it with the next process or flush call.
void IPluginCLAP::QueueForHost(ParamEventQueue::Kind kind, int idx, double value) {
  if (!IsFrameworkParam(static_cast<clap_id>(idx))) return;
  {
    RecursiveMutexLock lock(mMutex);
    mToHost.Push(kind, static_cast<clap_id>(idx), value);
  }
  const bool fromAudioCall = mAudioCallThread.load(std::memory_order_relaxed) == std::this_thread::get_id();
  if (!fromAudioCall && mHostParams && mHostParams->request_flush) mHostParams->request_flush(mClapHost);
}

void IPluginCLAP::BeginInformHostOfParamChange(int idx) {
  QueueForHost(ParamEventQueue::Kind::kBegin, idx, 0.0);
}

void IPluginCLAP::InformHostOfParamChange(int idx, double normalizedValue) {
  const IParam* p = GetParam(idx);
  if (!p) return;
  QueueForHost(ParamEventQueue::Kind::kValue, idx, Conform(p, p->GetNonNormalized(normalizedValue)));
}

void IPluginCLAP::EndInformHostOfParamChange(int idx) { QueueForHost(ParamEventQueue::Kind::kEnd, idx, 0.0); }

// ---- State ---------------------------------------------------------------------------------------

bool IPluginCLAP::SaveState(const clap_ostream_t* stream) {
  if (!stream || !stream->write) return false;
  try {
    ByteChunk chunk;
    {
      RecursiveMutexLock lock(mMutex);
      if (!SerializeState(&chunk)) return false;
      const int32_t bypass = IsBypassed() ? 1 : 0;
      if (chunk.AppendValue(&bypass) <= 0) return false;
    }
    const auto* data = chunk.Data();
    int64_t left = chunk.Size();
    while (left > 0) {
      const int64_t wrote = stream->write(stream, data, static_cast<uint64_t>(left));
      if (wrote <= 0 || wrote > left) return false;
      data += wrote;
      left -= wrote;
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool IPluginCLAP::LoadState(const clap_istream_t* stream) {
  if (!stream || !stream->read) return false;
  try {
    RecursiveMutexLock lock(mMutex);
    ByteChunk current;
    if (!SerializeState(&current) || current.Size() <= 0) return false;
    const int n = current.Size();
    const int total = n + static_cast<int>(sizeof(int32_t));
    ByteChunk chunk;
    if (chunk.Resize(total) != total) return false;
    int have = 0;
    while (have < total) {
      const int64_t got = stream->read(stream, chunk.Data() + have, static_cast<uint64_t>(total - have));
      if (got <= 0 || got > total - have) break;
      have += static_cast<int>(got);
    }
    if (have < total || !CheckState(&chunk, 0)) return false;
    int32_t bypass = 0;
    std::memcpy(&bypass, chunk.Data() + n, sizeof bypass);
    if (UnserializeState(&chunk, 0) < 0) return false;
    SetBypassed(bypass != 0);
    RedrawParamControls();
  } catch (...) {
    return false;
  }
  if (mHostParams && mHostParams->rescan) mHostParams->rescan(mClapHost, CLAP_PARAM_RESCAN_VALUES);
  return true;
}

// ---- Extension records ---------------------------------------------------------------------------

const clap_plugin_params_t IPluginCLAP::sParams = {
    [](const clap_plugin_t* p) { return FromClap(p)->ParamCount(); },
    [](const clap_plugin_t* p, uint32_t index, clap_param_info_t* info) {
      return FromClap(p)->ParamInfo(index, info);
    },
    [](const clap_plugin_t* p, clap_id id, double* value) { return FromClap(p)->ParamValue(id, value); },
    [](const clap_plugin_t* p, clap_id id, double value, char* out, uint32_t capacity) {
      return FromClap(p)->ParamValueToText(id, value, out, capacity);
    },
    [](const clap_plugin_t* p, clap_id id, const char* text, double* value) {
      return FromClap(p)->ParamTextToValue(id, text, value);
    },
    [](const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out) {
      FromClap(p)->FlushParams(in, out);
    },
};

const clap_plugin_state_t IPluginCLAP::sState = {
    [](const clap_plugin_t* p, const clap_ostream_t* stream) { return FromClap(p)->SaveState(stream); },
    [](const clap_plugin_t* p, const clap_istream_t* stream) { return FromClap(p)->LoadState(stream); },
};
