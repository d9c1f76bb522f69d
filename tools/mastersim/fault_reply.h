// Turns the reply an endpoint would give into the one its fault asks for.
#pragma once
#include <httplib.h>

#include <string>

#include "tools/mastersim/faults.h"
#include "tools/mastersim/stop_flag.h"

namespace quorvex::mastersim {

struct NormalReply {
  std::string body;
  std::string contentType;
};

// The response header that tells the log (and a curious client) which fault was served.
inline constexpr const char* kFaultHeader = "X-Mastersim-Fault";

// Fills `response` with `reply` as `fault` bends it. Delay and hang block this request's
// thread only, and end early when `stop` is raised.
void AnswerWithFault(const Fault& fault, const NormalReply& reply, const httplib::Request& request,
                     httplib::Response& response, const StopFlag& stop);

// The garbage body: every byte value in turn, NULs and bytes that are no UTF-8 among them.
std::string GarbageBytes();

inline constexpr size_t kHugeBodyBytes = 10 * 1024 * 1024;

}  // namespace quorvex::mastersim
