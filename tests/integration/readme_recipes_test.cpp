// The notifyCommand recipes of the player's README, run as the player would run them: each line
// is taken from resources/README.txt with only its service's address replaced by a stand-in's
// on loopback (tests/integration/with-http-recorder), started by the real CommandRunner, for a
// balloon whose server has a hostile name. What the stand-in received must be the balloon's
// text and the join link, and nothing of the name may have been run. Natively the Linux lines
// run, under Wine the Windows ones (a script for Windows' script host).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/text.h"
#include "join/join_link.h"
#include "notify/command_runner.h"

namespace quorvex {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A path of this machine as the test program opens it: under Wine the root is drive Z:.
fs::path HostPath(const std::string& path) {
#ifdef _WIN32
  return fs::path(u"Z:" + ReplaceAll(FromUtf8(path), u"/", u"\\"));
#else
  return fs::path(path);
#endif
}

std::string FileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from << " is not in " << text;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The one indented line of the README that holds every one of `parts`, without its indent.
std::string ReadmeLine(const std::vector<std::string>& parts) {
  std::istringstream readme(FileText(HostPath(QUORVEX_README)));
  std::vector<std::string> found;
  for (std::string line; std::getline(readme, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const bool all = std::all_of(parts.begin(), parts.end(), [&](const auto& part) { return line.find(part) != std::string::npos; });
    if (all && line.starts_with("    ")) found.push_back(line.substr(4));
  }
  EXPECT_EQ(found.size(), 1u) << "README lines with " << parts.front() << " and " << parts.back();
  return found.empty() ? "" : found.front();
}

// The command line of the README's one notifyCommand= line that holds every one of `parts`.
std::string CommandLine(const std::vector<std::string>& parts) {
  const std::string line = ReadmeLine(parts), key = "notifyCommand=";
  EXPECT_TRUE(line.starts_with(key)) << line;
  return line.substr(std::min(key.size(), line.size()));
}

struct Request {
  std::string method, path, body;
  std::map<std::string, std::string> headers;  // by lower-case name
};

// What the stand-in kept, in the order received (see http_recorder.py).
std::vector<Request> Received(const fs::path& folder) {
  std::map<int, fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".request") files[std::stoi(entry.path().stem().string())] = entry.path();
  }
  std::vector<Request> requests;
  for (const auto& [number, file] : files) {
    const std::string text = FileText(file);
    const size_t headEnd = text.find("\n\n");
    std::istringstream head(text.substr(0, headEnd));
    Request request;
    head >> request.method >> request.path;
    head.ignore();
    for (std::string line; std::getline(head, line);) {
      const size_t colon = line.find(": ");
      std::string name = line.substr(0, colon);
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
      request.headers[name] = line.substr(colon + 2);
    }
    request.body = text.substr(headEnd + 2);
    requests.push_back(request);
    fs::remove(file);  // the next test reads only its own
  }
  return requests;
}

// The value of one field of a form post (application/x-www-form-urlencoded).
std::string FormField(const std::string& body, const std::string& name) {
  std::istringstream fields(body);
  for (std::string field; std::getline(fields, field, '&');) {
    if (!field.starts_with(name + "=")) continue;
    std::string value;
    for (size_t i = name.size() + 1; i < field.size(); ++i) {
      if (field[i] == '%' && i + 2 < field.size()) {
        value += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        value += field[i] == '+' ? ' ' : field[i];
      }
    }
    return value;
  }
  return "(no " + name + " field)";
}

class ReadmeRecipes : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("QUORVEX_RECORDER") == nullptr) GTEST_SKIP() << "run under tests/integration/with-http-recorder";
    recorder = std::string("http://") + std::getenv("QUORVEX_RECORDER");
    requests = HostPath(std::getenv("QUORVEX_RECORDER_DIR"));
    folder = fs::temp_directory_path() / ("quorvex-recipes-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    if (!folder.empty()) fs::remove_all(folder);
  }

  // A name as anyone may give a server: each shell's ways to run a command, each one making a
  // file in `folder` if it ran, with quotes, variables, non-ASCII letters and a line feed.
  Text HostileName() const {
    const auto ran = [&](const char* name) { return ToUtf8((folder / name).u16string()); };
    return FromUtf8("$(touch " + ran("a") + ") `touch " + ran("b") + "` \"&echo x>" + ran("c") + "& |echo x>" + ran("d") +
                    " ^& 'q' %TEMP% $HOME !v! \xE6\x97\xA5\xC3\xA9\nline two");
  }

  // Runs the command line for one balloon about a server of that name; returns what the
  // command should have posted: the balloon's text, a line feed, the link.
  std::string RunForHostileBalloon(const std::string& commandLine) {
    const ServerRecord server{.name = HostileName(), .address = u"127.0.0.7", .port = 40007,
                              .fromLatestReply = kEveryFieldBit};
    const Text text = u"Ann is on " + server.name + u"\r\nBo is on S2";
    CommandRunner runner(MakeSystemCommandStarter());
    runner.Submit(FromUtf8(commandLine), Notification{NotifyEvent::Watch, u"Quorvex", text, server});
    EXPECT_TRUE(runner.WaitUntilIdle(60s));
    EXPECT_EQ(runner.TakeReports(), std::vector<std::string>{});
    for (const char* name : {"a", "b", "c", "d"}) EXPECT_FALSE(fs::exists(folder / name)) << "the name ran: " << name;
    return ToUtf8(ReplaceAll(text, u"\r\n", u"\n")) + "\n" + ToUtf8(SteamRunLink(server));
  }

  // The README's line for `service` on this system, posting to the stand-in instead.
  std::string Recipe(const std::string& service, [[maybe_unused]] const std::string& script) {
#ifdef _WIN32
    const fs::path saved = folder / script;
    std::ofstream(saved, std::ios::binary) << Replaced(ReadmeLine({"var e=", service}), "https://" + service, recorder);
    return Replaced(CommandLine({"notifyCommand=cscript"}), "C:\\Users\\YOU\\quorvex-ntfy.js", ToUtf8(saved.u16string()));
#else
    return Replaced(CommandLine({"notifyCommand=sh -c", service}), "https://" + service, recorder);
#endif
  }

  std::string recorder;
  fs::path requests, folder;
};

TEST_F(ReadmeRecipes, NtfyGetsTheTextAndTheLinkWhichATapOpens) {
  const std::string message = RunForHostileBalloon(Recipe("ntfy.sh", "quorvex-ntfy.js"));
  std::vector<Request> received = Received(requests);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].method, "POST");
  EXPECT_EQ(received[0].path, "/YOUR-SECRET-TOPIC");
  EXPECT_EQ(received[0].headers["click"], "steam://run/270150//server_address%3D127.0.0.7%20server_port%3D40007/");
  EXPECT_EQ(received[0].body, message);
}

TEST_F(ReadmeRecipes, DiscordGetsTheTextAndTheLinkAsItsMessage) {
  const std::string message = RunForHostileBalloon(Recipe("discord.com", "quorvex-discord.js"));
  std::vector<Request> received = Received(requests);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].method, "POST");
  EXPECT_EQ(received[0].path, "/api/webhooks/ID/TOKEN");
  EXPECT_EQ(received[0].headers["content-type"], "application/x-www-form-urlencoded");
  EXPECT_EQ(FormField(received[0].body, "content"), message);
}

}  // namespace
}  // namespace quorvex
