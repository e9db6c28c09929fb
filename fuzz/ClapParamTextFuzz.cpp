// Fuzzes Quorvane.clap's parameter texts: the first byte picks a parameter, the rest is what a user
// typed into the host. An accepted text gives a value inside the range whose own text reads back
// to the same value; value_to_text takes any double (the next eight bytes) into a buffer of any
// capacity and always leaves a terminated string inside it.
#include "FuzzProcess.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

using namespace qvhost;

namespace {

struct Session : FuzzClap {
  bool Parse(clap_id id, const std::string& text, double* value) {
    return plugin->params()->text_to_value(plugin->plugin(), id, text.c_str(), value);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session* s = new Session;
  if (size < 1) return 0;
  // One past the list stands for an id no parameter has.
  const size_t pick = data[0] % (s->params.size() + 1);
  const clap_id id = pick < s->params.size() ? s->params[pick].id : 0x7FFFFFFF;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  double value = NAN;
  if (s->Parse(id, text.c_str(), &value)) {
    const ClapParameter& p = s->params.at(pick);
    if (!(value >= p.min && value <= p.max)) std::abort();
    const std::string shown = s->plugin->text(id, value);
    double again = NAN;
    if (!s->Parse(id, shown, &again) || s->plugin->text(id, again) != shown) {
      std::fprintf(stderr, "'%s' -> %g -> '%s' does not read back\n", text.c_str(), value, shown.c_str());
      std::abort();
    }
  }

  if (size >= 10) {
    double any;
    std::memcpy(&any, data + 1, sizeof any);
    const uint32_t capacity = 1 + data[9] % 80;
    char buf[96];
    std::memset(buf, 'x', sizeof buf);
    if (s->plugin->params()->value_to_text(s->plugin->plugin(), id, any, buf, capacity) &&
        std::memchr(buf, '\0', capacity) == nullptr)
      std::abort();
    if (buf[capacity] != 'x') std::abort();  // nothing written past the capacity
  }
  return 0;
}
