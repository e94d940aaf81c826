#include "tests/support/RunProcess.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace dbinst::test {
namespace {

std::vector<char*> CStrings(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Reads both pipes together so that neither can fill up and stall the child.
void Drain(int outFd, int errFd, ProcessResult& result) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envp;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    bool replaced = false;
    for (const std::string& extra : environment) {
      replaced =
          replaced || variable.substr(0, variable.find('=')) == extra.substr(0, extra.find('='));
    }
    if (!replaced) envp.push_back(variable);
  }
  envp.insert(envp.end(), environment.begin(), environment.end());

  int outPipe[2];
  int errPipe[2];
  if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", 0, 0);
  auto argvPointers = CStrings(argv);
  auto envPointers = CStrings(envp);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argvPointers.data(),
                                    envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  ProcessResult result;
  if (spawned == 0) Drain(outPipe[0], errPipe[0], result);
  ::close(outPipe[0]);
  ::close(errPipe[0]);
  if (spawned != 0) throw std::runtime_error("cannot start " + program + ": " + strerror(spawned));
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace dbinst::test
