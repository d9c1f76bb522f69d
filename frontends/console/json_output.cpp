#include "frontends/console/json_output.h"

#include "frontends/console/json.h"
#include "frontends/console/numbered_icons.h"

namespace quorvex {

namespace {

// An add or a modify that carries a balloon is shown as its own operation: that is what
// people see.
std::string_view TrayOperation(uint32_t message, const TrayIconData& data) {
  const bool balloon = (data.uFlags & kNifInfo) != 0;
  switch (message) {
    case kNimAdd:
      return balloon ? "balloon" : "add";
    case kNimModify:
      return balloon ? "balloon" : "modify";
    case kNimDelete:
      return "delete";
    default:
      return "unknown";
  }
}

JsonObject Event(std::string_view name) {
  JsonObject event;
  event.AddString("ev", name);
  return event;
}

void AppendItems(const MenuItem& item, std::string& array) {
  for (const MenuItem& child : item.children) {
    JsonObject entry;
    entry.AddString("name", child.name);
    if (child.index >= 0) entry.AddNumber("index", child.index);
    entry.AddText("caption", child.caption).AddBool("visible", child.visible).AddBool("checked", child.checked);
    if (!child.enabled) entry.AddBool("enabled", false);  // only then: the items of old stay as they were
    if (array.size() > 1) array += ',';
    array += entry.Str();
    AppendItems(child, array);
  }
}

}  // namespace

std::string_view IconName(const ConsoleIcons& icons, NativeHandle handle) {
  if (DesignedIcon(handle) == icons.normal) return "normal";
  if (DesignedIcon(handle) == icons.alert) return "alert";
  return "none";
}

void JsonOutput::Emit(const std::string& line) {
  // Flushed line by line: whoever reads the events may be waiting for this one.
  out_ << line << '\n' << std::flush;
}

void JsonOutput::Tray(uint32_t message, const TrayIconData& data) {
  const std::string_view operation = TrayOperation(message, data);
  JsonObject event = Event("tray");
  event.AddString("op", operation).AddText("tip", data.szTip).AddString("icon", IconName(icons_, data.hIcon));
  if (const std::optional<int> number = ShownNumber(data.hIcon)) event.AddNumber("number", *number);
  if (operation == "balloon") {
    event.AddText("title", data.szInfoTitle).AddText("text", data.szInfo).AddNumber("flags", data.dwInfoFlags);
  }
  Emit(event.Str());
}

// The items of the popup in the order they are drawn, each submenu's items right after it.
void JsonOutput::Menu(const MenuTree& menu, bool popup) {
  std::string items = "[";
  AppendItems(menu.Root(), items);
  items += ']';
  Emit(Event("menu").AddBool("popup", popup).AddRaw("items", items).Str());
}

void JsonOutput::MessageBox(const Text& caption, const Text& text) {
  Emit(Event("msgbox").AddText("caption", caption).AddText("text", text).Str());
}

void JsonOutput::Sound(const Text& name) { Emit(Event("sound").AddText("name", name).Str()); }

void JsonOutput::Start(const Text& commandLine) { Emit(Event("start").AddText("command", commandLine).Str()); }

void JsonOutput::File(const Text& path, const Text& text) {
  Emit(Event("file").AddText("path", path).AddText("text", text).Str());
}

void JsonOutput::Error(std::string_view handler, std::string_view message) {
  Emit(Event("error").AddString("handler", handler).AddString("message", message).Str());
}

void JsonOutput::Idle() { Emit(Event("idle").Str()); }

}  // namespace quorvex
