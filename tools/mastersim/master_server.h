// The HTTP face of mastersim: the three master-list endpoints and the control endpoint.
#pragma once
#include <httplib.h>

#include <ostream>
#include <string>

#include "tools/mastersim/master_state.h"
#include "tools/mastersim/stop_flag.h"

namespace quorvex::mastersim {

class MasterServer {
 public:
  // `log` gets one flushed line per request.
  MasterServer(MasterState& state, const StopFlag& stop, std::ostream& log);

  // Binds to `address`; port 0 takes a free one. Returns the port, or -1 on failure.
  int Bind(const std::string& address, int port);
  // Serves until Stop is called from another thread.
  void Run();
  void Stop();

 private:
  void AddMasterRoutes();
  void AddControlRoutes();
  void Answer(Endpoint endpoint, const std::string& body, const std::string& contentType,
              const httplib::Request& request, httplib::Response& response);
  void Log(const httplib::Request& request, const httplib::Response& response);

  MasterState& state_;
  const StopFlag& stop_;
  std::ostream& log_;
  httplib::Server http_;
};

}  // namespace quorvex::mastersim
