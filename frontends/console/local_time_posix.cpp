#include <time.h>

#include "frontends/console/local_time.h"

namespace quorvex {

int32_t LocalOffsetMinutes(int64_t utcMs) {
  const time_t seconds = static_cast<time_t>(utcMs / 1000);
  struct tm local {};
  if (localtime_r(&seconds, &local) == nullptr) return 0;
  return static_cast<int32_t>(local.tm_gmtoff / 60);
}

}  // namespace quorvex
