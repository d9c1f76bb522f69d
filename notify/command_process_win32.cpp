// Starting a notifyCommand on Windows: CreateProcessW without a window, in a job object so
// ending it reaches everything it started, its standard handles on the NUL device.
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <utility>

#include "common/kernel_handle_win32.h"
#include "common/wide_win32.h"
#include "notify/command_process.h"

namespace quorvex {

namespace {

[[noreturn]] void Fail(const std::string& what, DWORD error = GetLastError()) {
  wchar_t* message = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  Text text(message, message + length);
  LocalFree(message);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
  throw CommandStartError(what + (text.empty() ? "" : ": " + ToUtf8(text)) + " (error " + std::to_string(error) + ")");
}

// The program the line names, found where CreateProcessW would look, ".exe" added when
// it has no extension. Given as the application, it cannot be read differently from the
// first word: CreateProcessW alone would try "C:\Program.exe" for an unquoted
// "C:\Program Files\x.exe".
std::wstring FindProgram(const Text& name) {
  std::wstring found(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = SearchPathW(nullptr, Wide(name).c_str(), L".exe", static_cast<DWORD>(found.size()),
                                     found.data(), nullptr);
    if (length == 0) Fail("cannot find it");
    if (length < found.size()) return found.substr(0, length);
    found.resize(length);
  }
}

std::wstring NameOf(const std::wstring& entry) {
  std::wstring name = entry.substr(0, entry.find(L'=', 1));  // "=C:=C:\x" names a drive's folder
  std::transform(name.begin(), name.end(), name.begin(), [](wchar_t unit) { return towupper(unit); });
  return name;
}

// This process's environment without the names the request sets, then the request's, in
// the order Windows keeps it (by upper-cased name), as one block. A multimap puts an entry
// after those of an equal name, so such entries keep the order they came in.
std::wstring EnvironmentBlock(const CommandRequest& request) {
  std::multimap<std::wstring, std::wstring> byName;
  std::vector<std::wstring> ownNames;
  for (const auto& [name, value] : request.environment) {
    const std::wstring entry = Wide(name) + L"=" + Wide(value);
    ownNames.push_back(NameOf(entry));
    byName.emplace(ownNames.back(), entry);
  }
  wchar_t* inherited = GetEnvironmentStringsW();
  for (const wchar_t* entry = inherited; entry != nullptr && *entry != L'\0'; entry += wcslen(entry) + 1) {
    std::wstring name = NameOf(entry);
    if (std::find(ownNames.begin(), ownNames.end(), name) == ownNames.end()) byName.emplace(std::move(name), entry);
  }
  FreeEnvironmentStringsW(inherited);
  std::wstring block;
  for (const auto& [name, entry] : byName) block += entry + L'\0';
  return block + L'\0';
}

class Win32CommandProcess : public CommandProcess {
 public:
  Win32CommandProcess(KernelHandle job, KernelHandle process) : job_(std::move(job)), process_(std::move(process)) {}
  ~Win32CommandProcess() override {
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) End();
  }

  std::optional<CommandEnd> WaitFor(std::chrono::milliseconds limit) override {
    const DWORD wait = static_cast<DWORD>(std::max<int64_t>(0, limit.count()));
    if (WaitForSingleObject(process_.get(), wait) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return CommandEnd{code, 0};
  }

  void End() override { TerminateJobObject(job_.get(), 1); }

 private:
  KernelHandle job_;
  KernelHandle process_;
};

// A list of the handles the command may inherit, and no other: a command that hangs holds
// nothing of ours open.
class InheritOnly {
 public:
  explicit InheritOnly(HANDLE handle) : handle_(handle) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    buffer_.resize(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
    if (!InitializeProcThreadAttributeList(list_, 1, 0, &size)) Fail("cannot make its attribute list");
    if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_, sizeof handle_, nullptr,
                                   nullptr)) {
      DeleteProcThreadAttributeList(list_);
      Fail("cannot limit what it inherits");
    }
  }
  ~InheritOnly() { DeleteProcThreadAttributeList(list_); }
  InheritOnly(const InheritOnly&) = delete;
  InheritOnly& operator=(const InheritOnly&) = delete;
  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  HANDLE handle_;
  std::vector<char> buffer_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

class Win32CommandStarter : public CommandStarter {
 public:
  std::unique_ptr<CommandProcess> Start(const CommandRequest& request) override {
    const std::wstring program = FindProgram(request.arguments.at(0));
    std::wstring line = Wide(request.commandLine);
    std::wstring environment = EnvironmentBlock(request);
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const FileHandle nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inheritable, OPEN_EXISTING, 0, nullptr));
    if (!nul.valid()) Fail("cannot open the NUL device");
    const InheritOnly inherit(nul.get());
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = startup.StartupInfo.hStdOutput = startup.StartupInfo.hStdError = nul.get();
    startup.lpAttributeList = inherit.get();
    KernelHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job.valid()) Fail("cannot make a job object for it");
    // Suspended until it is in the job, so nothing it starts escapes the job.
    const DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, flags, environment.data(), nullptr,
                        &startup.StartupInfo, &started)) {
      Fail("cannot start it");
    }
    KernelHandle process(started.hProcess);
    const KernelHandle thread(started.hThread);
    if (!AssignProcessToJobObject(job.get(), process.get())) {
      const DWORD error = GetLastError();
      TerminateProcess(process.get(), 1);
      Fail("cannot put it in a job object", error);
    }
    ResumeThread(thread.get());
    return std::make_unique<Win32CommandProcess>(std::move(job), std::move(process));
  }
};

}  // namespace

std::unique_ptr<CommandStarter> MakeSystemCommandStarter() { return std::make_unique<Win32CommandStarter>(); }

}  // namespace quorvex
