// The alert sound through libcanberra, the desktop's event-sound library.
#pragma once
#include <vector>

#include "common/text.h"

struct ca_context;

namespace quorvex {

class SoundPlayer {
 public:
  // Sound files are looked for in these folders, in this order.
  explicit SoundPlayer(std::vector<Text> folders);
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Plays the file of that name, or the desktop's bell when there is none, and returns
  // when it has ended. A desktop without sound returns at once.
  void PlayToEnd(const Text& name);

 private:
  std::vector<Text> folders_;
  ca_context* context_ = nullptr;
};

}  // namespace quorvex
