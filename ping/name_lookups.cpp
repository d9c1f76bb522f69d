#include "ping/name_lookups.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace quorvex {

NameLookups::NameLookups(std::shared_ptr<Resolver> resolver, std::function<Clock::time_point()> now)
    : resolver_(std::move(resolver)), now_(std::move(now)) {}

// A look-up still running, or an address young enough; a failed one is asked again.
bool NameLookups::Usable(const Lookup& lookup) const {
  if (!lookup.done) return true;
  return lookup.address.has_value() && now_() - lookup.asked < kKeepFor;
}

void NameLookups::ForgetOld() {
  std::erase_if(shared_->lookups, [&](const auto& entry) { return !Usable(*entry.second); });
}

// Called with the lock held. The system's resolver cannot be interrupted, so the thread is
// left to finish on its own; it holds everything it touches.
void NameLookups::Start(const Text& name, const std::shared_ptr<Lookup>& lookup) {
  try {
    std::thread([resolver = resolver_, shared = shared_, name, lookup] {
      std::optional<uint32_t> address;
      try {
        address = resolver->ResolveIpv4(name);
      } catch (...) {
        // A resolver that fails gives no address, like a name that does not resolve.
      }
      const std::lock_guard lock(shared->mutex);
      lookup->address = address;
      lookup->done = true;
      shared->answered.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    lookup->done = true;  // no thread to be had: no address this time
  }
}

std::vector<std::optional<uint32_t>> NameLookups::Resolve(const std::vector<Text>& names, Clock::duration limit,
                                                          std::stop_token stop) {
  const auto deadline = Clock::now() + limit;
  // A stop wakes the wait below. The callback takes the lock, so its wake-up cannot come
  // between the test and the sleep; it is made before the lock is taken and ends after
  // it is let go, since it may run at once, on this thread.
  const std::stop_callback wakeOnStop(stop, [shared = shared_] {
    const std::lock_guard stopLock(shared->mutex);
    shared->answered.notify_all();
  });
  std::unique_lock lock(shared_->mutex);
  ForgetOld();
  std::vector<std::shared_ptr<Lookup>> wanted;
  for (const Text& name : names) {
    std::shared_ptr<Lookup>& lookup = shared_->lookups[name];
    if (!lookup) {
      lookup = std::make_shared<Lookup>();
      lookup->asked = now_();
      Start(name, lookup);
    }
    wanted.push_back(lookup);
  }
  shared_->answered.wait_until(lock, deadline, [&] {
    return stop.stop_requested() ||
           std::all_of(wanted.begin(), wanted.end(), [](const auto& lookup) { return lookup->done; });
  });
  std::vector<std::optional<uint32_t>> addresses;
  for (const auto& lookup : wanted) addresses.push_back(lookup->done ? lookup->address : std::nullopt);
  return addresses;
}

}  // namespace quorvex
