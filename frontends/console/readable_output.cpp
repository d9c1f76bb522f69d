#include "frontends/console/readable_output.h"

#include <cstdio>
#include <vector>

#include "frontends/console/numbered_icons.h"
#include "menu/server_items.h"

namespace quorvex {

namespace {

std::vector<Text> Lines(const Text& text) {
  std::vector<Text> lines;
  Text line;
  for (const char16_t unit : text) {
    if (unit == u'\n') {
      if (!line.empty() && line.back() == u'\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(unit);
    }
  }
  lines.push_back(line);
  return lines;
}

std::string Stamp(int64_t ms) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "[%9.3f] ", static_cast<double>(ms) / 1000.0);
  return stamp;
}

// The caption as a person reads it on the menu: a list line (a server's or its players', the
// column title) character for character, the program's own captions without their
// access-key marks ("&Servers" reads "Servers").
Text ShownCaption(const MenuItem& item) { return ShownText(AccessKeyCaption(item)); }

// A hidden item is not drawn, and a shown one without text is an empty row that says
// nothing: the text leaves both out.
bool Drawn(const MenuItem& item) { return item.visible && (item.IsSeparator() || !ShownCaption(item).empty()); }

// The Servers submenu as it reads: its caption, the column header and the lines of the
// servers shown; the separator lines between the servers are left out.
Text ServersText(const MenuTree& menu) {
  const MenuItem& servers = menu.Item("menServer");
  Text text = ShownCaption(servers);
  const auto addLine = [&text](const MenuItem& item) {
    if (Drawn(item)) text += u"\n" + ShownCaption(item);
  };
  addLine(menu.Item("menServerTitle"));
  for (const MenuItem& item : servers.children) {
    if (item.name == "menServername" && SlotOfServerItem(item.index) != 0) addLine(item);
  }
  return text;
}

void AppendTree(const MenuItem& parent, int depth, Text& out) {
  for (const MenuItem& item : parent.children) {
    if (!Drawn(item)) continue;
    out += Text(static_cast<size_t>(depth) * 2, u' ');
    if (item.IsSeparator()) {
      out += u"----\n";
      continue;
    }
    out += item.checked ? u"[x] " : u"    ";
    out += ShownCaption(item);
    if (!item.children.empty()) out += u" >";
    out += u"\n";
    AppendTree(item, depth + 1, out);
  }
}

}  // namespace

void ReadableOutput::Print(const std::string& heading, const Text& text) {
  out_ << Stamp(clock_.Now()) << heading << '\n';
  if (!text.empty()) {
    for (const Text& line : Lines(text)) out_ << "    " << ToUtf8(line) << '\n';
  }
  out_ << std::flush;
}

void ReadableOutput::Tray(uint32_t message, const TrayIconData& data) {
  if (message == kNimDelete) return;  // every add removes the icon first; that is no news
  if ((data.uFlags & kNifInfo) != 0) {  // an add or a modify
    Print("balloon: " + ToUtf8(data.szInfoTitle), data.szInfo);
  }
  if (shownIcon_ != data.hIcon) {
    shownIcon_ = data.hIcon;
    const std::optional<int> number = ShownNumber(data.hIcon);
    Print("icon: " + std::string(IconName(icons_, data.hIcon)) + (number ? " " + std::to_string(*number) : ""));
  }
  if (shownTip_ != data.szTip) {
    shownTip_ = data.szTip;
    Print(data.szTip.empty() ? "tooltip: (empty)" : "tooltip:", data.szTip);
  }
}

void ReadableOutput::Menu(const MenuTree& menu, bool popup) {
  if (popup) {
    PrintPopup(menu);
    return;
  }
  Text servers = ServersText(menu);
  if (shownServers_ == servers) return;
  shownServers_ = std::move(servers);
  Print("servers menu:", *shownServers_);
}

void ReadableOutput::PrintPopup(const MenuTree& menu) {
  Text tree;
  AppendTree(menu.Root(), 0, tree);
  if (!tree.empty()) tree.pop_back();
  Print("popup:", tree);
}

void ReadableOutput::MessageBox(const Text& caption, const Text& text) {
  Print("message box \"" + ToUtf8(caption) + "\":", text);
}

void ReadableOutput::Sound(const Text& name) { Print("sound: " + ToUtf8(name)); }

void ReadableOutput::Start(const Text& commandLine) { Print("start: " + ToUtf8(commandLine)); }

void ReadableOutput::File(const Text& path, const Text& text) { Print("file " + ToUtf8(path) + ":", text); }

void ReadableOutput::Error(std::string_view handler, std::string_view message) {
  Print("error in " + std::string(handler) + ": " + std::string(message));
}

}  // namespace quorvex
