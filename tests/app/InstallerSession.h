// The built installer as a real process driven through its automation commands on standard input.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/app/JsonValue.h"

namespace dbinst::test {

class InstallerSession {
 public:
  // Starts the installer headless on the prefix, its script on standard input; environment
  // entries ("NAME=value") add to those or replace them.
  InstallerSession(const std::string& installer, const std::string& prefix,
                   const std::vector<std::string>& environment = {},
                   const std::vector<std::string>& arguments = {});
  ~InstallerSession();
  InstallerSession(const InstallerSession&) = delete;
  InstallerSession& operator=(const InstallerSession&) = delete;

  // Sends one command and returns its answer; throws when none comes within the time limit or
  // the process ends first.
  JsonValue Send(const std::string& command);
  // Sends commands without waiting for their answers.
  void Write(const std::string& commands);
  // The next answer line, or nothing when the process closed its output.
  bool ReadAnswer(JsonValue& answer);
  // Waits for the process to end by itself and gives its exit code (-1 when it was killed);
  // throws when it does not end in time.
  int Finish();

  // Commands that answer {"ok": true}.
  void Do(const std::string& command);
  // An object of the main window from a fresh dump.
  JsonValue Object(const std::string& name);
  JsonValue Dump() { return Send("dump"); }
  std::vector<std::string> Log();
  const std::string& Errors();
  pid_t pid() const { return pid_; }

 private:
  bool ReadLine(std::string& line);
  pid_t pid_ = 0;
  int in_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string buffered_;
  std::string errors_;
  int exitCode_ = -2;
};

// The main window's object in a dump answer.
const JsonValue& MainObject(const JsonValue& dump, const std::string& name);

}  // namespace dbinst::test
