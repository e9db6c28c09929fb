// Turning a command-line "Title=value" into a parameter id and normalized value.
#include "host/vst3/ParameterSetting.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "host/vst3/ValueText.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/support/Utf16.h"

using namespace vst3abi;

namespace qvhost {

namespace {

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A number, optionally followed by the parameter's unit ("-12", "-12 dB").
bool parseNumber(const std::string& text, const std::string& units, double* out) {
  const std::string t = trim(text);
  if (t.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || errno == ERANGE || !std::isfinite(v)) return false;
  const std::string rest = trim(std::string(end));
  if (!rest.empty() && (units.empty() || lower(rest) != lower(trim(units)))) return false;
  *out = v;
  return true;
}

bool parseId(const std::string& key, ParamID* out) {
  if (key.empty()) return false;
  const bool hex = key.size() > 2 && key[0] == '0' && (key[1] == 'x' || key[1] == 'X');
  const size_t start = hex ? 2 : 0;
  for (size_t i = start; i < key.size(); ++i) {
    if (hex ? !std::isxdigit(static_cast<unsigned char>(key[i]))
            : !std::isdigit(static_cast<unsigned char>(key[i]))) {
      return false;
    }
  }
  errno = 0;
  const unsigned long long v = std::strtoull(key.c_str() + start, nullptr, hex ? 16 : 10);
  if (errno == ERANGE || v > 0xFFFFFFFFull) return false;
  *out = static_cast<ParamID>(v);
  return true;
}

std::string idList(const std::vector<const ParameterDescription*>& params) {
  std::string s;
  for (const auto* p : params) {
    if (!s.empty()) s += ", ";
    s += std::to_string(p->id);
  }
  return s;
}

std::string stepList(const PluginInstance& plugin, const ParameterDescription& p) {
  if (p.stepCount > 24) return " (" + std::to_string(p.stepCount + 1) + " steps)";
  std::string s;
  for (int32 k = 0; k <= p.stepCount; ++k) {
    s += (k ? ", " : "") + valueText(plugin, p, static_cast<double>(k) / p.stepCount);
  }
  return "; it takes " + s;
}

}  // namespace

bool splitSetting(const std::string& arg, ParameterSetting* out, std::string* error) {
  const size_t eq = arg.find('=');
  ParameterSetting s;
  if (eq != std::string::npos) {
    s.key = trim(arg.substr(0, eq));
    s.value = trim(arg.substr(eq + 1));
  }
  if (eq == std::string::npos || s.key.empty() || s.value.empty()) {
    if (error) *error = "--set expects \"Title=value\" or \"id=value\", got \"" + arg + "\"";
    return false;
  }
  *out = s;
  return true;
}

bool resolveSetting(const PluginInstance& plugin, const std::vector<ParameterDescription>& params,
                    const ParameterSetting& setting, ResolvedSetting* out, std::string* error) {
  IEditController* controller = plugin.controller();
  if (!controller) {
    if (error) *error = "the plug-in has no controller, so its parameters cannot be set";
    return false;
  }

  std::vector<const ParameterDescription*> matches;
  for (const auto& p : params) {
    if (p.title == setting.key) matches.push_back(&p);
  }
  if (matches.empty()) {
    for (const auto& p : params) {
      if (lower(p.title) == lower(setting.key)) matches.push_back(&p);
    }
  }
  ParamID id = kNoParamId;
  if (matches.empty() && parseId(setting.key, &id)) {
    for (const auto& p : params) {
      if (p.id == id) matches.push_back(&p);
    }
    if (matches.empty()) {
      if (error) *error = "unknown parameter id " + setting.key;
      return false;
    }
  }
  if (matches.empty()) {
    if (error)
      *error = "unknown parameter \"" + setting.key + "\" (see the parameter list of the info command)";
    return false;
  }
  if (matches.size() > 1) {
    if (error) {
      *error = "several parameters are called \"" + setting.key + "\" (ids " + idList(matches) +
               "); set one by its id, e.g. --set " + std::to_string(matches[0]->id) + "=" + setting.value;
    }
    return false;
  }
  const ParameterDescription& p = *matches[0];
  if (p.flags & ParameterInfo::kIsReadOnly) {
    if (error) *error = "parameter \"" + p.title + "\" is read-only";
    return false;
  }

  const std::string& text = setting.value;
  double normalized = std::nan("");

  // Discrete parameters: match one of the texts shown for its steps.
  if (p.stepCount > 0 && p.stepCount <= 4096) {
    for (int32 k = 0; k <= p.stepCount; ++k) {
      const double v = static_cast<double>(k) / p.stepCount;
      if (lower(trim(valueText(plugin, p, v))) == lower(text)) {
        normalized = v;
        break;
      }
    }
  }

  double number = 0;
  const bool numeric = parseNumber(text, p.units, &number);
  const auto outOfRange = [&](const std::string& range) {
    if (error) *error = "value " + text + " is out of range for \"" + p.title + "\"" + range;
    return false;
  };
  std::string rangeText;
  if (std::isnan(normalized)) {
    double lo = 0, hi = 0;
    const std::string d0 = plugin.displayString(p.id, 0.0), d1 = plugin.displayString(p.id, 1.0);
    if (parseNumber(d0, p.units, &lo) && parseNumber(d1, p.units, &hi)) {
      // A parameter shown as numbers takes numbers; plug-ins often read any text as 0.
      if (!numeric) {
        if (error)
          *error = "\"" + text + "\" is not a valid value for \"" + p.title + "\" (a number is expected)";
        return false;
      }
      if (lo > hi) std::swap(lo, hi);
      rangeText = " (" + trim(d0) + " .. " + trim(d1) + (p.units.empty() ? "" : " " + trim(p.units)) + ")";
      const double slack = 1e-9 * std::max(1.0, hi - lo);
      if (number < lo - slack || number > hi + slack) return outOfRange(rangeText);
    }
  }
  if (std::isnan(normalized)) {
    // UTF-16 never needs more units than UTF-8 has bytes.
    std::vector<char16_t> u(text.size() + 1);
    vstsupport::Utf8ToUtf16(text.c_str(), u.data(), u.size());
    double v = 0;
    if (controller->getParamValueByString(p.id, u.data(), &v) == kResultOk && std::isfinite(v)) {
      normalized = v;
    } else if (numeric) {
      normalized = controller->plainParamToNormalized(p.id, number);
    }
  }
  if (std::isnan(normalized)) {
    if (error) {
      *error = "\"" + text + "\" is not a valid value for \"" + p.title + "\"" +
               (p.stepCount > 0 ? stepList(plugin, p) : std::string());
    }
    return false;
  }
  if (!std::isfinite(normalized) || normalized < -1e-6 || normalized > 1 + 1e-6) return outOfRange(rangeText);
  normalized = std::clamp(normalized, 0.0, 1.0);
  // A value between steps would be cut to the step below by the plug-in, silently.
  if (p.stepCount > 0) {
    const double step = std::round(normalized * p.stepCount);
    if (std::fabs(normalized * p.stepCount - step) > 1e-6) {
      if (error)
        *error = "\"" + text + "\" is not one of the values of \"" + p.title + "\"" + stepList(plugin, p);
      return false;
    }
    normalized = step / p.stepCount;
  }

  out->id = p.id;
  out->title = p.title;
  out->normalized = normalized;
  out->display = valueText(plugin, p, normalized);
  return true;
}

}  // namespace qvhost
