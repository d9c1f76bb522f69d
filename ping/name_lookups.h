// The host names of a poll's servers, looked up all at once within one time limit, and
// the addresses they gave kept for a while, so a steady list costs no look-up most polls.
#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <vector>

#include "common/text.h"

namespace quorvex {

// Turns a host name into an IPv4 address (network byte order); nullopt when it does not
// resolve. Blocks for as long as the system's resolver takes. Kept apart so tests never
// resolve a name.
class Resolver {
 public:
  virtual ~Resolver() = default;
  virtual std::optional<uint32_t> ResolveIpv4(const Text& hostName) = 0;
};

// The system's resolver (defined in ping/ping_*.cpp).
std::unique_ptr<Resolver> MakeSystemResolver();

class NameLookups {
 public:
  using Clock = std::chrono::steady_clock;
  // How long an address that a name resolved to is used without asking again.
  static constexpr auto kKeepFor = std::chrono::minutes(5);

  // `now` tells the age of a kept address (tests move it on).
  explicit NameLookups(std::shared_ptr<Resolver> resolver, std::function<Clock::time_point()> now = Clock::now);

  // The addresses of `names`, in their order. Each name not kept is looked up on a thread
  // of its own, all at once; a name whose look-up is still running from an earlier call
  // is not asked again. Returns when every name has its answer, when `limit` has passed,
  // or when `stop` is requested; a name without an answer by then is nullopt. A look-up
  // that outlives the call goes on in the background and its answer is kept for later.
  std::vector<std::optional<uint32_t>> Resolve(const std::vector<Text>& names, Clock::duration limit,
                                               std::stop_token stop = {});

 private:
  struct Lookup {
    Clock::time_point asked;
    bool done = false;
    std::optional<uint32_t> address;
  };
  // Shared with the look-up threads, which may outlive this object.
  struct Shared {
    std::mutex mutex;
    std::condition_variable answered;
    std::map<Text, std::shared_ptr<Lookup>> lookups;
  };

  bool Usable(const Lookup& lookup) const;
  void Start(const Text& name, const std::shared_ptr<Lookup>& lookup);
  void ForgetOld();

  std::shared_ptr<Resolver> resolver_;
  std::function<Clock::time_point()> now_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

}  // namespace quorvex
