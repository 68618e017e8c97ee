// Running programs from tests (POSIX).
#include "support/process.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/temp_dir.hpp"

namespace qb::test {

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& working_dir) {
  TempDir capture;
  const std::string out_file = capture.File("out");
  const std::string err_file = capture.File("err");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (!working_dir.empty() && chdir(working_dir.c_str()) != 0) _exit(127);
    const int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out_file), ReadBytes(err_file)};
}

}  // namespace qb::test
