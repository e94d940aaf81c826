#include "tools/packer/ToolProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace dbinst {

ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments) {
  ToolRun run;
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return run;
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& each : argv) pointers.push_back(each.data());
  pointers.push_back(nullptr);

  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::dup2(pipeEnds[1], STDERR_FILENO);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    ::execvp(program.c_str(), pointers.data());
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  if (child < 0) {
    ::close(pipeEnds[0]);
    return run;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (got > 0) {
      run.output.append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace dbinst
