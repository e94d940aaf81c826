#include "tests/app/InstallerSession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

extern char** environ;

namespace dbinst::test {
namespace {

// Generous: the sanitizer build runs the installations several times slower.
constexpr int kAnswerTimeoutMs = 60000;

std::vector<char*> CStrings(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    const std::string name = variable.substr(0, variable.find('='));
    bool replaced = false;
    for (const std::string& added : extra) replaced |= added.substr(0, added.find('=')) == name;
    if (!replaced) result.push_back(variable);
  }
  result.insert(result.end(), extra.begin(), extra.end());
  return result;
}

}  // namespace

InstallerSession::InstallerSession(const std::string& installer, const std::string& prefix,
                                   const std::vector<std::string>& environment,
                                   const std::vector<std::string>& arguments) {
  std::vector<std::string> extra = environment;
  for (const std::string& fallback :
       {"WINEPREFIX=" + prefix, std::string("DBINST_HEADLESS=1"), std::string("DBINST_SCRIPT=-")}) {
    const std::string name = fallback.substr(0, fallback.find('=') + 1);
    bool given = false;
    for (const std::string& entry : environment) given |= entry.rfind(name, 0) == 0;
    if (!given) extra.push_back(fallback);
  }
  std::vector<std::string> envp = Environment(extra);
  std::vector<std::string> argv = {installer};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  int inPipe[2], outPipe[2], errPipe[2];
  // Close-on-exec, so that no other child of the test keeps the installer's script open.
  if (::pipe2(inPipe, O_CLOEXEC) != 0 || ::pipe2(outPipe, O_CLOEXEC) != 0 ||
      ::pipe2(errPipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  for (int fd : {inPipe[1], outPipe[0], errPipe[0]})
    posix_spawn_file_actions_addclose(&actions, fd);
  auto argvPointers = CStrings(argv);
  auto envPointers = CStrings(envp);
  const int spawned = ::posix_spawn(&pid_, installer.c_str(), &actions, nullptr,
                                    argvPointers.data(), envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(inPipe[0]);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  in_ = inPipe[1];
  out_ = outPipe[0];
  err_ = errPipe[0];
  ::fcntl(err_, F_SETFL, O_NONBLOCK);
  ::signal(SIGPIPE, SIG_IGN);
  if (spawned != 0) throw std::runtime_error("cannot start " + installer);
}

InstallerSession::~InstallerSession() {
  if (exitCode_ == -2 && pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  for (int fd : {in_, out_, err_}) {
    if (fd >= 0) ::close(fd);
  }
}

void InstallerSession::Write(const std::string& commands) {
  size_t done = 0;
  while (done < commands.size()) {
    const ssize_t n = ::write(in_, commands.data() + done, commands.size() - done);
    if (n <= 0) throw std::runtime_error("the installer no longer reads its script");
    done += static_cast<size_t>(n);
  }
}

const std::string& InstallerSession::Errors() {
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(err_, buffer, sizeof buffer)) > 0)
    errors_.append(buffer, static_cast<size_t>(n));
  return errors_;
}

bool InstallerSession::ReadLine(std::string& line) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
  while (true) {
    const size_t end = buffered_.find('\n');
    if (end != std::string::npos) {
      line = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) throw std::runtime_error("no answer from the installer in time");
    pollfd fd = {out_, POLLIN, 0};
    if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[65536];
    const ssize_t n = ::read(out_, buffer, sizeof buffer);
    if (n <= 0) return false;
    buffered_.append(buffer, static_cast<size_t>(n));
  }
}

bool InstallerSession::ReadAnswer(JsonValue& answer) {
  std::string line;
  while (ReadLine(line)) {
    // The automation answers one JSON object a line; anything else is the program's own output.
    if (line.empty() || line[0] != '{') continue;
    answer = JsonValue::Parse(line);
    return true;
  }
  return false;
}

JsonValue InstallerSession::Send(const std::string& command) {
  Write(command + "\n");
  JsonValue answer;
  bool answered = false;
  try {
    answered = ReadAnswer(answer);
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(std::string(error.what()) + " (after \"" + command + "\")");
  }
  if (!answered) {
    throw std::runtime_error("the installer ended before answering \"" + command +
                             "\": " + Errors());
  }
  return answer;
}

void InstallerSession::Do(const std::string& command) {
  const JsonValue answer = Send(command);
  if (!answer.Has("ok")) {
    throw std::runtime_error("\"" + command + "\" answered " +
                             (answer.Has("error") ? answer["error"].str() : std::string("?")));
  }
}

JsonValue InstallerSession::Object(const std::string& name) { return MainObject(Dump(), name); }

std::vector<std::string> InstallerSession::Log() {
  const JsonValue answer = Send("log");
  std::vector<std::string> lines;
  for (size_t i = 0; i < answer["log"].size(); ++i) lines.push_back(answer["log"][i].str());
  return lines;
}

int InstallerSession::Finish() {
  if (exitCode_ != -2) return exitCode_;
  // The script stays open: its end would close the windows, racing the answer being awaited.
  std::string rest;
  while (ReadLine(rest)) {
  }
  ::close(in_);
  in_ = -1;
  int status = 0;
  ::waitpid(pid_, &status, 0);
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  Errors();
  return exitCode_;
}

const JsonValue& MainObject(const JsonValue& dump, const std::string& name) {
  return dump["windows"]["FormMainDbInstall"][name];
}

}  // namespace dbinst::test
