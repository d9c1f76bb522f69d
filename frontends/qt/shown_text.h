// The text a menu shows for an item, without its access-key mark: what a screen reader is
// to read. Plain C++ on Text, so that the unit tests check it without a desktop.
#pragma once
#include "common/text.h"

namespace quorvex {

// For a QMenu action text: "&&" shows one "&", and a single "&" before a character marks
// that character as the access key and is not shown (one at the end is shown).
Text ShownText(const Text& actionText);

}  // namespace quorvex
