#include "frontends/qt/autostart_registry.h"

#include <QDir>
#include <QFileInfo>

#include "common/files.h"

namespace quorvex {

namespace {

const Text kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const Text kRunValue = u"Quorvex";

// An Exec argument in double quotes: inside them a backslash escapes " ` $ and itself, and
// the value as a whole writes every backslash twice; "%%" is a plain "%".
Text QuotedExecArgument(const Text& argument) {
  Text quoted = u"\"";
  for (char16_t c : argument) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    if (c == u'%') quoted += u'%';
    quoted += c;
  }
  return ReplaceAll(quoted + u"\"", u"\\", u"\\\\");
}

}  // namespace

Text AutostartEntry(const Text& executable) {
  return u"[Desktop Entry]\n"
         u"Type=Application\n"
         u"Name=Quorvex\n"
         u"Comment=Watches the game's server list from the notification area\n"
         u"Exec=" + QuotedExecArgument(executable) + u"\n"
         u"Icon=quorvex\n"
         u"Terminal=false\n"
         u"X-GNOME-Autostart-enabled=true\n";
}

bool AutostartRegistry::IsRunValue(uint32_t root, const Text& subkey, const Text& name) {
  return root == kHkeyCurrentUser && subkey == kRunKey && name == kRunValue;
}

Text AutostartRegistry::GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) {
  if (!IsRunValue(root, subkey, name)) return store_.GetRegString(root, subkey, name, def);
  return VisibleFileExists(entryPath_) ? u"\"" + executable_ + u"\"" : def;
}

// Writes and deletions fail silently, as the registry's do.
void AutostartRegistry::SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) {
  if (!IsRunValue(root, subkey, name)) return store_.SetRegString(root, subkey, name, value);
  try {
    QDir().mkpath(QFileInfo(QString::fromStdU16String(entryPath_)).path());
    ReplaceFileBytes(entryPath_, ToUtf8(AutostartEntry(executable_)));
  } catch (const FileError&) {
  }
}

void AutostartRegistry::DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) {
  if (!IsRunValue(root, subkey, name)) return store_.DeleteRegValue(root, subkey, name);
  RemoveFileQuietly(entryPath_);
}

}  // namespace quorvex
