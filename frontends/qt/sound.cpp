#include "frontends/qt/sound.h"

#include <canberra.h>

#include <chrono>
#include <future>

#include "common/files.h"

namespace quorvex {

namespace {

// A sound server that never reports the end must not hold the program for long.
constexpr auto kLongestSound = std::chrono::seconds(5);

void SoundEnded(ca_context*, uint32_t, int, void* ended) { static_cast<std::promise<void>*>(ended)->set_value(); }

}  // namespace

SoundPlayer::SoundPlayer(std::vector<Text> folders) : folders_(std::move(folders)) {
  if (ca_context_create(&context_) != CA_SUCCESS) {
    context_ = nullptr;
    return;
  }
  ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Quorvex", nullptr);
}

SoundPlayer::~SoundPlayer() {
  if (context_ != nullptr) ca_context_destroy(context_);
}

void SoundPlayer::PlayToEnd(const Text& name) {
  if (context_ == nullptr) return;
  ca_proplist* properties = nullptr;
  if (ca_proplist_create(&properties) != CA_SUCCESS) return;
  bool found = false;
  for (const Text& folder : folders_) {
    const Text path = JoinPath(folder, name);
    if (!VisibleFileExists(path)) continue;
    ca_proplist_sets(properties, CA_PROP_MEDIA_FILENAME, ToUtf8(path).c_str());
    found = true;
    break;
  }
  if (!found) ca_proplist_sets(properties, CA_PROP_EVENT_ID, "bell");
  ca_proplist_sets(properties, CA_PROP_EVENT_DESCRIPTION, "Player limit reached");

  // The promise outlives any late call-back: it is only freed once the call-back has run
  // or the sound never started.
  auto* ended = new std::promise<void>;
  std::future<void> done = ended->get_future();
  const int result = ca_context_play_full(context_, 0, properties, SoundEnded, ended);
  ca_proplist_destroy(properties);
  if (result != CA_SUCCESS) {
    delete ended;
    return;
  }
  if (done.wait_for(kLongestSound) == std::future_status::ready) delete ended;
}

}  // namespace quorvex
