#include "join/steam_on_linux.h"

#include <algorithm>

#include "common/text.h"
#include "join/join.h"

namespace quorvex {

namespace {

std::vector<Text> Prefixed(std::vector<Text> first, const std::vector<Text>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

std::u16string_view Trimmed(std::u16string_view text) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool ListsSteamLinks(std::u16string_view mimeTypes) {
  while (!mimeTypes.empty()) {
    const size_t end = std::min(mimeTypes.find(u';'), mimeTypes.size());
    // MIME types are compared without regard to ASCII case.
    if (FoldAsciiCase(Trimmed(mimeTypes.substr(0, end))) == u"x-scheme-handler/steam") return true;
    mimeTypes.remove_prefix(std::min(end + 1, mimeTypes.size()));
  }
  return false;
}

}  // namespace

std::optional<ProgramStart> SteamJoinStart(const FoundSteam& found, const ServerRecord& server) {
  const std::vector<Text> steamArguments = SteamCommandArguments(server);
  if (found.command) return ProgramStart{u"steam", steamArguments};
  if (found.flatpak) return ProgramStart{u"flatpak", Prefixed({u"run", kSteamFlatpakId}, steamArguments)};
  if (found.snap) return ProgramStart{u"snap", Prefixed({u"run", u"steam"}, steamArguments)};
  if (found.linkHandler) return ProgramStart{u"xdg-open", {SteamRunLink(server)}};
  return std::nullopt;
}

Text SteamNotFoundMessage() {
  return u"Steam was not found: no steam command, no Flatpak " + Text(kSteamFlatpakId) +
         u", no Snap steam, no handler for steam:// links.";
}

bool OpensSteamLinks(const Text& desktopEntry) {
  bool inDesktopEntry = false, opens = false, hidden = false;
  std::u16string_view rest = desktopEntry;
  while (!rest.empty()) {
    const size_t end = std::min(rest.find(u'\n'), rest.size());
    const std::u16string_view line = Trimmed(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (line.starts_with(u'[')) {
      inDesktopEntry = line == u"[Desktop Entry]";
      continue;
    }
    const size_t equals = line.find(u'=');
    if (!inDesktopEntry || line.starts_with(u'#') || equals == std::u16string_view::npos) continue;
    const std::u16string_view key = Trimmed(line.substr(0, equals)), value = Trimmed(line.substr(equals + 1));
    if (key == u"MimeType") opens = ListsSteamLinks(value);
    if (key == u"Hidden") hidden = value == u"true";
  }
  return opens && !hidden;
}

}  // namespace quorvex
