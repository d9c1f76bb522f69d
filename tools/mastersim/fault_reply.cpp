#include "tools/mastersim/fault_reply.h"

#include <algorithm>
#include <chrono>

#include "tools/mastersim/connection.h"

namespace quorvex::mastersim {

namespace {

using std::chrono::milliseconds;

// A hung request is let go after this long even if the client stays.
constexpr auto kLongestHang = std::chrono::minutes(10);

Peer PeerOf(const httplib::Request& request) { return {request.remote_addr, request.remote_port}; }

// `note` names the fault in the log; the client gets nothing.
void Reset(const httplib::Request& request, httplib::Response& response, const std::string& note = "reset") {
  ResetConnection(PeerOf(request));
  response.set_header(kFaultHeader, note);
}

// Holds the request until the client gives up or mastersim stops, then drops it
// without a reply.
void Hang(const httplib::Request& request, httplib::Response& response, const StopFlag& stop) {
  const auto until = std::chrono::steady_clock::now() + kLongestHang;
  while (!stop.WaitFor(milliseconds(100)) && !PeerHasLeft(PeerOf(request)) &&
         std::chrono::steady_clock::now() < until) {
  }
  Reset(request, response, "hang");
}

// Announces the whole body, sends its first half and ends the connection.
void Truncate(const NormalReply& reply, httplib::Response& response) {
  const std::string half = reply.body.substr(0, reply.body.size() / 2);
  response.set_content_provider(reply.body.size() + 1, reply.contentType,
                                [half](size_t, size_t, httplib::DataSink& sink) {
                                  sink.write(half.data(), half.size());
                                  return false;  // the library closes the connection
                                });
  response.set_header(kFaultHeader, "truncated");
}

// The normal body repeated up to 10 MiB, sent in pieces so it is never held whole.
void Huge(const NormalReply& reply, httplib::Response& response) {
  const std::string pattern = reply.body.empty() ? std::string("x") : reply.body;
  response.set_content_provider(kHugeBodyBytes, reply.contentType,
                                [pattern](size_t offset, size_t length, httplib::DataSink& sink) {
                                  std::string piece(std::min<size_t>(length, 64 * 1024), '\0');
                                  for (size_t i = 0; i < piece.size(); ++i) {
                                    piece[i] = pattern[(offset + i) % pattern.size()];
                                  }
                                  return sink.write(piece.data(), piece.size());
                                });
  response.set_header(kFaultHeader, "huge");
}

// The whole body, one byte at a time with a pause before each: a live but crawling server.
void Trickle(const NormalReply& reply, int pauseMs, httplib::Response& response, const StopFlag& stop) {
  const std::string body = reply.body;
  const StopFlag* stopFlag = &stop;
  response.set_content_provider(body.size(), reply.contentType,
                                [body, pauseMs, stopFlag](size_t offset, size_t, httplib::DataSink& sink) {
                                  if (stopFlag->WaitFor(milliseconds(pauseMs))) return false;
                                  return sink.write(body.data() + offset, 1);
                                });
  response.set_header(kFaultHeader, "trickle:" + std::to_string(pauseMs));
}

void ErrorStatus(int status, httplib::Response& response) {
  response.status = status;
  const std::string code = std::to_string(status);
  response.set_content("<html><head><title>" + code + " Error</title></head><body><h1>" + code +
                           " Error</h1><p>mastersim was told to fail this request.</p></body></html>\n",
                       "text/html");
  response.set_header(kFaultHeader, "status:" + code);
}

}  // namespace

std::string GarbageBytes() {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(i % 256);
  return bytes;
}

void AnswerWithFault(const Fault& fault, const NormalReply& reply, const httplib::Request& request,
                     httplib::Response& response, const StopFlag& stop) {
  switch (fault.mode) {
    case FaultMode::Delay:
      if (stop.WaitFor(milliseconds(fault.arg))) return Reset(request, response, "delay cut by shutdown");
      response.set_content(reply.body, reply.contentType);
      response.set_header(kFaultHeader, FaultName(fault));
      return;
    case FaultMode::Trickle: return Trickle(reply, fault.arg, response, stop);
    case FaultMode::Hang: return Hang(request, response, stop);
    case FaultMode::Reset: return Reset(request, response);
    case FaultMode::Truncated: return Truncate(reply, response);
    case FaultMode::Huge: return Huge(reply, response);
    case FaultMode::Garbage:
      response.set_content(GarbageBytes(), "application/octet-stream");
      response.set_header(kFaultHeader, "garbage");
      return;
    case FaultMode::Status: return ErrorStatus(fault.arg, response);
    case FaultMode::None:
    case FaultMode::Negative:  // applied to the count before the reply was made
    case FaultMode::Disagree:
      response.set_content(reply.body, reply.contentType);
      if (fault.mode != FaultMode::None) response.set_header(kFaultHeader, FaultName(fault));
      return;
  }
}

}  // namespace quorvex::mastersim
