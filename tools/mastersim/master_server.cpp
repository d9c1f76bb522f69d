#include "tools/mastersim/master_server.h"

#include <charconv>
#include <mutex>

#include "tools/mastersim/fault_reply.h"
#include "tools/mastersim/reply_xml.h"

namespace quorvex::mastersim {

namespace {

// Enough threads that a few hung requests and idle keep-alive connections never keep
// a new request waiting.
constexpr size_t kRequestThreads = 64;

const char* kXml = "text/xml; charset=utf-8";

// A query number; anything that is not one counts as 0, as a lenient PHP page would.
int QueryNumber(const httplib::Request& request, const char* name) {
  const std::string text = request.get_param_value(name);
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value < 0 ? 0 : value;
}

int ReportedCount(const ServerSet& servers, const Fault& fault) {
  const int count = OnlineCount(servers);
  if (fault.mode == FaultMode::Negative) return -1 - count;
  if (fault.mode == FaultMode::Disagree) return count + 5;
  return count;
}

std::string FaultSummary(const MasterState& state) {
  std::string summary;
  for (const Endpoint endpoint : {Endpoint::Count, Endpoint::List, Endpoint::Version}) {
    summary += EndpointName(endpoint) + "=" + FaultName(state.FaultFor(endpoint)) + "\n";
  }
  return summary;
}

}  // namespace

MasterServer::MasterServer(MasterState& state, const StopFlag& stop, std::ostream& log)
    : state_(state), stop_(stop), log_(log) {
  http_.new_task_queue = [] { return new httplib::ThreadPool(kRequestThreads); };
  // Idle keep-alive connections are closed soon, so shutting down never waits long.
  http_.set_keep_alive_timeout(2);
  http_.set_tcp_nodelay(true);  // small replies go out at once, not after a delayed ACK
  http_.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
    Log(request, response);
  });
  AddMasterRoutes();
  AddControlRoutes();
}

void MasterServer::AddMasterRoutes() {
  http_.Get("/rwr_server_list/get_server_count.php", [this](const httplib::Request& request, httplib::Response& response) {
    const Fault fault = state_.FaultFor(Endpoint::Count);
    const ServerSet servers = state_.AdvanceForCount();
    Answer(Endpoint::Count, CountReply(ReportedCount(servers, fault)), kXml, request, response);
  });
  http_.Get("/rwr_server_list/get_server_list.php", [this](const httplib::Request& request, httplib::Response& response) {
    const std::string body = ListReply(state_.Current(), QueryNumber(request, "start"), QueryNumber(request, "size"));
    Answer(Endpoint::List, body, kXml, request, response);
  });
  http_.Get("/latest_version.txt", [this](const httplib::Request& request, httplib::Response& response) {
    Answer(Endpoint::Version, state_.LatestVersion(), "text/plain", request, response);
  });
}

void MasterServer::AddControlRoutes() {
  // POST /control/fault?endpoint=list&mode=hang; endpoint=all&mode=none clears them all.
  http_.Post("/control/fault", [this](const httplib::Request& request, httplib::Response& response) {
    const std::string endpoint = request.get_param_value("endpoint");
    const std::string mode = request.get_param_value("mode");
    try {
      if (endpoint == "all" && mode == "none") {
        state_.ClearFaults();
      } else {
        const auto [which, fault] = ParseFaultAssignment(endpoint + "=" + mode);
        state_.SetFault(which, fault);
      }
      response.set_content(FaultSummary(state_), "text/plain");
    } catch (const FaultSyntaxError& error) {
      response.status = 400;
      response.set_content(std::string(error.what()) + "\n", "text/plain");
    }
  });
  http_.Get("/control/fault", [this](const httplib::Request&, httplib::Response& response) {
    response.set_content(FaultSummary(state_), "text/plain");
  });
  // Back to the first step, so a test sees the scenario from its start.
  http_.Post("/control/rewind", [this](const httplib::Request&, httplib::Response& response) {
    state_.Rewind();
    response.set_content("step 0\n", "text/plain");
  });
  http_.Get("/control/step", [this](const httplib::Request&, httplib::Response& response) {
    response.set_content("step " + std::to_string(state_.StepShown()) + "\n", "text/plain");
  });
}

void MasterServer::Answer(Endpoint endpoint, const std::string& body, const std::string& contentType,
                          const httplib::Request& request, httplib::Response& response) {
  AnswerWithFault(state_.FaultFor(endpoint), {body, contentType}, request, response, stop_);
}

void MasterServer::Log(const httplib::Request& request, const httplib::Response& response) {
  const std::string fault = response.get_header_value(kFaultHeader);
  const bool unanswered = fault == "reset" || fault == "hang" || fault == "delay cut by shutdown";
  const size_t bytes = response.content_provider_ ? response.content_length_ : response.body.size();
  std::string line = request.method + " " + request.target + " " +
                     (unanswered ? std::string("-") : std::to_string(response.status)) + " " +
                     std::to_string(unanswered ? 0 : bytes);
  if (!fault.empty()) line += " fault=" + fault;
  static std::mutex logMutex;
  std::lock_guard lock(logMutex);
  log_ << line << std::endl;  // flushed, so a watcher follows the run as it happens
}

int MasterServer::Bind(const std::string& address, int port) {
  if (port == 0) return http_.bind_to_any_port(address);
  return http_.bind_to_port(address, port) ? port : -1;
}

void MasterServer::Run() { http_.listen_after_bind(); }

void MasterServer::Stop() { http_.stop(); }

}  // namespace quorvex::mastersim
